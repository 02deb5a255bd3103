#pragma once
// An HTTP/1.x request head read from bytes alone, without any socket, so it can be fuzzed.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct HttpRequestHead {
    int error = 0;               // 0, or the status refusing the head: 400 malformed, 501 unknown coding
    std::string method{};        // a token such as "POST"
    bool keepAlive = true;       // HTTP/1.1 unless "Connection: close"; HTTP/1.0 only with "keep-alive"
    bool chunked = false;        // "Transfer-Encoding: chunked"; never together with a Content-Length
    bool expectContinue = false; // "Expect: 100-continue" from an HTTP/1.1 client
    std::optional<uint64_t> contentLength{};  // saturates, so an overflowing length still reads as huge

    // Field by field.
    bool operator==(const HttpRequestHead&) const = default;
};

// Length of the head at the start of received through its empty line (lines end in CRLF or a bare
// LF; empty lines before the request line belong to it), or npos while it is incomplete.
size_t requestHeadEnd(std::string_view received);

// Reads a head as requestHeadEnd delimits it; bytes past its empty line are ignored.
HttpRequestHead parseRequestHead(std::string_view head);
