// The reference DXF server: what it draws, what it refuses and why, and its HTTP over loopback.
#include "dxf_server.h"
#include "dxf_server_request.h"
#include "output/dxf_writer.h"
#include "support/loopback_client.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

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
    EXPECT_TRUE(reply.status == 200 && reply.contentType == "application/dxf");
    EXPECT_EQ(reply.body, expected);
    EXPECT_EQ(convertServerRequest(R"({"units":"in","entities":[],"note":")" + std::string(1000, '[') + "\"}").body,
              buildDxf({}, true)) << "brackets inside strings do not count as nesting";

    const std::pair<std::string, const char*> refused[] = {
        {"", "request: malformed JSON"},
        {"[1,2]", "request: expected an object"},
        {kHead + kLine + R"(,{"type":"circle","layer":"CUT_OUTER"}]})", "entities[1].type: unknown entity type"},
        {kHead + R"({"type":"line","layer":"CUT_INNER","start":{"x":"1","y":2},"end":{"x":3,"y":4}}]})",
         "entities[0].start.x: expected a number"},
        {R"({"units":"mm","entities":[],"x":)" + std::string(257, '{') + std::string(257, '}') + "}",
         "request: nested too deeply"},
    };
    for (const auto& [body, reason] : refused) {
        const DxfServerReply refusal = convertServerRequest(body);
        EXPECT_TRUE(refusal.status == 400 && refusal.contentType == "text/plain") << body.substr(0, 80);
        EXPECT_EQ(refusal.body, std::string(reason) + "\n");
    }
    EXPECT_EQ(convertServerRequest(R"({"units":"mm","entities":[],"x":)" + std::string(255, '[') +
                                   std::string(255, ']') + "}").status, 200);
}

TEST(DxfServer, AnswersPostsOfAnyTypeOnOneConnectionAndRefusesWhatItCannotServe) {
    const DxfListener listener = listenForDxfClients("127.0.0.1", 0);
    ASSERT_GE(listener.socket, 0);
    std::thread serving(serveDxfClients, listener.socket);
    // 32 KiB, in 4 KiB chunks; JSON allows the padding.
    std::string body = kHead + kLine, chunked;
    while (body.size() < 31000) body += "," + kLine;
    body += "]}";
    body.resize(0x8000, ' ');
    for (size_t at = 0; at < body.size(); at += 0x1000) chunked += "1000\r\n" + body.substr(at, 0x1000) + "\r\n";
    const std::string dxf = convertServerRequest(body).body, length = "Content-Length: " + std::to_string(body.size());
    const auto post = [](const std::string& header) { return "POST /a/b?c=d HTTP/1.1\r\nHost: x\r\n" + header + "\r\n\r\n"; };
    const auto isDxf = [&](const std::string& reply) {
        return reply.starts_with("HTTP/1.1 200 OK\r\n") && reply.ends_with("\r\n\r\n" + dxf) &&
               reply.find("\r\nContent-Type: application/dxf\r\n") != std::string::npos;
    };
    // One keep-alive connection; a form's content type changes nothing, even far over a form parser's 8 KB.
    const int client = connectToLoopback(listener.port);
    for (const std::string& request : {post("Content-Type: application/json\r\n" + length) + body,
                                       post("Content-Type: application/x-www-form-urlencoded\r\n" + length) + body,
                                       post("Transfer-Encoding: chunked") + chunked + "0\r\n\r\n"})
        EXPECT_TRUE(isDxf(replyTo(client, request))) << request.substr(0, 120);
    EXPECT_EQ(replyTo(client, post("Expect: 100-continue\r\n" + length)), "HTTP/1.1 100 Continue\r\n\r\n");
    EXPECT_TRUE(isDxf(replyTo(client, body)));
    const std::string get = replyTo(client, "GET / HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(get.starts_with("HTTP/1.1 405 ") && get.find("\r\nAllow: POST\r\n") != std::string::npos &&
                get.ends_with("only POST is served\n")) << get;

    const std::pair<std::string, const char*> refused[] = {
        {post("Content-Length: " + std::to_string(kMaxRequestBytes + 1)), "HTTP/1.1 413 "},
        {post("X: y"), "HTTP/1.1 411 "},
        {"POST /\r\nContent-Length: 0\r\n\r\n", "HTTP/1.1 400 "},
        {post("X: " + std::string(kMaxRequestHeadBytes, 'y')), "HTTP/1.1 431 "},
    };
    for (const auto& [request, status] : refused) {
        const int refusedClient = connectToLoopback(listener.port);
        const std::string reply = replyTo(refusedClient, request);
        char byte;
        EXPECT_TRUE(reply.starts_with(status) && recv(refusedClient, &byte, 1, 0) == 0) << status << reply;
        close(refusedClient);
    }
    EXPECT_TRUE(isDxf(replyTo(client, post(length) + body))) << "the first connection, open all along, is served";
    close(client);
    shutdown(listener.socket, SHUT_RDWR);
    serving.join();
    close(listener.socket);
}

TEST(DxfServer, RefusesUnusableArgumentsWithItsUsage) {
    for (const char* args : {"--port abc", "--port 80x", "--port 70000", "--port -1", "--host", "--bogus"}) {
        const int status = std::system(("'" TESSARO_DXF_SERVER "' " + std::string(args) + " 2>/dev/null").c_str());
        EXPECT_EQ(WEXITSTATUS(status), 2) << args;
    }
}

}  // namespace
