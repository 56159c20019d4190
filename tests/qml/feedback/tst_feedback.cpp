#include <QtQuickTest>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>
#include <QUrl>

#include "app/tidewellsdk.h"
#include "tests/qml/seededrig.h"
#include "tests/xvfbdisplay.h"
#include "tools/testdeviceserver.h"

// What the feedback tests need beyond the shared rig: the device taken away
// and brought back on its port, media copies on both sides, whether video
// can be drawn here, and the folder file dialogs start in.
class FeedbackSeed : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool gl MEMBER gl CONSTANT)
public:
    QuickRigApi* api = nullptr;
    bool gl = false;

    Q_INVOKABLE void deviceAway()
    {
        m_port = api->server->port();
        api->server->stop();
    }
    Q_INVOKABLE bool deviceBack() { return api->server->start(m_port); }

    // A device file copied to the local folder; its path.
    Q_INVOKABLE QString copyToLocal(const QString& rel)
    {
        const QString target = api->localDir() + "/" + QFileInfo(rel).fileName();
        QFile::remove(target);
        return QFile::copy(api->devicePath(rel), target) ? target : QString();
    }
    // A copy of a device file under another name, listed by the device.
    Q_INVOKABLE bool copyOnDevice(const QString& from, const QString& to)
    {
        const QString target = api->devicePath(to);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        if (!QFile::copy(api->devicePath(from), target))
            return false;
        api->idForPath(to);
        return true;
    }
    // The device refuses the next count uploads with its own message.
    Q_INVOKABLE void refuseUpload(int code, const QString& message, int count)
    {
        api->server->refuseUpload(code, message.toStdString(), count);
    }
    Q_INVOKABLE qint64 deviceSize(const QString& rel) const { return QFileInfo(api->devicePath(rel)).size(); }
    Q_INVOKABLE QUrl homeFolder() const { return QUrl::fromLocalFile(QDir::homePath()); }
    Q_INVOKABLE QUrl folderUrl(const QString& path) const { return QUrl::fromLocalFile(path); }

private:
    int m_port = 0;
};

// Pages as an English-speaking user meets them (the shipped English
// translation installed); video drawn through OpenGL on a private X server
// when there is one, as in the player tests.
class FeedbackRig : public SeededRig<FeedbackSeed>
{
public:
    FeedbackRig() : SeededRig("feedbackSeed")
    {
        m_seed.gl = m_display.start();
        if (m_seed.gl)
            qunsetenv("QT_QUICK_BACKEND");
    }

protected:
    void extend(QQmlContext* context) override
    {
        SeededRig::extend(context);
        if (m_installed)
            return;
        // The resource is made available by the program's own loader.
        TidewellSdk::loadTranslation(m_english);
        if (m_english.load("tidewell_ui_en", ":/i18n"))
            m_installed = QCoreApplication::installTranslator(&m_english);
    }

private:
    XvfbDisplay m_display;
    QTranslator m_english;
    bool m_installed = false;
};

QUICK_TEST_MAIN_WITH_SETUP(feedback, FeedbackRig)

#include "tst_feedback.moc"
