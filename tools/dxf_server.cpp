#include "dxf_server.h"

#include "dxf_server_connection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

namespace {

int boundPort(int socket) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) return 0;
    return ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6&>(address).sin6_port
                                               : reinterpret_cast<sockaddr_in&>(address).sin_port);
}

}  // namespace

DxfListener listenForDxfClients(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return {};
    DxfListener listener;
    for (const addrinfo* at = found; at && listener.socket < 0; at = at->ai_next) {
        const int candidate = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
        if (candidate < 0) continue;
        // A restarted server takes its port back without waiting out the old connections.
        const int on = 1;
        setsockopt(candidate, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (bind(candidate, at->ai_addr, at->ai_addrlen) == 0 && listen(candidate, SOMAXCONN) == 0)
            listener = {candidate, boundPort(candidate)};
        else
            close(candidate);
    }
    freeaddrinfo(found);
    return listener;
}

void serveDxfClients(int listener) {
    for (;;) {
        const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINVAL || errno == EBADF) return;  // the listener was shut down or closed
            // Out of descriptors or memory for now: give the open connections time to end.
            if (errno != EINTR && errno != ECONNABORTED) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        try {
            std::thread(serveDxfConnection, client).detach();
        } catch (const std::system_error&) {
            close(client);
        }
    }
}
