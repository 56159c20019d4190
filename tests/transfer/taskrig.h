#pragma once

#include <memory>
#include <vector>

#include <json/value.h>

#include "device/tidewelldevice.h"
#include "sdk/proto.h"
#include "tests/testenv.h"
#include "tests/testowner.h"
#include "tools/testdeviceserver.h"

// A device tab's request facade on a test device server, for the models of
// the device's own copy and download tasks.
struct TaskRig
{
    std::unique_ptr<TestDeviceServer> server;
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

    // The "data" of every request of a command, oldest first.
    std::vector<Json::Value> sent(const char* command) const
    {
        std::vector<Json::Value> out;
        for (const auto& r : server->requestsFor(command)) {
            Json::Value v;
            sdk::cores::protocol::proto::json_from_string(r.body, v);
            out.push_back(v["data"]);
        }
        return out;
    }
    int count(const char* command) const { return int(server->requestsFor(command).size()); }

    static std::string failure(int code, const char* message)
    {
        return std::string(R"({"result":)") + std::to_string(code) + R"(,"message":")" + message
            + R"(","data":{}})";
    }
};
