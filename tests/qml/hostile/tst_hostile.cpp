#include <QtQuickTest>

#include <QBuffer>
#include <QImage>
#include <QMutex>
#include <QQmlContext>

#include "device/tidewelltab.h"
#include "tests/qml/quickrig.h"
#include "tools/testdeviceserver.h"

namespace {

// Warnings that name a probe: an image source taken from a name was loaded.
QMutex g_probeMutex;
QStringList g_probeWarnings;
QtMessageHandler g_previous = nullptr;

void catchProbes(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
{
    if (msg.contains("probe-")) {
        QMutexLocker lock(&g_probeMutex);
        g_probeWarnings << msg;
    }
    if (g_previous)
        g_previous(type, ctx, msg);
}

} // namespace

// What the page tests of hostile names and hostile answers seed and drive:
// names that are markup (their image sources point at the test device and
// at a file of the rig's, so a name drawn as rich text shows as a request
// or a warning), a name that turns text direction, the device going away
// and coming back, and broken answers.
class HostileRigApi : public QObject
{
    Q_OBJECT
public:
    QuickRigApi* api = nullptr;
    static constexpr const char* kGroup = "Hostile group";

    Q_INVOKABLE QString probeUrl(const QString& tag) const
    {
        return QString("http://127.0.0.1:%1/probe-%2.png").arg(api->server->port()).arg(tag);
    }
    Q_INVOKABLE QString markupGroup() const
    {
        return QString("<img src=\"%1\"> <img src=\"file://%2/probe-passwd\"> <b>bold</b> group")
            .arg(probeUrl("group"), api->base);
    }
    Q_INVOKABLE QString markupUser() const
    {
        return QString("<a href=\"%1\">Mallory</a><img src=\"%1\">").arg(probeUrl("user"));
    }
    Q_INVOKABLE QString markupLink() const
    {
        return QString("<img src=\"%1\"><i>Link</i>").arg(probeUrl("link"));
    }
    // File names hold no "/": markup without closing tags.
    Q_INVOKABLE QString markupFile() const { return "<b>bold<b> <u>report<u>.txt"; }
    Q_INVOKABLE QString markupFolder() const { return "<i>folder<i>"; }
    Q_INVOKABLE QString bidiFile() const { return QString("abc") + QChar(0x202E) + "txt.exe"; }
    Q_INVOKABLE QString bidiShown() const { return "abc[U+202E]txt.exe"; }

    // Seeds the names once: a folder of the personal space, a group with
    // its files and a member, a file shared by that member, a link.
    Q_INVOKABLE void seed()
    {
        if (m_seeded)
            return;
        m_seeded = true;
        TestDeviceServer* s = api->server;
        const std::string folder = "Hostile/";
        s->addFile(folder + markupFile().toStdString(), "markup\n");
        s->addFile(folder + bidiFile().toStdString(), "bidi\n");
        s->addFolder(folder + markupFolder().toStdString());
        s->addDeviceUser("mallory", markupUser().toStdString());
        const int g = s->addPubGroup(markupGroup().toStdString(), "owner");
        s->setPubGroupMember(g, "mallory", 1);
        const std::string gDir = "groups/" + std::to_string(g) + "/";
        s->addFile(gDir + markupFile().toStdString(), "group markup\n");
        s->addFile(gDir + bidiFile().toStdString(), "group bidi\n");
        const std::int64_t shared = s->addFile("Mallory/" + markupFile().toStdString(), "shared\n");
        s->shareFile(shared, "mallory", {"owner"});
        s->addShareLink("hostile-link", "", markupLink().toStdString(), "Hostile");
        m_group = g;
    }
    // Names that turn text direction in every place a device or another
    // user names something: a group, a user sharing a file, a link, a
    // picture. Each ends in "[U+202E]txt.exe" once written out.
    Q_INVOKABLE QString bidi(const QString& head) const { return head + QChar(0x202E) + "txt.exe"; }
    Q_INVOKABLE QString bidiWritten(const QString& head) const { return head + "[U+202E]txt.exe"; }
    Q_INVOKABLE QString bidiPicture() const { return QString("pic") + QChar(0x202E) + "gpj.jpg"; }
    Q_INVOKABLE void seedBidi()
    {
        if (m_bidiSeeded)
            return;
        m_bidiSeeded = true;
        TestDeviceServer* s = api->server;
        s->addPubGroup(bidi("G-rtl").toStdString(), "owner");
        s->addDeviceUser("eve", bidi("Eve").toStdString());
        s->shareFile(s->addFile("Eve/notes.txt", "eve\n"), "eve", {"owner"});
        s->addShareLink("bidi-link", "", bidi("Trip").toStdString(), "Hostile");
        QImage img(64, 48, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QByteArray jpeg;
        QBuffer buf(&jpeg);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "JPG");
        s->addFile("Photos/" + bidiPicture().toStdString(), jpeg.toStdString());
    }
    Q_INVOKABLE int group() const { return m_group; }
    Q_INVOKABLE int plainGroup()
    {
        if (!m_plain)
            m_plain = api->server->addPubGroup(kGroup, "owner");
        return m_plain;
    }
    Q_INVOKABLE qint64 addGroupFile(int groupId, const QString& name)
    {
        return api->server->addFile("groups/" + std::to_string(groupId) + "/" + name.toStdString(), "x\n");
    }

    // Requests and warnings a name drawn as markup would cause.
    Q_INVOKABLE int probeRequests() const { return int(api->server->requestsFor("/probe-").size()); }
    Q_INVOKABLE QStringList probeWarnings() const
    {
        QMutexLocker lock(&g_probeMutex);
        return g_probeWarnings;
    }

    // The device away and back on the same port.
    Q_INVOKABLE void away()
    {
        if (m_port == 0)
            m_port = api->server->port();
        api->server->stop();
        m_away = true;
    }
    // Safe to call when the device is there (a failed test leaves it away).
    Q_INVOKABLE bool back()
    {
        if (!m_away)
            return true;
        m_away = false;
        return api->server->start(m_port);
    }
    // A tab that notices a device gone within ms, and reconnects as often.
    Q_INVOKABLE void quickLink(QObject* tab, int ms)
    {
        if (auto* t = qobject_cast<TidewellTab*>(tab)) {
            t->setKeepAliveInterval(ms);
            t->setRetryInterval(ms);
        }
    }

    // Broken answers to the next request of command.
    Q_INVOKABLE void failWithMessage(const QString& command, int status, const QString& message)
    {
        api->server->failWithStatus(status, 1, command.toStdString(), message.toStdString());
    }
    Q_INVOKABLE void answerEmpty(const QString& command) { api->server->answerEmpty(1, command.toStdString()); }
    Q_INVOKABLE void dropAnswer(const QString& command) { api->server->dropAnswer(1, command.toStdString()); }

private:
    bool m_seeded = false;
    bool m_bidiSeeded = false;
    int m_group = 0;
    int m_plain = 0;
    int m_port = 0;
    bool m_away = false;
};

class HostileRig : public QuickRig
{
    Q_OBJECT
public:
    HostileRig() { g_previous = qInstallMessageHandler(catchProbes); }

protected:
    void extend(QQmlContext* ctx) override
    {
        m_hostile.api = api();
        ctx->setContextProperty("hostileRig", &m_hostile);
    }

private:
    HostileRigApi m_hostile;
};

QUICK_TEST_MAIN_WITH_SETUP(hostile, HostileRig)

#include "tst_hostile.moc"
