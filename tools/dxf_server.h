#pragma once
// The reference DXF server's routes, separate from main so tests can serve them in-process.
#include <httplib.h>

#include <cstddef>

// Largest request body accepted; bigger ones get 413.
inline constexpr size_t kMaxRequestBytes = 64u * 1024 * 1024;

// POST at any path: 200 with DXF or 400 with a reason; every other method: 405.
void configureDxfServer(httplib::Server& server);
