#pragma once
// The reference DXF server: libmicrohttpd speaks HTTP, this answers each POST with convertServerRequest
// within the limits a server on a shared machine needs. Apart from main so benchmarks can serve in-process.
#include <cstddef>
#include <string>

// The limits, each named in the README.
inline constexpr size_t kMaxRequestBytes = 64u * 1024 * 1024;  // a longer body gets 413 before it is read
inline constexpr unsigned kWorkerThreads = 4;       // poll every connection: an idle one costs no thread
inline constexpr unsigned kMaxConnections = 2048;   // the library refuses more
inline constexpr unsigned kIdleSeconds = 10;        // a connection without progress for this long ends
inline constexpr int kHeadSeconds = 30;             // so does one whose request head is not whole by then

struct DxfServer;

// Listens at host (a name or an address) and port (0 for any free one) and serves from the worker
// threads; nullptr when nothing could listen there.
DxfServer* startDxfServer(const std::string& host, int port);

// The port the server listens on.
int dxfServerPort(const DxfServer& server);

// Ends every connection, then the threads.
void stopDxfServer(DxfServer* server);
