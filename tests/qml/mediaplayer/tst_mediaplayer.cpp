#include <QtQuickTest>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "tests/qml/seededrig.h"
#include "tests/xvfbdisplay.h"

// What the player test needs beyond the shared rig: whether video can be
// drawn here, and copies of the sample media on the device and locally.
class PlayerSeed : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool gl MEMBER gl CONSTANT)
public:
    QuickRigApi* api = nullptr;
    bool gl = false;

    // A copy of a device file, modified daysAgo days before today.
    Q_INVOKABLE bool copyOnDevice(const QString& from, const QString& to, int daysAgo)
    {
        const QString target = api->devicePath(to);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(api->devicePath(from), target))
            return false;
        QFile f(target);
        if (f.open(QIODevice::ReadWrite))
            f.setFileTime(QDateTime(QDate::currentDate().addDays(-daysAgo), QTime(8, 0)),
                          QFileDevice::FileModificationTime);
        api->idForPath(to);
        return true;
    }
    // A device file copied into the local folder; its path.
    Q_INVOKABLE QString copyToLocal(const QString& rel)
    {
        const QString target = api->localDir() + "/" + QFileInfo(rel).fileName();
        QFile::remove(target);
        return QFile::copy(api->devicePath(rel), target) ? target : QString();
    }
};

// Video is drawn through OpenGL: a private X server with Mesa's software
// OpenGL, and the default scene graph in place of the software one.
class PlayerRig : public SeededRig<PlayerSeed>
{
public:
    PlayerRig() : SeededRig("playerSeed")
    {
        m_seed.gl = m_display.start();
        if (m_seed.gl)
            qunsetenv("QT_QUICK_BACKEND");
    }

private:
    XvfbDisplay m_display;
};

QUICK_TEST_MAIN_WITH_SETUP(mediaplayer, PlayerRig)

#include "tst_mediaplayer.moc"
