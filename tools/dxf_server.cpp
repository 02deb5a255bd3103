#include "dxf_server.h"

#include "dxf_server_request.h"

namespace {

void refuseMethod(const httplib::Request&, httplib::Response& response) {
    response.status = 405;
    response.set_header("Allow", "POST");
    response.set_content("only POST is served\n", "text/plain");
}

}  // namespace

void configureDxfServer(httplib::Server& server) {
    server.set_payload_max_length(kMaxRequestBytes);
    // Headers and body go out in separate writes; without this each reply waits for a delayed ACK.
    server.set_tcp_nodelay(true);
    server.Post(".*", [](const httplib::Request& request, httplib::Response& response) {
        DxfServerReply reply = convertServerRequest(request.body);
        response.status = reply.status;
        response.set_content(std::move(reply.body), reply.contentType.c_str());
    });
    server.Get(".*", refuseMethod);
    server.Put(".*", refuseMethod);
    server.Patch(".*", refuseMethod);
    server.Delete(".*", refuseMethod);
    server.Options(".*", refuseMethod);
}
