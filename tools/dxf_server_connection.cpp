#include "dxf_server_connection.h"

#include "dxf_server.h"
#include "dxf_server_request.h"
#include "http_request_head.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace {

// A silent client holds its connection no longer than this.
constexpr int kReceiveSeconds = 5;

struct StatusText {
    int status;
    const char* phrase;
    const char* reason;  // the body of a refusal
};

constexpr StatusText kStatusTexts[] = {
    {200, "OK", ""},
    {400, "Bad Request", "malformed request"},
    {405, "Method Not Allowed", "only POST is served"},
    {411, "Length Required", "a POST needs a Content-Length or chunked Transfer-Encoding"},
    {413, "Content Too Large", "request body over 64 MiB"},
    {431, "Request Header Fields Too Large", "request head over 16 KiB"},
    {501, "Not Implemented", "only the chunked transfer coding is understood"},
};

// The table holds every status this server sends; its last entry stands for any other.
const StatusText& statusText(int status) {
    return *std::find_if(std::begin(kStatusTexts), std::end(kStatusTexts) - 1,
                         [&](const StatusText& text) { return text.status == status; });
}

// One of this server's own refusals, its reason on one line.
DxfServerReply refusal(int status) {
    return {status, std::string(statusText(status).reason) + "\n", "text/plain"};
}

// The connection's socket and what was received but not used yet.
struct Connection {
    int socket;
    std::string pending;
};

// False once the client has closed, failed or stayed silent too long.
bool receiveMore(Connection& connection) {
    char buffer[64 * 1024];
    const ssize_t received = recv(connection.socket, buffer, sizeof buffer, 0);
    if (received <= 0) return false;
    connection.pending.append(buffer, static_cast<size_t>(received));
    return true;
}

bool sendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

bool sendReply(int socket, const DxfServerReply& reply, bool keepAlive) {
    std::string message = "HTTP/1.1 " + std::to_string(reply.status) + " " + statusText(reply.status).phrase +
                          "\r\nContent-Type: " + reply.contentType +
                          "\r\nContent-Length: " + std::to_string(reply.body.size()) +
                          (reply.status == 405 ? "\r\nAllow: POST" : "") +
                          (keepAlive ? "\r\nConnection: keep-alive\r\n\r\n" : "\r\nConnection: close\r\n\r\n");
    message += reply.body;
    return sendAll(socket, message);
}

// Answers with one of this server's own refusals; always false, as the connection then closes.
bool refuse(const Connection& connection, int status) {
    sendReply(connection.socket, refusal(status), false);
    return false;
}

// Moves size bytes of pending input to the end of body; false when the client stops sending first.
bool receiveInto(Connection& connection, size_t size, std::string& body) {
    while (connection.pending.size() < size)
        if (!receiveMore(connection)) return false;
    body.append(connection.pending, 0, size);
    connection.pending.erase(0, size);
    return true;
}

// One line of chunked framing without its line break; false when none arrives within the head limit.
bool receiveLine(Connection& connection, std::string& line) {
    size_t end;
    while ((end = connection.pending.find('\n')) == std::string::npos)
        if (connection.pending.size() > kMaxRequestHeadBytes || !receiveMore(connection)) return false;
    line.assign(connection.pending, 0, end > 0 && connection.pending[end - 1] == '\r' ? end - 1 : end);
    connection.pending.erase(0, end + 1);
    return true;
}

// Decodes a chunked body into body: 0 when whole, else the status refusing it (400 or 413).
int receiveChunked(Connection& connection, std::string& body) {
    std::string line;
    for (;;) {
        if (!receiveLine(connection, line)) return 400;
        // Hex digits, then extensions after a semicolon, which are ignored.
        size_t size = 0;
        const char* const end = line.data() + line.size();
        const auto [digitsEnd, error] = std::from_chars(line.data(), end, size, 16);
        if (error == std::errc::result_out_of_range) return 413;
        const bool onlyExtensions = digitsEnd == end || std::string_view(";\t ").find(*digitsEnd) != std::string_view::npos;
        if (error != std::errc() || !onlyExtensions) return 400;
        if (size > kMaxRequestBytes - body.size()) return 413;
        if (size == 0) break;
        if (!receiveInto(connection, size, body) || !receiveLine(connection, line) || !line.empty()) return 400;
    }
    // Trailer fields mean nothing here; they end at an empty line.
    for (size_t trailers = 0; trailers <= kMaxRequestHeadBytes && receiveLine(connection, line);
         trailers += line.size() + 2)
        if (line.empty()) return 0;
    return 400;
}

// Reads one request and answers it; false when the connection is to close.
bool answerNextRequest(Connection& connection) {
    size_t headEnd;
    while ((headEnd = requestHeadEnd(connection.pending)) == std::string::npos) {
        if (connection.pending.size() > kMaxRequestHeadBytes) return refuse(connection, 431);
        if (!receiveMore(connection)) return false;
    }
    if (headEnd > kMaxRequestHeadBytes) return refuse(connection, 431);
    const HttpRequestHead head = parseRequestHead(std::string_view(connection.pending).substr(0, headEnd));
    connection.pending.erase(0, headEnd);
    if (head.error != 0) return refuse(connection, head.error);
    const bool post = head.method == "POST";
    if (post && !head.chunked && !head.contentLength) return refuse(connection, 411);
    const size_t length = head.contentLength.value_or(0);
    if (length > kMaxRequestBytes) return refuse(connection, 413);
    // curl waits for this (or a second) before sending a large body.
    const bool bodyExpected = head.chunked || length > 0;
    if (head.expectContinue && bodyExpected && !sendAll(connection.socket, "HTTP/1.1 100 Continue\r\n\r\n"))
        return false;

    std::string body;
    if (head.chunked) {
        if (const int status = receiveChunked(connection, body); status != 0) return refuse(connection, status);
    } else if (!receiveInto(connection, length, body)) {
        return false;
    }
    const DxfServerReply reply = post ? convertServerRequest(body) : refusal(405);
    return sendReply(connection.socket, reply, head.keepAlive) && head.keepAlive;
}

void setTimeout(int socket, int option, int seconds) {
    const timeval timeout{seconds, 0};
    setsockopt(socket, SOL_SOCKET, option, &timeout, sizeof timeout);
}

}  // namespace

void serveDxfConnection(int socket) {
    setTimeout(socket, SO_RCVTIMEO, kReceiveSeconds);
    setTimeout(socket, SO_SNDTIMEO, kReceiveSeconds);
    // Each reply is one write; without this its last segment can wait for a delayed ACK.
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    Connection connection{socket, {}};
    while (answerNextRequest(connection)) {
    }
    // Closing with unread input would reset the connection and could destroy the last reply before
    // the client reads it: end our side first, then discard what still arrives for a moment.
    shutdown(socket, SHUT_WR);
    setTimeout(socket, SO_RCVTIMEO, 1);
    char discarded[64 * 1024];
    for (int reads = 0; reads < 64 && recv(socket, discarded, sizeof discarded, 0) > 0; ++reads) {
    }
    close(socket);
}
