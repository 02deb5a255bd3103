#pragma once
// The reference DXF server's listening and accepting, separate from main so tests can serve in-process.
#include <cstddef>
#include <string>

// Largest request body accepted; bigger ones get 413.
inline constexpr size_t kMaxRequestBytes = 64u * 1024 * 1024;
// Largest request head accepted; bigger ones get 431.
inline constexpr size_t kMaxRequestHeadBytes = 16 * 1024;

// A socket listening for the server's clients, and the port it took.
struct DxfListener {
    int socket = -1;  // -1 when nothing could listen
    int port = 0;
};

// Listens at host (a name or an address) and port, 0 for any free port.
DxfListener listenForDxfClients(const std::string& host, int port);

// Serves every connection the listener accepts, each in a thread of its own, until the listener is
// shut down (shutdown(2)); the caller still closes it.
void serveDxfClients(int listener);
