#pragma once

#include <memory>
#include <string>

#include <QDir>
#include <QDirIterator>
#include <QObject>
#include <QTemporaryDir>

#include "core/dbhelp.h"
#include "core/downfileinfo.h"
#include "tests/serverrig.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"
#include "transfer/lvdownloadmanager.h"

// Collects what a download manager reports, on the test's thread (the
// manager emits on its own thread; the lambdas run queued here).
class DownRecorder : public QObject
{
public:
    QList<DownFileInfo> starts, progress, finishes, pauses, errors;
    QList<bool> adds;
    QList<QString> notices;
    int rStarts = 0;
    int rStops = 0;

    void attach(LVDownloadManager* m, TestOwner* owner)
    {
        connect(m, &LVDownloadManager::rDownloadStart, this, [this](DownFileInfo f) { starts << f; });
        connect(m, &LVDownloadManager::rDownloadProgress, this, [this](DownFileInfo f) { progress << f; });
        connect(m, &LVDownloadManager::rDownloadFinish, this, [this](DownFileInfo f) { finishes << f; });
        connect(m, &LVDownloadManager::rDownloadPause, this, [this](DownFileInfo f) { pauses << f; });
        connect(m, &LVDownloadManager::rDownloadError, this, [this](DownFileInfo f) { errors << f; });
        connect(m, &LVDownloadManager::rAddDownFiles, this, [this](TW_HANDLE, bool rs) { adds << rs; });
        connect(m, &LVDownloadManager::rAddDownUsbFiles, this, [this](TW_HANDLE, bool rs) { adds << rs; });
        connect(m, &LVDownloadManager::rStart, this, [this] { ++rStarts; });
        connect(m, &LVDownloadManager::rStop, this, [this] { ++rStops; });
        if (owner)
            connect(owner, &TestOwner::sg_notifyStatus, this,
                    [this](int, QString msg, int) { notices << msg; });
    }

    qint64 maxWritten(int fId) const
    {
        qint64 m = 0;
        for (const DownFileInfo& f : progress)
            if (f.fId == fId)
                m = qMax(m, f.fileWriteLen);
        return m;
    }
    DownFileInfo findStart(const QString& name) const
    {
        for (const DownFileInfo& f : starts)
            if (f.fileName == name)
                return f;
        return DownFileInfo();
    }
};

// A device server with its own storage, an owner connected to it over
// loopback and a download manager working for that owner.
struct DownloadRig : ServerRig
{
    QTemporaryDir dir;
    std::unique_ptr<TestOwner> owner;
    std::unique_ptr<LVDownloadManager> mgr;
    std::unique_ptr<DownRecorder> rec;
    QString downDir;

    // Every rig gets its own device unless told otherwise, so the rows of
    // one test never show up in another (they share the database).
    explicit DownloadRig(QString accessId = "acc1", QString deviceId = QString())
    {
        static int counter = 0;
        if (deviceId.isEmpty())
            deviceId = QString("dev%1").arg(++counter);
        server.reset(new TestDeviceServer((dir.path() + "/storage").toStdString()));
        server->setDeviceId(deviceId.toStdString());
        server->start();
        owner.reset(new TestOwner(accessId, deviceId));
        connected = owner->connectTo(server->port());
        downDir = dir.path() + "/Downloads";
        QDir().mkpath(downDir);
        owner->downDir = downDir;
        newManager();
    }
    ~DownloadRig()
    {
        mgr.reset();
        owner.reset();
        server.reset();
    }

    // A fresh manager on the same database (as after a restart).
    void newManager()
    {
        mgr.reset();
        rec.reset(new DownRecorder);
        mgr.reset(new LVDownloadManager);
        mgr->init(owner.get());
        rec->attach(mgr.get(), owner.get());
    }

    // How many requests of one command the device has answered.
    int commandCount(const std::string& command) const
    {
        int n = 0;
        for (const auto& r : server->requests())
            if (r.command == command)
                ++n;
        return n;
    }

    int queued()
    {
        int n = -1;
        db.getDownFileTotalNum(owner->device.accessId, owner->device.deviceId, n);
        return n;
    }
    QList<FinishFileInfo> finished()
    {
        QList<FinishFileInfo> l;
        db.getFinishFileList(1, 1000, owner->device.accessId, owner->device.deviceId, l);
        return l;
    }
    DownFileInfo row(int fId)
    {
        DownFileInfo r;
        db.getDownFileWidthFId(fId, r);
        return r;
    }
    QString tempPathOf(const DownFileInfo& f)
    {
        QString p;
        f.getTempPath(p, mgr->tmpDir());
        return p;
    }

    bool connected = false;
    DBHelp db;
};

// Everything below dir, hidden entries included, as sorted relative paths.
inline QStringList entriesBelow(const QString& dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(dir).relativeFilePath(it.next());
    out.sort();
    return out;
}

// Download requests the device received for one file id.
inline int downloadsOf(TestDeviceServer& s, qint64 id)
{
    int n = 0;
    for (const auto& r : s.requestsFor("/device/download"))
        if (QString::fromStdString(r.query).contains(QString("fileId=%1&").arg(id)))
            ++n;
    return n;
}
