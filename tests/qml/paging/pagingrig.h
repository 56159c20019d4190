#pragma once

#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include "tests/qml/pictureseed.h"
#include "tests/qml/transfer/transferrig.h"

// Long lists on the test device for the paged pages, besides what the
// transfer rig seeds (device tasks, copy failures).
class PagingSeed : public QObject
{
    Q_OBJECT
public:
    QuickRigApi* api = nullptr;

    Q_INVOKABLE int addPictures(const QString& folder, int count, int oneDay, int perDay, int daysAgo)
    {
        return addDevicePictures(api, folder, count, oneDay, perDay, daysAgo);
    }

    // The pictures the device holds in all, as its picture listing counts them.
    Q_INVOKABLE int pictureCount() const
    {
        static const QSet<QString> kinds = {"jpg", "jpeg", "png", "gif", "bmp", "webp", "heic"};
        int n = 0;
        QDirIterator it(api->devicePath(""), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            if (kinds.contains(QFileInfo(it.next()).suffix().toLower()))
                ++n;
        }
        return n;
    }
};

class PagingRig : public TransferRig
{
protected:
    void extend(QQmlContext* context) override
    {
        TransferRig::extend(context);
        m_seed.api = api();
        context->setContextProperty("pagingSeed", &m_seed);
    }

private:
    PagingSeed m_seed;
};
