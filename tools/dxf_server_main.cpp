// tessaro-dxf-server: a reference DXF server for the desktop tool's server export.
#include "dxf_server.h"

#include <charconv>
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

    const DxfListener listener = listenForDxfClients(host, port);
    if (listener.socket < 0) {
        std::fprintf(stderr, "tessaro-dxf-server: cannot listen on %s:%d\n", host.c_str(), port);
        return 1;
    }
    // Scripts that asked for port 0 read the chosen port from this line.
    std::printf("listening on http://%s:%d/\n", host.c_str(), listener.port);
    std::fflush(stdout);
    serveDxfClients(listener.socket);
    return 1;
}
