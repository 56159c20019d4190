#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace httplib { class Server; }

// A plain HTTP file server on loopback: GET of any file under its root, with
// byte ranges, each answer held back by a fixed latency and each connection
// paced to a rate, as the test device does for its transfers. What a user
// would put a media file on to play it with a stock player.
class PlainFileServer
{
public:
    explicit PlainFileServer(const std::string& root);
    ~PlainFileServer();

    bool start();
    void stop();
    int port() const { return m_port; }

    // Both apply to requests arriving afterwards. rate: bytes per second
    // per connection, 0 for no limit.
    void setLatency(int ms) { m_latencyMs = ms; }
    void setRate(std::int64_t bytesPerSecond) { m_rate = bytesPerSecond; }

private:
    std::string m_root;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<int> m_latencyMs{0};
    std::atomic<std::int64_t> m_rate{0};
};
