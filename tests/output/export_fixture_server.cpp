// A loopback HTTP server with fixed replies for the Windows server-export tests:
// POST /missing gives 404 with a long page, POST /empty gives 200 with no body, and a POST at
// any other target is echoed back as "POST <target>\n<Content-Type>\n<User-Agent>\n\n<body>".
// Prints "listening on http://127.0.0.1:PORT/" once it accepts connections.
#include <httplib.h>

#include <cstdio>
#include <string>

int main() {
    httplib::Server server;
    server.Post("/missing", [](const httplib::Request&, httplib::Response& response) {
        std::string page = "<html><body>No encontrado \xe9\xf1";
        for (int i = 0; page.size() < 2000; ++i) page += " linea " + std::to_string(i);
        response.status = 404;
        response.set_content(page + "</body></html>", "text/html");
    });
    server.Post("/empty", [](const httplib::Request&, httplib::Response& response) { response.status = 200; });
    server.Post(".*", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content("POST " + request.target + "\n" + request.get_header_value("Content-Type") + "\n" +
                                 request.get_header_value("User-Agent") + "\n\n" + request.body,
                             "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    if (port < 0) return 1;
    std::printf("listening on http://127.0.0.1:%d/\n", port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
