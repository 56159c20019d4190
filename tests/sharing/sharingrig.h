#pragma once

#include <memory>
#include <string>

#include <QTemporaryDir>
#include <QtTest>

#include "device/tidewelldevice.h"
#include "sdk/tidewell_network_sdk.h"
#include "tests/serverrig.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"

// A test device of its own, an owner signed in as accessId and connected to
// it, and the owner's device facade: what the sharing models run against.
struct SharingRig : ServerRig
{
    QTemporaryDir dir;
    std::unique_ptr<TestOwner> owner;
    std::unique_ptr<TidewellDevice> dev;

    bool start(const QString& accessId = "ann")
    {
        server.reset(new TestDeviceServer(dir.path().toStdString()));
        if (!server->start())
            return false;
        owner.reset(new TestOwner(accessId));
        // The device tells users apart by the session's account.
        sdk::cores::model::user_info user;
        user.access_id = accessId.toStdString();
        owner->networkSdk()->set_user_info(user);
        if (!owner->connectTo(server->port()))
            return false;
        dev.reset(new TidewellDevice(owner.get()));
        return true;
    }

    ~SharingRig()
    {
        dev.reset();
        owner.reset();
        server.reset();
    }

    bool exists(const std::string& rel) const
    {
        return QFile::exists(QString::fromStdString(server->absolutePath(rel)));
    }
};
