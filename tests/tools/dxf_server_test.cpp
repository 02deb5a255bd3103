// The reference DXF server: what it draws, what it refuses and why, and the program over loopback: its
// routes, first line, log and stop signals. HTTP itself is the library's and not tested again here.
#include "dxf_server.h"
#include "dxf_server_request.h"
#include "output/dxf_writer.h"
#include "support/loopback_client.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

const std::string kHead = R"({"version":"1.0","units":"mm","entities":[)";
const std::string kLine = R"({"type":"line","layer":"CUT_OUTER","start":{"x":1,"y":2},"end":{"x":3,"y":4}})";

TEST(DxfServerRequest, DrawsWithTheDesktopWriterOrSaysWhyNot) {
    const DxfServerReply reply = convertServerRequest(
        kHead + R"({"type":"line","layer":"CUT_OUTER","start":{"x":10,"y":20.5},"end":{"x":-1e-9,"y":3}},)"
                R"({"type":"arc","layer":"DOGBONES","center":{"x":4,"y":1},"radius":0.5,)"
                R"("startAngle":270,"endAngle":90}]})");
    std::string expected = dxfPreamble(false);
    appendDxfLine(expected, "CUT_OUTER", {10, 20.5}, {-1e-9, 3});
    appendDxfArc(expected, "DOGBONES", {4, 1}, 0.5, 270, 90);
    appendDxfEnd(expected);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.contentType, "application/dxf");
    EXPECT_EQ(reply.body, expected);
    const std::string bracketsInAString = R"({"units":"in","entities":[],"note":")" + std::string(1000, '[') + "\"}";
    EXPECT_EQ(convertServerRequest(bracketsInAString).body, buildDxf({}, true));
    const std::string deepest = R"({"units":"mm","entities":[],"x":)" + std::string(255, '[') + std::string(255, ']');
    EXPECT_EQ(convertServerRequest(deepest + "}").status, 200);

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
        EXPECT_EQ(refusal.status, 400) << reason;
        EXPECT_EQ(refusal.contentType, "text/plain") << reason;
        EXPECT_EQ(refusal.body, std::string(reason) + "\n");
    }
}

// The server program on a free port of 127.0.0.1, and its standard error.
struct ServerProcess {
    pid_t pid = -1;
    std::string firstLine;
    int port = 0;
    int errors = -1;
};

ServerProcess startServer() {
    int output[2];
    int errors[2];
    if (pipe(output) != 0 || pipe(errors) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(output[1], STDOUT_FILENO);
        dup2(errors[1], STDERR_FILENO);
        execl(TESSARO_DXF_SERVER, TESSARO_DXF_SERVER, "--host", "127.0.0.1", "--port", "0", nullptr);
        _exit(127);
    }
    close(output[1]);
    close(errors[1]);
    FILE* lines = fdopen(output[0], "r");
    char first[128] = "";
    std::fgets(first, sizeof first, lines);
    std::fclose(lines);
    int port = 0;
    std::sscanf(first, "listening on http://127.0.0.1:%d/", &port);
    return {pid, first, port, errors[0]};
}

// Sends signal and waits at most ten seconds for the server to end: its exit status, -1 if it did not.
int stopServer(const ServerProcess& server, int signal) {
    kill(server.pid, signal);
    int status = 0;
    for (int waits = 0; waitpid(server.pid, &status, WNOHANG) == 0; ++waits) {
        if (waits == 100) kill(server.pid, SIGKILL);
        usleep(100'000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readAll(int descriptor) {
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(descriptor, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
    close(descriptor);
    return text;
}

// The reply to request on a connection of its own.
std::string ask(int port, const std::string& request) {
    const int client = connectToLoopback(port);
    const std::string reply = replyTo(client, request);
    close(client);
    return reply;
}

std::string post(const std::string& target, const std::string& body) {
    return "POST " + target + " HTTP/1.1\r\nHost: x\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(DxfServerProgram, AnswersPostsAtAnyPathAndLogsEachRefusalOnOneLine) {
    const ServerProcess server = startServer();
    EXPECT_GT(server.port, 0) << server.firstLine;
    EXPECT_EQ(server.firstLine, "listening on http://127.0.0.1:" + std::to_string(server.port) + "/\n");

    const std::string body = kHead + kLine + "]}";
    const std::string reply = ask(server.port, post("/a/b?c=d", body));
    EXPECT_TRUE(reply.starts_with("HTTP/1.1 200 ")) << reply;
    EXPECT_NE(reply.find("\r\nContent-Type: application/dxf\r\n"), std::string::npos) << reply;
    EXPECT_TRUE(reply.ends_with("\r\n\r\n" + convertServerRequest(body).body)) << reply;

    const std::string malformed = ask(server.port, post("/", R"({"units":"mm"})"));
    EXPECT_TRUE(malformed.starts_with("HTTP/1.1 400 ")) << malformed;
    EXPECT_TRUE(malformed.ends_with("\r\n\r\nrequest: missing member \"entities\"\n")) << malformed;
    const std::string get = ask(server.port, "GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_TRUE(get.starts_with("HTTP/1.1 405 ")) << get;
    EXPECT_NE(get.find("\r\nAllow: POST\r\n"), std::string::npos) << get;
    // Refused on its length alone, before the client sends any of it.
    const std::string tooLong = "Content-Length: " + std::to_string(kMaxRequestBytes + 1);
    const std::string large = ask(server.port, "POST / HTTP/1.1\r\nHost: x\r\n" + tooLong + "\r\n\r\n");
    EXPECT_TRUE(large.starts_with("HTTP/1.1 413 ")) << large;
    // Chunks tell no length ahead: the connection ends once they pass the limit.
    const std::string chunk = "4000000\r\n" + std::string(kMaxRequestBytes, ' ') + "\r\n1\r\n \r\n0\r\n\r\n";
    EXPECT_EQ(ask(server.port, "POST / HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n" + chunk), "");

    stopServer(server, SIGTERM);
    const std::string log = readAll(server.errors);
    for (const char* line : {"400: request: missing member \"entities\"", "405: only POST is served",
                             "413: request body over 64 MiB", "chunked request body over 64 MiB: connection closed"}) {
        const std::string logged = std::string("tessaro-dxf-server: ") + line + "\n";
        EXPECT_NE(log.find(logged), std::string::npos) << log;
        EXPECT_EQ(log.find(logged), log.rfind(logged)) << log;
    }
}

TEST(DxfServerProgram, StopsCleanlyOnTermOrInterruptWithAConnectionOpen) {
    for (const int signal : {SIGTERM, SIGINT}) {
        const ServerProcess server = startServer();
        const int client = connectToLoopback(server.port);
        EXPECT_GE(client, 0);
        EXPECT_EQ(stopServer(server, signal), 0) << signal;
        close(client);
        close(server.errors);
    }
}

TEST(DxfServerProgram, RefusesUnusableArgumentsWithItsUsage) {
    for (const char* args : {"--port abc", "--port 80x", "--port 70000", "--port -1", "--host", "--bogus"}) {
        const int status = std::system(("'" TESSARO_DXF_SERVER "' " + std::string(args) + " 2>/dev/null").c_str());
        EXPECT_EQ(WEXITSTATUS(status), 2) << args;
    }
    // An address of no interface here (a documentation one): nothing can listen there.
    const int status = std::system("timeout 10 '" TESSARO_DXF_SERVER "' --host 192.0.2.1 --port 0 2>/dev/null");
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
