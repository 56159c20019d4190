#include <QtQuickTest>

#include <QDesktopServices>
#include <QQmlContext>
#include <QStringList>
#include <QUrl>

#include "app/tidewellsdk.h"
#include "device/tidewelltab.h"
#include "sdk/channel_option.h"
#include "tests/qml/quickrig.h"
#include "tools/testdeviceserver.h"

// What the selection tests read on the test device besides the common rig:
// the body of the last request of a command, the shared flag of a file, a
// group of the user's own, broken answers and a short outage; and the files
// handed to the desktop to open.
// The test device also plays the cloud that resolves received links, so a
// link's session carries the link's own token as in the program.
class SelectionRigApi : public QObject
{
    Q_OBJECT
public:
    QuickRigApi* api = nullptr;

    SelectionRigApi() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~SelectionRigApi() override { QDesktopServices::unsetUrlHandler("file"); }

    Q_INVOKABLE QString lastBody(const QString& command) const
    {
        QString out;
        for (const TestDeviceServer::Request& r : api->server->requests())
            if (r.command == command.toStdString())
                out = QString::fromStdString(r.body);
        return out;
    }
    Q_INVOKABLE bool isShared(const QString& rel) const
    {
        return api->server->isShared(api->server->idForPath(rel.toStdString()));
    }
    Q_INVOKABLE int addGroup(const QString& name) const
    {
        return api->server->addPubGroup(name.toStdString(), "owner");
    }
    Q_INVOKABLE QStringList opened() const { return m_opened; }
    // Broken answers to the next request of command.
    Q_INVOKABLE void failWithMessage(const QString& command, int status, const QString& message)
    {
        api->server->failWithStatus(status, 1, command.toStdString(), message.toStdString());
    }
    // Every answer to command unreadable until the faults are cleared.
    Q_INVOKABLE void answerMalformed(const QString& command) { api->server->answerMalformed(-1, command.toStdString()); }
    // The tab keeps its link for a long while without asking the device.
    Q_INVOKABLE void quiet(QObject* tab)
    {
        if (auto* t = qobject_cast<TidewellTab*>(tab))
            t->setKeepAliveInterval(600000);
    }
    // The device away and back on the same port.
    Q_INVOKABLE void away()
    {
        m_port = api->server->port();
        api->server->stop();
    }
    Q_INVOKABLE bool back() { return m_port == 0 || api->server->start(m_port); }

public slots:
    void open(const QUrl& url) { m_opened.append(url.toLocalFile()); }

private:
    QStringList m_opened;
    int m_port = 0;
};

class SelectionRig : public QuickRig
{
    Q_OBJECT
protected:
    void extend(QQmlContext* ctx) override
    {
        m_api.api = api();
        sdk::cores::model::channel_option opt = api()->root->channelOption();
        opt.cloud_url = "http://127.0.0.1:" + std::to_string(api()->server->port());
        api()->root->setChannelOption(opt);
        ctx->setContextProperty("selectionRig", &m_api);
    }

private:
    SelectionRigApi m_api;
};

QUICK_TEST_MAIN_WITH_SETUP(selection, SelectionRig)

#include "tst_selection.moc"
