#pragma once

#include <memory>
#include <string>

#include "device/tidewelldevice.h"
#include "tests/serverrig.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"

// A device tab's request facade on a test device server, for the models of
// the device's own copy and download tasks.
struct TaskRig : ServerRig
{
    std::unique_ptr<TestOwner> owner;
    std::unique_ptr<TidewellDevice> dev;

    bool start(const QString& name)
    {
        server.reset(new TestDeviceServer((TestEnv::instance()->root() + "/" + name).toStdString()));
        if (!server->start())
            return false;
        owner.reset(new TestOwner);
        if (!owner->connectTo(server->port()))
            return false;
        dev.reset(new TidewellDevice(owner.get()));
        return true;
    }

    ~TaskRig()
    {
        dev.reset();
        owner.reset();
        server.reset();
    }

    static std::string failure(int code, const char* message)
    {
        return std::string(R"({"result":)") + std::to_string(code) + R"(,"message":")" + message
            + R"(","data":{}})";
    }
};
