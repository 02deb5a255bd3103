// tessaro-dxf-server: a reference DXF server for the desktop tool's server export.
#include "dxf_server.h"

#include <pthread.h>
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage() {
    std::fputs("usage: tessaro-dxf-server [--host ADDRESS] [--port N]\n"
               "  --host  address to listen on (default 127.0.0.1)\n"
               "  --port  port to listen on, 0 for any free one (default 8080)\n",
               stderr);
    return 2;
}

// Every connection holds a descriptor, and the usual soft limit of 1,024 would refuse connections long
// before the library does.
void raiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
    // Beyond the connections: the listener, the workers' own descriptors, the standard streams.
    const rlim_t wanted = kMaxConnections + 64;
    if (limit.rlim_cur >= wanted) return;
    limit.rlim_cur = std::min(wanted, limit.rlim_max);
    setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1";
    int port = 8080;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--host") == 0 && hasValue) {
            host = argv[++i];
        } else if (std::strcmp(argv[i], "--port") == 0 && hasValue) {
            const char* text = argv[++i];
            const char* end = text + std::strlen(text);
            const auto parsed = std::from_chars(text, end, port);
            if (parsed.ec != std::errc() || parsed.ptr != end || port < 0 || port > 65535) return usage();
        } else {
            return usage();
        }
    }

    raiseOpenFileLimit();
    // Blocked before any thread starts, so that they all leave these signals to sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    DxfServer* server = startDxfServer(host, port);
    if (!server) {
        std::fprintf(stderr, "tessaro-dxf-server: cannot listen on %s:%d\n", host.c_str(), port);
        return 1;
    }
    // Scripts that asked for port 0 read the chosen port from this line.
    std::printf("listening on http://%s:%d/\n", host.c_str(), dxfServerPort(*server));
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    stopDxfServer(server);
    return 0;
}
