#pragma once

#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include "tests/qml/pictureseed.h"
#include "tests/qml/transfer/transferrig.h"
#include "tools/samplelibrary.h"
#include "tools/testdeviceserver.h"

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

    // count groups of the signed-in user named <prefix>NNN; the id of the
    // first, whose files and members the tests fill.
    Q_INVOKABLE int addGroups(const QString& prefix, int count)
    {
        int first = 0;
        for (int i = 0; i < count; ++i) {
            const std::string name = QString("%1%2").arg(prefix).arg(1000 + i).toStdString();
            const int id = api->server->addPubGroup(name, SampleLibrary::kOwner);
            if (i == 0)
                first = id;
        }
        return first;
    }
    // count device users u-NNN made members (browsing) of the group.
    Q_INVOKABLE void addMembers(int groupId, int count)
    {
        for (int i = 0; i < count; ++i) {
            const std::string id = QString("u-%1").arg(1000 + i).toStdString();
            api->server->addDeviceUser(id, "User " + std::to_string(1000 + i));
            api->server->setPubGroupMember(groupId, id, 2);
        }
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
