// Command-line face of the test device server: serves a folder as a device
// (and cloud) on 127.0.0.1 until interrupted.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "tools/testdeviceserver.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

void usage()
{
    std::fprintf(stderr,
                 "usage: tw_testdevice --root DIR [--port N] [--remote-port N] [--token T]\n"
                 "  Serves DIR as the storage of a test device on 127.0.0.1.\n"
                 "  --port 0 (default) picks a free port; the ports are printed.\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::string root;
    int port = 0;
    int remotePort = -1;
    std::string token;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--root" && hasValue) {
            root = argv[++i];
        } else if (arg == "--port" && hasValue) {
            port = std::atoi(argv[++i]);
        } else if (arg == "--remote-port" && hasValue) {
            remotePort = std::atoi(argv[++i]);
        } else if (arg == "--token" && hasValue) {
            token = argv[++i];
        } else {
            usage();
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }
    if (root.empty()) {
        usage();
        return 2;
    }
    TestDeviceServer server(root);
    server.setToken(token);
    if (!server.start(port)) {
        std::fprintf(stderr, "tw_testdevice: cannot listen on port %d\n", port);
        return 1;
    }
    std::printf("port: %d\n", server.port());
    if (remotePort >= 0) {
        if (!server.startRemote(remotePort)) {
            std::fprintf(stderr, "tw_testdevice: cannot listen on remote port %d\n", remotePort);
            return 1;
        }
        std::printf("remote port: %d\n", server.remotePort());
    }
    std::fflush(stdout);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!g_stop)
        ::usleep(100 * 1000);
    server.stop();
    return 0;
}
