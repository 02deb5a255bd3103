// Any bytes as the start of a request to the reference DXF server: finding the head's end and reading
// it never throw or read past the bytes, what follows the head changes nothing, and a head taken as
// sound has a token for its method and one framing at most.
#include "fuzz_check.h"
#include "http_request_head.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
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
