// Throughput of the network library against the curl program, on the same
// generated file served by the same test device on the loopback, over
// interleaved rounds.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "bench/benchutil.h"
#include "sdk/tidewell_network_sdk.h"
#include "tools/testdeviceserver.h"

using namespace sdk::cores;
using Clock = std::chrono::steady_clock;

namespace {

// Waits for the final status of one library transfer.
template <class Observer>
class StatusWaiter : public Observer
{
public:
    void on_progress(std::int64_t, std::int64_t) override {}
    void on_status(int status, const std::string& text, int) override
    {
        m_text = text;
        m_status.store(status);
    }
    int wait()
    {
        while (m_status.load() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return m_status.load();
    }
    std::string m_text;

private:
    std::atomic<int> m_status{0};
};
using Waiter = StatusWaiter<tidewell::download_observer>;
using UpWaiter = StatusWaiter<tidewell::upload_observer>;

std::int64_t sizeOf(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

bool run(const std::string& cmd)
{
    return std::system(cmd.c_str()) == 0;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

int main()
{
    const std::int64_t size = benchSizeBytes();

    char tmpl[] = "/tmp/bench_sdk_XXXXXX";
    if (!::mkdtemp(tmpl)) {
        std::fprintf(stderr, "bench_sdk: no temporary folder\n");
        return 1;
    }
    const std::string tmp = tmpl;
    TestDeviceServer server(tmp + "/device");
    const std::int64_t fileId = server.addGeneratedFile("bench.bin", size, false);
    if (fileId < 0 || !server.start()) {
        std::fprintf(stderr, "bench_sdk: server did not start\n");
        return 1;
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(server.port());
    const std::string source = server.absolutePath("bench.bin");

    sdk::plugins::tidewell_network_sdk net;
    model::channel_option opt;
    opt.log = [](int level, const std::string& line) {
        if (level >= 2)
            std::fprintf(stderr, "sdk: %s\n", line.c_str());
    };
    net.init(opt);
    model::device_addr addr;
    addr.lan_host = "127.0.0.1";
    addr.lan_port = server.port();
    addr.token = "bench";
    net.switch_device(addr);
    for (int i = 0; i < 500 && net.link_state() != tidewell::link_lan; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (net.link_state() != tidewell::link_lan) {
        std::fprintf(stderr, "bench_sdk: no link\n");
        return 1;
    }

    const std::string target = tmp + "/down.bin";
    auto sdkDown = [&](int) {
        ::unlink(target.c_str());
        model::down_file_info info;
        info.type = model::down_file_info::kind_device_file;
        info.file_id = static_cast<std::int32_t>(fileId);
        info.mode = 2;
        info.save_path = target;
        Waiter w;
        const auto t0 = Clock::now();
        tidewell::download* task = net.http_download(info, &w);
        if (!task || !task->start() || w.wait() != tidewell::status_download_done || sizeOf(target) != size) {
            std::fprintf(stderr, "bench_sdk: library download failed: %s\n", w.m_text.c_str());
            return -1.0;
        }
        const double secs = seconds(t0, Clock::now());
        net.release_download(task);
        ::unlink(target.c_str());
        return secs;
    };
    auto curlDown = [&](int) {
        ::unlink(target.c_str());
        const auto t0 = Clock::now();
        if (!run("curl -sf -H 'X-Token: bench' -o '" + target + "' '" + base + "/device/download?fileId="
                 + std::to_string(fileId) + "&mode=2'")
            || sizeOf(target) != size) {
            std::fprintf(stderr, "bench_sdk: curl download failed\n");
            return -1.0;
        }
        const double secs = seconds(t0, Clock::now());
        ::unlink(target.c_str());
        return secs;
    };
    auto sdkUp = [&](int round) {
        model::up_file_info up;
        up.file_name = "up_sdk_" + std::to_string(round) + ".bin";
        up.file_size = size;
        up.file_path = source;
        up.client_type = "PC";
        up.app_type = 3;
        up.total_size = size;
        UpWaiter uw;
        const auto t0 = Clock::now();
        tidewell::upload* ut = net.http_upload(up, &uw);
        if (!ut || !ut->start() || uw.wait() != tidewell::status_upload_done) {
            std::fprintf(stderr, "bench_sdk: library upload failed: %s\n", uw.m_text.c_str());
            return -1.0;
        }
        const double secs = seconds(t0, Clock::now());
        net.release_upload(ut);
        ::unlink(server.absolutePath(up.file_name).c_str());
        return secs;
    };
    // Create the device's task, then send the bytes.
    auto curlUp = [&](int round) {
        const std::string name = "up_curl_" + std::to_string(round) + ".bin";
        const std::string answer = tmp + "/create.json";
        const auto t0 = Clock::now();
        if (!run("curl -sf -H 'X-Token: bench' -H 'Content-Type: application/json' -o '" + answer + "' -d '{\"fileName\":\""
                 + name + "\",\"fileSize\":" + std::to_string(size) + ",\"dirId\":0}' '" + base
                 + "/device/upload/create'")) {
            std::fprintf(stderr, "bench_sdk: curl upload create failed\n");
            return -1.0;
        }
        const std::string json = readAll(answer);
        const std::size_t at = json.find("\"taskId\":\"");
        if (at == std::string::npos) {
            std::fprintf(stderr, "bench_sdk: no task id in %s\n", json.c_str());
            return -1.0;
        }
        const std::string taskId = json.substr(at + 10, json.find('"', at + 10) - at - 10);
        if (!run("curl -sf -H 'X-Token: bench' -H 'Expect:' -o /dev/null -T '" + source + "' '" + base
                 + "/device/upload/data?taskId=" + taskId + "&offset=0'")
            || sizeOf(server.absolutePath(name)) != size) {
            std::fprintf(stderr, "bench_sdk: curl upload failed\n");
            return -1.0;
        }
        const double secs = seconds(t0, Clock::now());
        ::unlink(server.absolutePath(name).c_str());
        return secs;
    };
    Rounds down;
    Rounds up;
    if (!interleave("sdk_download", curlDown, sdkDown, down) || !interleave("sdk_upload", curlUp, sdkUp, up))
        return 1;
    server.stop();

    const double mbytes = static_cast<double>(size) / (1024.0 * 1024.0);
    std::printf("sdk_download: %.1f MB/s\n", mbytes / median(down.ours));
    std::printf("curl_download: %.1f MB/s\n", mbytes / median(down.reference));
    printRatio(stdout, "sdk_download", ratioOf(down));
    std::printf("sdk_upload: %.1f MB/s\n", mbytes / median(up.ours));
    std::printf("curl_upload: %.1f MB/s\n", mbytes / median(up.reference));
    printRatio(stdout, "sdk_upload", ratioOf(up));
    std::printf("sdk_peak_rss: %ld MB\n", peakRssMb());
    run("rm -rf '" + tmp + "'");
    return 0;
}
