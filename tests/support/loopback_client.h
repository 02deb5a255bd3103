#pragma once
// A raw HTTP/1.1 client over loopback for the reference DXF server's tests and benchmark: requests go
// out byte for byte as written, so tests can send what no library client would.
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <string>

// A connected socket, or -1; a stalled server fails its caller after ten seconds instead of hanging it.
inline int connectToLoopback(int port) {
    const int client = socket(AF_INET, SOCK_STREAM, 0);
    const timeval timeout{10, 0};
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const sockaddr_in address{AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
    return connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? client : -1;
}

// Sends request whole, then reads one reply: its head and as many bytes as its Content-Length says,
// or what came before the server closed.
inline std::string replyTo(int client, const std::string& request) {
    send(client, request.data(), request.size(), MSG_NOSIGNAL);
    std::string reply;
    char buffer[64 * 1024];
    for (;;) {
        const size_t headEnd = reply.find("\r\n\r\n"), field = reply.find("\r\nContent-Length: ");
        if (headEnd != std::string::npos &&
            reply.size() >= headEnd + 4 + (field < headEnd ? std::strtoul(reply.c_str() + field + 18, nullptr, 10) : 0))
            return reply;
        const ssize_t received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0) return reply;
        reply.append(buffer, static_cast<size_t>(received));
    }
}
