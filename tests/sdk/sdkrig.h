#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <QtTest>

#include "sdk/tidewell_network_sdk.h"
#include "tools/testdeviceserver.h"

// A library session linked to a test device server on loopback over the
// local and the remote route (link state 2), with a scratch folder for local
// files; the library's transfer tests make one afresh for each test.
class SdkRig
{
public:
    // Failures are failures of the running test (call it from init()).
    void start()
    {
        using namespace sdk::cores;
        m_dir.reset(new QTemporaryDir);
        m_local.reset(new QTemporaryDir);
        server.reset(new TestDeviceServer(m_dir->path().toStdString() + "/device"));
        QVERIFY(server->start());
        QVERIFY(server->startRemote());
        sdk.reset(new sdk::plugins::tidewell_network_sdk);
        model::channel_option opt;
        opt.stall_timeout_s = 2;
        opt.log = [](int, const std::string&) {};
        QVERIFY(sdk->init(opt));
        model::device_addr a;
        a.lan_host = a.remote_host = "127.0.0.1";
        a.lan_port = server->port();
        a.remote_port = server->remotePort();
        a.device_id = "dev-1";
        a.token = "tok";
        QVERIFY(sdk->switch_device(a));
        QTRY_COMPARE(sdk->link_state(), 2);
        server->clearRequests();
    }

    void stop()
    {
        sdk.reset();
        server.reset();
    }

    // Path of name in the scratch folder.
    std::string local(const std::string& name) const
    {
        return m_local->path().toStdString() + "/" + name;
    }

    // Starts the tasks together and waits until each observer saw its one
    // final status; true when every task ended with doneStatus.
    template <class Task, class Rec>
    static bool runTogether(const std::vector<Task*>& tasks,
                            const std::vector<std::unique_ptr<Rec>>& observers, int doneStatus)
    {
        for (Task* t : tasks)
            if (!t->start())
                return false;
        for (const auto& obs : observers) {
            if (!QTest::qWaitFor([&] { return obs->statusCount() == 1; }, 5000))
                return false;
            if (obs->lastStatus().status != doneStatus)
                return false;
        }
        return true;
    }

    // Requests for path that came over the remote route.
    int remoteRequests(const std::string& path) const
    {
        int remote = 0;
        for (const auto& r : server->requestsFor(path))
            remote += r.listener;
        return remote;
    }

    static std::string readFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    static void writeFile(const std::string& path, const std::string& content)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }

    std::unique_ptr<TestDeviceServer> server;
    std::unique_ptr<sdk::plugins::tidewell_network_sdk> sdk;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_local;
};
