#include "dxf_server.h"

#include "dxf_server_request.h"

#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace {

using Clock = std::chrono::steady_clock;

// An open connection's socket and when the head of its next request is due.
struct HeadClock {
    int socket;
    Clock::time_point due;  // max while a request is being answered
};

}  // namespace

struct DxfServer {
    MHD_Daemon* daemon = nullptr;
    int port = 0;
    std::mutex mutex;  // guards what follows
    std::unordered_map<MHD_Connection*, HeadClock> clocks;
    bool stopping = false;
    std::condition_variable stopped;
    std::thread watchdog;
};

namespace {

// One whole line on standard error, so lines from several workers never interleave.
void logLine(const std::string& text) {
    const std::string line = "tessaro-dxf-server: " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// The library's own refusals and troubles, one line each.
void logLibraryMessage(void*, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    std::string message = text;
    while (!message.empty() && message.back() == '\n') message.pop_back();
    for (char& c : message)
        if (c == '\n') c = ' ';
    logLine(message);
}

int boundPort(int socket) {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) return 0;
    return ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6&>(address).sin6_port
                                               : reinterpret_cast<sockaddr_in&>(address).sin_port);
}

// A listening socket at host and port, or -1; the library takes it over.
int listenAt(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
    int listener = -1;
    for (const addrinfo* at = found; at && listener < 0; at = at->ai_next) {
        // Non-blocking: every worker waits on it, and only one of them gets each connection.
        const int candidate = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, at->ai_protocol);
        if (candidate < 0) continue;
        // A restarted server takes its port back without waiting out the old connections.
        const int on = 1;
        setsockopt(candidate, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (bind(candidate, at->ai_addr, at->ai_addrlen) == 0 && listen(candidate, SOMAXCONN) == 0)
            listener = candidate;
        else
            close(candidate);
    }
    freeaddrinfo(found);
    return listener;
}

// Queues reply; a refusal is logged with its reason.
MHD_Result sendReply(MHD_Connection* connection, const DxfServerReply& reply) {
    if (reply.status != 200) logLine(std::to_string(reply.status) + ": " + reply.body.substr(0, reply.body.size() - 1));
    MHD_Response* response = MHD_create_response_from_buffer(reply.body.size(), const_cast<char*>(reply.body.data()),
                                                             MHD_RESPMEM_MUST_COPY);
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
    if (reply.status == MHD_HTTP_METHOD_NOT_ALLOWED) MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, "POST");
    const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
    MHD_destroy_response(response);
    return queued;
}

const std::string kTooLargeReason = "request body over " + std::to_string(kMaxRequestBytes >> 20) + " MiB";
const DxfServerReply kNotPost{MHD_HTTP_METHOD_NOT_ALLOWED, "only POST is served\n", "text/plain"};
const DxfServerReply kTooLarge{MHD_HTTP_CONTENT_TOO_LARGE, kTooLargeReason + "\n", "text/plain"};

void setHeadDue(DxfServer& server, MHD_Connection* connection, Clock::time_point due) {
    std::lock_guard lock(server.mutex);
    const auto clock = server.clocks.find(connection);
    if (clock != server.clocks.end()) clock->second.due = due;
}

// Called once the head is whole, then with each piece of the body, then once more with none.
// *context holds the body read so far.
MHD_Result answer(void* cls, MHD_Connection* connection, const char*, const char* method, const char*,
                  const char* upload, size_t* uploadSize, void** context) {
    auto* body = static_cast<std::string*>(*context);
    if (!body) {
        setHeadDue(*static_cast<DxfServer*>(cls), connection, Clock::time_point::max());
        if (std::strcmp(method, MHD_HTTP_METHOD_POST) != 0) return sendReply(connection, kNotPost);
        const char* length = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
        // Refused before the client sends it; a length past 64 bits saturates.
        if (length && std::strtoull(length, nullptr, 10) > kMaxRequestBytes) return sendReply(connection, kTooLarge);
        *context = new std::string;
        return MHD_YES;
    }
    if (*uploadSize == 0) return sendReply(connection, convertServerRequest(*body));
    if (*uploadSize > kMaxRequestBytes - body->size()) {
        // Only a chunked body comes without its length, and the library takes no reply in mid-body.
        logLine("chunked " + kTooLargeReason + ": connection closed");
        return MHD_NO;
    }
    body->append(upload, *uploadSize);
    *uploadSize = 0;
    return MHD_YES;
}

// The request is answered or abandoned: the next head's clock starts.
void endRequest(void* cls, MHD_Connection* connection, void** context, MHD_RequestTerminationCode) {
    delete static_cast<std::string*>(*context);
    *context = nullptr;
    setHeadDue(*static_cast<DxfServer*>(cls), connection, Clock::now() + std::chrono::seconds(kHeadSeconds));
}

void noteConnection(void* cls, MHD_Connection* connection, void**, MHD_ConnectionNotificationCode code) {
    auto& server = *static_cast<DxfServer*>(cls);
    std::lock_guard lock(server.mutex);
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
        const int socket = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd;
        server.clocks[connection] = {socket, Clock::now() + std::chrono::seconds(kHeadSeconds)};
    } else {
        server.clocks.erase(connection);
    }
}

// The library's time-out restarts at every byte, so a head trickling in a byte at a time would hold
// its connection for ever: four times a second, connections whose head is late are shut down, and the
// library then closes them as it does any connection its client ended.
void watchHeads(DxfServer& server) {
    std::unique_lock lock(server.mutex);
    while (!server.stopped.wait_for(lock, std::chrono::milliseconds(250), [&] { return server.stopping; })) {
        const Clock::time_point now = Clock::now();
        for (auto& [connection, clock] : server.clocks) {
            if (clock.due > now) continue;
            shutdown(clock.socket, SHUT_RDWR);
            clock.due = Clock::time_point::max();
            logLine("request head not whole within " + std::to_string(kHeadSeconds) + " s: connection closed");
        }
    }
}

}  // namespace

DxfServer* startDxfServer(const std::string& host, int port) {
    const int listener = listenAt(host, port);
    if (listener < 0) return nullptr;
    auto* server = new DxfServer;
    server->port = boundPort(listener);
    server->daemon = MHD_start_daemon(
        MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ERROR_LOG, 0, nullptr, nullptr, answer, server,
        MHD_OPTION_EXTERNAL_LOGGER, logLibraryMessage, nullptr,
        MHD_OPTION_LISTEN_SOCKET, listener,
        MHD_OPTION_THREAD_POOL_SIZE, kWorkerThreads,
        MHD_OPTION_CONNECTION_LIMIT, kMaxConnections,
        MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds,
        MHD_OPTION_NOTIFY_CONNECTION, noteConnection, server,
        MHD_OPTION_NOTIFY_COMPLETED, endRequest, server,
        MHD_OPTION_END);
    if (!server->daemon) {
        close(listener);
        delete server;
        return nullptr;
    }
    server->watchdog = std::thread(watchHeads, std::ref(*server));
    return server;
}

int dxfServerPort(const DxfServer& server) { return server.port; }

void stopDxfServer(DxfServer* server) {
    MHD_stop_daemon(server->daemon);
    {
        std::lock_guard lock(server->mutex);
        server->stopping = true;
    }
    server->stopped.notify_one();
    server->watchdog.join();
    delete server;
}
