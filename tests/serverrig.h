#pragma once

#include <memory>
#include <string>
#include <vector>

#include <json/value.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include "core/twfileinfo.h"
#include "sdk/proto.h"
#include "tools/testdeviceserver.h"

// A test device server and its files as the client sees them; the rigs that
// run the client against a device build on it.
struct ServerRig
{
    std::unique_ptr<TestDeviceServer> server;

    // The listing item of a file (or folder) in the server's storage.
    TwFileInfo item(const std::string& rel, bool isFile = true) const
    {
        TwFileInfo f;
        f.id = server->idForPath(rel);
        f.name = QString::fromStdString(rel).section('/', -1);
        f.isFile = isFile;
        f.filePath = "/" + QString::fromStdString(rel);
        if (isFile)
            f.fileLen = QFileInfo(QString::fromStdString(server->absolutePath(rel))).size();
        return f;
    }

    // The "data" of every request of a command, oldest first.
    std::vector<Json::Value> sent(const std::string& command) const
    {
        std::vector<Json::Value> out;
        for (const auto& r : server->requestsFor(command)) {
            Json::Value v;
            sdk::cores::protocol::proto::json_from_string(r.body, v);
            out.push_back(v["data"]);
        }
        return out;
    }
    int count(const std::string& command) const { return int(server->requestsFor(command).size()); }

    QByteArray serverBytes(const std::string& rel) const
    {
        return bytesOf(QString::fromStdString(server->absolutePath(rel)));
    }
    static QByteArray bytesOf(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};
