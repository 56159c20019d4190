#pragma once

#include <atomic>
#include <memory>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include "core/dbhelp.h"
#include "core/twfolderinfo.h"
#include "core/uploadfileinfo.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"
#include "transfer/lvuploadmanager.h"

// A device on loopback, an owner connected to it and an upload manager of
// that owner, plus helpers to make local files and read what arrived.
struct UploadRig
{
    QTemporaryDir local;
    QTemporaryDir storage;
    std::unique_ptr<TestDeviceServer> server;
    std::unique_ptr<TestOwner> owner;
    std::unique_ptr<LVUploadManager> manager;
    DBHelp db{DBHelp::App};

    explicit UploadRig(const QString& deviceId)
    {
        server.reset(new TestDeviceServer(storage.path().toStdString()));
        owner.reset(new TestOwner("acc1", deviceId));
    }

    bool startLan()
    {
        return server->start() && owner->connectTo(server->port());
    }

    void makeManager()
    {
        manager.reset(new LVUploadManager);
        manager->init(owner.get());
    }

    QString writeFile(const QString& rel, const QByteArray& data)
    {
        const QString path = local.filePath(rel);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return QString();
        f.write(data);
        f.close();
        return path;
    }

    static QByteArray bytes(int n, quint32 seed = 1)
    {
        QByteArray b(n, Qt::Uninitialized);
        quint32 x = seed * 2654435761u + 1;
        for (int i = 0; i < n; ++i) {
            x = x * 1664525u + 1013904223u;
            b[i] = char(x >> 24);
        }
        return b;
    }

    static QString md5(const QByteArray& data)
    {
        return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
    }

    QByteArray stored(const QString& rel) const
    {
        QFile f(QDir(storage.path()).filePath(rel));
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray("<missing>");
        return f.readAll();
    }

    bool storedExists(const QString& rel) const
    {
        return QFileInfo::exists(QDir(storage.path()).filePath(rel));
    }

    void add(const QStringList& paths, const TwFolderInfo& folder = TwFolderInfo(),
             bool force = false)
    {
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        manager->addUpFiles(folder, urls, force);
    }

    QList<UploadFileInfo> queued()
    {
        QList<UploadFileInfo> list;
        db.getUploadFileList(1, 1000, owner->device.accessId, owner->device.deviceId, list);
        return list;
    }

    QList<FinishFileInfo> finished()
    {
        QList<FinishFileInfo> list;
        db.getFinishFileList(1, 1000, owner->device.accessId, owner->device.deviceId, list);
        return list;
    }

    // Bodies of the upload-creation requests, oldest first.
    QList<QJsonObject> creates()
    {
        QList<QJsonObject> out;
        for (const auto& r : server->requestsFor("/device/upload/create"))
            out << QJsonDocument::fromJson(QByteArray::fromStdString(r.body)).object();
        return out;
    }

    QList<QJsonObject> createsFor(const QString& name)
    {
        QList<QJsonObject> out;
        for (const QJsonObject& o : creates()) {
            const QJsonObject d = o.contains("fileName") ? o : o.value("data").toObject();
            if (d.value("fileName").toString() == name)
                out << d;
        }
        return out;
    }

    int commandCount(const std::string& command)
    {
        int n = 0;
        for (const auto& r : server->requests())
            if (r.command == command)
                ++n;
        return n;
    }

    QList<QJsonObject> commandBodies(const std::string& command)
    {
        QList<QJsonObject> out;
        for (const auto& r : server->requests())
            if (r.command == command) {
                QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(r.body)).object();
                out << (o.contains("data") ? o.value("data").toObject() : o);
            }
        return out;
    }
};
