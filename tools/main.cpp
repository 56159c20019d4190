// Command-line face of the test device server: serves a folder as a device
// (and cloud) on 127.0.0.1 until interrupted.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include <QGuiApplication>

#include "tools/samplelibrary.h"
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
                 "                     [--device-id ID] [--sample] [--exit-with-parent]\n"
                 "  Serves DIR as the storage of a test device on 127.0.0.1.\n"
                 "  --port 0 (default) picks a free port; the ports are printed.\n"
                 "  --sample fills DIR with the sample library (once) and its users,\n"
                 "  group, shares and link; --exit-with-parent ends with the caller.\n"
                 "  Groups, shares, favourites, links and tasks are kept in DIR.\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::string root;
    int port = 0;
    int remotePort = -1;
    std::string token;
    std::string deviceId;
    bool sample = false;
    bool withParent = false;
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
        } else if (arg == "--device-id" && hasValue) {
            deviceId = argv[++i];
        } else if (arg == "--sample") {
            sample = true;
        } else if (arg == "--exit-with-parent") {
            withParent = true;
        } else {
            usage();
            return arg == "--help" || arg == "-h" ? 0 : 2;
        }
    }
    if (root.empty()) {
        usage();
        return 2;
    }
    const pid_t parent = ::getppid();
    TestDeviceServer server(root);
    server.setToken(token);
    // Without the device's token nobody can work out a link's token.
    server.setLinkSecret(token);
    if (!deviceId.empty())
        server.setDeviceId(deviceId);
    // A device keeps its groups, shares, links and tasks over a restart.
    const bool restored = server.setPersistent(true);
    if (sample) {
        // Pictures are drawn with Qt, which needs an application object.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        int qargc = 1;
        QGuiApplication app(qargc, argv);
        if (!SampleLibrary::populate(server, restored))
            std::fprintf(stderr, "tw_testdevice: the sample library is incomplete\n");
    }
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
    while (!g_stop && !(withParent && ::getppid() != parent))
        ::usleep(100 * 1000);
    server.stop();
    return 0;
}
