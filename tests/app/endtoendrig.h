#pragma once

#include <memory>
#include <string>

#include <QDir>
#include <QSignalSpy>

#include "app/tidewellsdk.h"
#include "core/dbhelp.h"
#include "device/tidewelltab.h"
#include "sdk/channel_option.h"
#include "tests/queuedspy.h"
#include "tests/serverrig.h"
#include "tests/testenv.h"
#include "tools/testdeviceserver.h"
#include "transfer/lvdownloadmanager.h"

// The application as QML sees it: a root object, one device tab on a device
// served over loopback, and the download folder the root hands out. Every
// rig uses a device id of its own, so rows of one test never show in another
// (all of them share the application-data store of the process).
struct EndToEndRig : ServerRig
{
    QString base;
    QString downDir;
    QString deviceId;
    std::unique_ptr<TidewellSdk> root;
    std::unique_ptr<TidewellTab> tab;
    std::unique_ptr<QueuedSpy> toasts;

    EndToEndRig()
    {
        static int counter = 0;
        ++counter;
        deviceId = QString("e2e-dev%1").arg(counter);
        base = TestEnv::instance()->root() + QString("/e2e%1").arg(counter);
        downDir = base + "/Downloads";
        QDir().mkpath(downDir);
        server.reset(new TestDeviceServer((base + "/storage").toStdString()));
        server->setDeviceId(deviceId.toStdString());
        root.reset(new TidewellSdk);
        UserInfo u;
        u.accessId = "acc-e2e";
        root->setUserInfo(u);
        root->config()->setValue("LarkVault", "SavePath", downDir);
    }

    ~EndToEndRig()
    {
        toasts.reset();
        tab.reset();
        root.reset();
        server.reset();
    }

    DeviceInfo device() const
    {
        DeviceInfo d;
        d.deviceId = deviceId;
        d.accessId = "acc-e2e";
        d.deviceSn = "QX1E2E";
        d.deviceModel = "QX-1";
        d.lanHost = "127.0.0.1";
        d.lanPort = server->port();
        return d;
    }

    // A fresh tab on the root (as when the device page is opened); quick
    // link checks so a lost device shows within a fraction of a second.
    // stallTimeoutS: how long a transfer may move no byte (0: the default).
    void newTab(int stallTimeoutS = 0)
    {
        toasts.reset();
        tab.reset(new TidewellTab(root.get()));
        sdk::cores::model::channel_option opt;
        opt.probe_timeout_ms = 500;
        if (stallTimeoutS > 0)
            opt.stall_timeout_s = stallTimeoutS;
        tab->setChannelOption(opt);
        tab->setKeepAliveInterval(100);
        tab->setRetryInterval(100);
        tab->initObjects();
        toasts.reset(new QueuedSpy(tab.get(), &TidewellTab::sg_notifyStatus));
    }

    bool connectTab()
    {
        return tab->connect_to(device().toVariantMap());
    }

    QStringList toastTexts() const
    {
        QStringList out;
        for (const auto& args : *toasts)
            out << args.at(1).toString();
        return out;
    }

    // Rows of this device in the store.
    int queuedDownloads()
    {
        int n = -1;
        db.getDownFileTotalNum("acc-e2e", deviceId, n);
        return n;
    }
    DownFileInfo downRow(int fId)
    {
        DownFileInfo r;
        db.getDownFileWidthFId(fId, r);
        return r;
    }
    QList<FinishFileInfo> finished()
    {
        QList<FinishFileInfo> l;
        db.getFinishFileList(1, 1000, "acc-e2e", deviceId, l);
        return l;
    }

    // Download requests of the device file id, oldest first.
    QList<TestDeviceServer::Request> downloadsOf(qint64 id) const
    {
        QList<TestDeviceServer::Request> out;
        for (const auto& r : server->requestsFor("/device/download"))
            if (QString::fromStdString(r.query).contains(QString("fileId=%1&").arg(id)))
                out << r;
        return out;
    }
    // First byte asked for by a Range request ("bytes=N-"), 0 without one.
    static qint64 rangeStart(const TestDeviceServer::Request& r)
    {
        const QString range = QString::fromStdString(r.range);
        if (!range.startsWith("bytes="))
            return 0;
        return range.mid(6).section('-', 0, 0).toLongLong();
    }

    DBHelp db;
};
