// Any request body sent to the reference DXF server: it answers 200 with a whole DXF text of finite
// numbers, or 400 with a one-line reason; it never throws or runs away on nesting.
#include "dxf_server_request.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const DxfServerReply reply = convertServerRequest(fuzzText(data, size));
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
    return 0;
}
