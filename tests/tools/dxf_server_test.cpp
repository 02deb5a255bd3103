// The reference DXF server: what it draws, what it refuses and why, and its routes over loopback.
#include "dxf_server.h"
#include "dxf_server_request.h"
#include "output/dxf_writer.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <thread>

namespace {

const std::string kHead = R"({"version":"1.0","units":"mm","entities":[)";
const std::string kLine = R"({"type":"line","layer":"CUT_OUTER","start":{"x":1,"y":2},"end":{"x":3,"y":4}})";

TEST(DxfServerRequest, DrawsWithTheDesktopWriterOrSaysWhyNot) {
    const DxfServerReply reply = convertServerRequest(
        kHead + R"({"type":"line","layer":"CUT_OUTER","start":{"x":10,"y":20.5},"end":{"x":-1e-9,"y":3}},)"
                R"({"type":"arc","layer":"DOGBONES","center":{"x":4,"y":1},"radius":0.5,"startAngle":270,"endAngle":90}]})");
    std::string expected = dxfPreamble(false);
    appendDxfLine(expected, "CUT_OUTER", {10, 20.5}, {-1e-9, 3});
    appendDxfArc(expected, "DOGBONES", {4, 1}, 0.5, 270, 90);
    appendDxfEnd(expected);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentType, "application/dxf");
    EXPECT_EQ(reply.body, expected);
    EXPECT_EQ(convertServerRequest(R"({"units":"in","entities":[],"note":")" + std::string(1000, '[') + "\"}").body,
              buildDxf({}, true)) << "brackets inside strings do not count as nesting";

    const std::pair<std::string, const char*> refused[] = {
        {"", "request: malformed JSON"},
        {kHead + kLine + "]} x", "request: malformed JSON"},
        {"[1,2]", "request: expected an object"},
        {R"({"units":"mm"})", "request: missing member \"entities\""},
        {R"({"units":"cm","entities":[]})", "request.units: expected \"mm\" or \"in\""},
        {R"({"units":"mm","entities":{}})", "request.entities: expected an array"},
        {kHead + "7]}", "entities[0]: expected an object"},
        {kHead + kLine + R"(,{"type":"circle","layer":"CUT_OUTER"}]})", "entities[1].type: unknown entity type"},
        {kHead + R"({"type":"line","layer":"CUT_OUTER\n0\nEOF"}]})", "entities[0].layer: unknown layer"},
        {kHead + R"({"type":"line","layer":"CUT_INNER","start":{"x":"1","y":2},"end":{"x":3,"y":4}}]})",
         "entities[0].start.x: expected a number"},
        {kHead + R"({"type":"arc","layer":"DOGBONES","center":{"x":1,"y":2},"radius":0,"startAngle":0,"endAngle":90}]})",
         "entities[0].radius: must be positive"},
        {R"({"units":"mm","entities":[],"x":)" + std::string(257, '{') + std::string(257, '}') + "}",
         "request: nested too deeply"},
    };
    for (const auto& [body, reason] : refused) {
        const DxfServerReply refusal = convertServerRequest(body);
        EXPECT_EQ(refusal.status, 400) << body.substr(0, 80);
        EXPECT_EQ(refusal.body, std::string(reason) + "\n");
        EXPECT_EQ(refusal.contentType, "text/plain");
    }
    EXPECT_EQ(convertServerRequest(R"({"units":"mm","entities":[],"x":)" + std::string(255, '[') +
                                   std::string(255, ']') + "}").status, 200);
}

TEST(DxfServer, AnswersPostsAtAnyPathAndRefusesOtherMethodsAndHugeBodies) {
    httplib::Server server;
    configureDxfServer(server);
    const int port = server.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    std::thread serving([&] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::yield();
    httplib::Client client("127.0.0.1", port);
    const std::string body = kHead + kLine + "]}";
    for (const char* path : {"/", "/a/b?c=d"}) {
        const auto reply = client.Post(path, body, "application/json");
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, 200);
        EXPECT_EQ(reply->get_header_value("Content-Type"), "application/dxf");
        EXPECT_EQ(reply->body, convertServerRequest(body).body);
    }
    const auto deep = client.Post("/", std::string(500000, '['), "application/json");
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->status, 400);
    const auto get = client.Get("/");
    ASSERT_TRUE(get);
    EXPECT_EQ(get->status, 405);
    EXPECT_EQ(get->get_header_value("Allow"), "POST");
    EXPECT_EQ(client.Put("/x", body, "application/json")->status, 405);
    const auto huge = client.Post("/", std::string(kMaxRequestBytes + 1, ' '), "application/json");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->status, 413);
    EXPECT_EQ(client.Post("/", body, "application/json")->status, 200) << "the server lives on";
    server.stop();
    serving.join();
}

TEST(DxfServer, RefusesUnusableArgumentsWithItsUsage) {
    for (const char* args : {"--port abc", "--port 80x", "--port 70000", "--port -1", "--host", "--bogus"}) {
        const std::string out = commandOutput("'" TESSARO_DXF_SERVER "' " + std::string(args));
        EXPECT_TRUE(out.starts_with("usage: tessaro-dxf-server") && out.ends_with("\nexit 2\n")) << args << ": " << out;
    }
}

}  // namespace
