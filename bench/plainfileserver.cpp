#include "bench/plainfileserver.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <httplib.h>

PlainFileServer::PlainFileServer(const std::string& root) : m_root(root), m_server(new httplib::Server) {}

PlainFileServer::~PlainFileServer()
{
    stop();
}

bool PlainFileServer::start()
{
    m_server->set_tcp_nodelay(true);
    m_server->Get(R"(/(.*))", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string rel = req.matches[1];
        if (rel.find("..") != std::string::npos) {
            res.status = 403;
            return;
        }
        if (const int ms = m_latencyMs.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        const int fd = ::open((m_root + "/" + rel).c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st;
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            if (fd >= 0)
                ::close(fd);
            res.status = 404;
            return;
        }
        const std::int64_t size = st.st_size;
        std::int64_t first = 0;
        std::int64_t last = size - 1;
        // Ranges are answered here, whole or open-ended.
        const_cast<httplib::Request&>(req).ranges.clear();
        const std::string range = req.get_header_value("Range");
        if (!range.empty()) {
            long long a = -1;
            long long b = -1;
            const int n = std::sscanf(range.c_str(), "bytes=%lld-%lld", &a, &b);
            if (n < 1 || a < 0 || a >= size) {
                ::close(fd);
                res.status = 416;
                res.set_header("Content-Range", "bytes */" + std::to_string(size));
                return;
            }
            first = a;
            if (n == 2 && b >= a && b < size)
                last = b;
            res.status = 206;
            res.set_header("Content-Range", "bytes " + std::to_string(first) + "-" + std::to_string(last)
                                                + "/" + std::to_string(size));
        }
        res.set_header("Accept-Ranges", "bytes");
        const std::int64_t rate = m_rate.load();
        const auto begun = std::chrono::steady_clock::now();
        auto fdHolder = std::shared_ptr<int>(new int(fd), [](int* p) {
            ::close(*p);
            delete p;
        });
        res.set_content_provider(
            static_cast<std::size_t>(last - first + 1), "application/octet-stream",
            [fdHolder, first, rate, begun](std::size_t offset, std::size_t want, httplib::DataSink& sink) {
                // Chunks and pacing as the test device sends them.
                std::size_t n = std::min<std::size_t>(want, 256 * 1024);
                if (rate > 0)
                    n = std::min<std::size_t>(n, std::size_t(std::max<std::int64_t>(1024, rate / 20)));
                std::vector<char> buf(n);
                const ssize_t got = ::pread(*fdHolder, buf.data(), n, off_t(first + std::int64_t(offset)));
                if (got <= 0 || !sink.write(buf.data(), std::size_t(got)))
                    return false;
                if (rate > 0) {
                    const std::int64_t sent = std::int64_t(offset) + got;
                    const auto due = begun + std::chrono::microseconds(sent * 1000000 / rate);
                    std::this_thread::sleep_until(due);
                }
                return true;
            });
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        return false;
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    return true;
}

void PlainFileServer::stop()
{
    if (!m_thread.joinable())
        return;
    m_server->stop();
    m_thread.join();
}
