#pragma once
// One client connection of the reference DXF server, HTTP/1.1 over a connected socket.

// Answers the requests arriving on socket until the client or an error ends them, then closes it:
// POST at any path gets convertServerRequest of its body, whatever its content type; other methods 405.
void serveDxfConnection(int socket);
