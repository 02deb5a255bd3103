// Any bytes sent to the reference DXF server. As a body: it answers 200 with a whole DXF text of
// finite numbers, or 400 with a one-line reason, and never throws or runs away on nesting. As the
// start of a request: finding the head's end and reading it never throw or read past the bytes, what
// follows the head changes nothing, and a head taken as sound has a token for its method and one
// framing at most.
#include "dxf_server_request.h"
#include "fuzz_check.h"
#include "http_request_head.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DxfServerReply reply = convertServerRequest(std::string(bytes));
    FUZZ_CHECK(!reply.body.empty() && reply.body.back() == '\n');
    if (reply.status == 200) {
        FUZZ_CHECK(reply.contentType == "application/dxf");
        FUZZ_CHECK(reply.body.starts_with("0\nSECTION\n2\nHEADER\n") && reply.body.ends_with("0\nENDSEC\n0\nEOF\n"));
        FUZZ_CHECK(reply.body.find("nan") == std::string::npos && reply.body.find("inf") == std::string::npos);
        FUZZ_CHECK(reply.body.find('\r') == std::string::npos);
    } else {
        FUZZ_CHECK(reply.status == 400 && reply.contentType == "text/plain");
        FUZZ_CHECK(reply.body.find('\n') == reply.body.size() - 1);
    }

    const size_t end = requestHeadEnd(bytes);
    const HttpRequestHead head = parseRequestHead(bytes.substr(0, end));
    if (end != std::string_view::npos) {
        FUZZ_CHECK(end <= size && bytes.substr(0, end).ends_with('\n'));
        FUZZ_CHECK(parseRequestHead(bytes) == head);
    }
    if (head.error != 0) {
        FUZZ_CHECK(head.error == 400 || head.error == 501);
        return 0;
    }
    FUZZ_CHECK(!head.method.empty() && std::all_of(head.method.begin(), head.method.end(), [](char c) {
        return c > ' ' && c < 0x7f && std::string_view("\"(),/:;<=>?@[\\]{}").find(c) == std::string_view::npos;
    }));
    FUZZ_CHECK(!(head.chunked && head.contentLength));
    return 0;
}
