#include "dxf_server.h"
#include "dxf_server_request.h"

#include "output/dxf_text.h"
#include "output/dxf_writer.h"
#include "output/server_request.h"
#include "output/test_pieces.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <string>
#include <thread>

namespace {

const char* kHead = R"({"version":"1.0","units":"mm","entities":[)";

TEST(ConvertServerRequest, WritesTheDesktopHeaderAndEntities) {
    const DxfServerReply reply = convertServerRequest(
        std::string(kHead) +
        R"({"type":"line","layer":"CUT_OUTER","start":{"x":10,"y":20.5},"end":{"x":-1e-9,"y":3}},)"
        R"({"type":"arc","layer":"DOGBONES","center":{"x":4,"y":1},"radius":1.5875,"startAngle":270,"endAngle":90}]})");
    ASSERT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(reply.contentType, "application/dxf");
    std::string expected = dxfPreamble(false);
    appendDxfLine(expected, "CUT_OUTER", {10, 20.5}, {-1e-9, 3});
    appendDxfArc(expected, "DOGBONES", {4, 1}, 1.5875, 270, 90);
    appendDxfEnd(expected);
    EXPECT_EQ(reply.body, expected);
    EXPECT_EQ(convertServerRequest(R"({"units":"in","entities":[]})").body, buildDxf({}, true));
}

// The server's DXF for a design's request matches the desktop writer to the request's three decimals.
TEST(ConvertServerRequest, AgreesWithTheDesktopWriterForGeneratedDesigns) {
    auto designs = sampleDesigns();
    designs.emplace_back("heavy", heavyDesign());
    for (const auto& [name, parameters] : designs) {
        const PieceSet pieces = generatePieces(parameters);
        const DxfServerReply reply = convertServerRequest(buildServerRequestJson(pieces));
        ASSERT_EQ(reply.status, 200) << name << ": " << reply.body;
        EXPECT_EQ(dxfDifference(reply.body, buildDxf(pieces, false), 0.0005 + 1e-9), "") << name;
    }
}

TEST(ConvertServerRequest, RefusesWhatItCannotDraw) {
    const std::string line = R"({"type":"line","layer":"CUT_OUTER","start":{"x":1,"y":2},"end":{"x":3,"y":4}})";
    struct Case {
        const char* what;
        std::string body;
        const char* reason;
    };
    const Case cases[] = {
        {"empty body", "", "request: malformed JSON"},
        {"truncated", std::string(kHead) + line.substr(0, 40), "request: malformed JSON"},
        {"trailing garbage", std::string(kHead) + line + "]} x", "request: malformed JSON"},
        {"not an object", "[1,2]", "request: expected an object"},
        {"no entities", R"({"units":"mm"})", "request: missing member \"entities\""},
        {"no units", R"({"entities":[]})", "request: missing member \"units\""},
        {"odd units", R"({"units":"cm","entities":[]})", "request.units: expected \"mm\" or \"in\""},
        {"entities not a list", R"({"units":"mm","entities":{}})", "request.entities: expected an array"},
        {"entity not an object", std::string(kHead) + "7]}", "entities[0]: expected an object"},
        {"unknown type", std::string(kHead) + line + R"(,{"type":"circle","layer":"CUT_OUTER"}]})",
         "entities[1].type: unknown entity type"},
        {"type of wrong kind", std::string(kHead) + R"({"type":1,"layer":"CUT_OUTER"}]})",
         "entities[0].type: expected a string"},
        {"unknown layer", std::string(kHead) + R"({"type":"line","layer":"CUT_OUTER\n0\nEOF"}]})",
         "entities[0].layer: unknown layer"},
        {"missing end", std::string(kHead) + R"({"type":"line","layer":"CUT_INNER","start":{"x":1,"y":2}}]})",
         "entities[0]: missing member \"end\""},
        {"coordinate as text", std::string(kHead) + R"({"type":"line","layer":"CUT_INNER","start":{"x":"1","y":2},"end":{"x":3,"y":4}}]})",
         "entities[0].start.x: expected a number"},
        {"point as a list", std::string(kHead) + R"({"type":"line","layer":"CUT_INNER","start":[1,2],"end":{"x":3,"y":4}}]})",
         "entities[0].start: expected an object"},
        {"overflowing number", std::string(kHead) + R"({"type":"line","layer":"CUT_INNER","start":{"x":1e999,"y":2},"end":{"x":3,"y":4}}]})",
         "request: malformed JSON"},
        {"flat arc", std::string(kHead) + R"({"type":"arc","layer":"DOGBONES","center":{"x":1,"y":2},"radius":0,"startAngle":0,"endAngle":90}]})",
         "entities[0].radius: must be positive"},
        {"deep nesting", std::string(100000, '[') + std::string(100000, ']'), "request: nested too deeply"},
        {"deep nesting inside a member", R"({"units":"mm","entities":[],"x":)" + std::string(300, '{'),
         "request: nested too deeply"},
    };
    for (const Case& c : cases) {
        const DxfServerReply reply = convertServerRequest(c.body);
        EXPECT_EQ(reply.status, 400) << c.what;
        EXPECT_EQ(reply.body, std::string(c.reason) + "\n") << c.what;
        EXPECT_EQ(reply.contentType, "text/plain") << c.what;
    }
    // Brackets inside strings do not count towards the nesting.
    const std::string quoted = R"({"units":"mm","entities":[],"note":")" + std::string(1000, '[') + "\"}";
    EXPECT_EQ(convertServerRequest(quoted).status, 200);
}

// The routes served for real on loopback.
class DxfServerTest : public testing::Test {
protected:
    void SetUp() override {
        configureDxfServer(server_);
        port_ = server_.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port_, 0);
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::yield();
    }
    void TearDown() override {
        server_.stop();
        if (thread_.joinable()) thread_.join();
    }
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

TEST_F(DxfServerTest, AnswersPostsAtAnyPathAndRefusesOtherMethods) {
    httplib::Client client("127.0.0.1", port_);
    const std::string body = buildServerRequestJson({bulgedPiece(L"Atras", 1, 2)});
    for (const char* path : {"/", "/dxf.php", "/a/b?c=d"}) {
        const auto reply = client.Post(path, body, "application/json");
        ASSERT_TRUE(reply) << path;
        EXPECT_EQ(reply->status, 200) << path;
        EXPECT_EQ(reply->get_header_value("Content-Type"), "application/dxf");
        EXPECT_EQ(reply->body, buildDxf({bulgedPiece(L"Atras", 1, 2)}, false));
    }
    const auto get = client.Get("/");
    ASSERT_TRUE(get);
    EXPECT_EQ(get->status, 405);
    const auto put = client.Put("/x", body, "application/json");
    ASSERT_TRUE(put);
    EXPECT_EQ(put->status, 405);
}

TEST_F(DxfServerTest, HostileBodiesGetClientErrorsAndTheServerLivesOn) {
    httplib::Client client("127.0.0.1", port_);
    const std::string bodies[] = {
        std::string(500000, '['),
        std::string(kHead) + std::string(200000, '{'),
        R"({"units":"mm","entities":[)" + std::string(2000000, '1').insert(0, "[") + "]]}",
        std::string("{\"units\":\"mm\",\"entities\":[") + std::string(1, '\0') + "]}",
        "\xff\xfe{]",
    };
    for (const std::string& body : bodies) {
        const auto reply = client.Post("/", body, "application/json");
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, 400);
        EXPECT_EQ(reply->body.find('\n'), reply->body.size() - 1);
    }
    const auto huge = client.Post("/", std::string(kMaxRequestBytes + 1, ' '), "application/json");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->status, 413);
    const auto after = client.Post("/", R"({"units":"mm","entities":[]})", "application/json");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->status, 200);
}

}  // namespace
