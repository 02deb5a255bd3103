#pragma once
// Turns a DXF server request body (JSON entities) into DXF R12 text, without any HTTP.
#include <string>

struct DxfServerReply {
    int status = 200;          // 200, or 400 for a request that cannot be drawn
    std::string body;          // the DXF text, or a one-line reason ending in a line feed
    std::string contentType;   // "application/dxf" or "text/plain"
};

// Deepest bracket nesting accepted; deeper bodies are refused before they reach the parser.
inline constexpr int kMaxRequestNesting = 256;

// Reads {"units": "mm"|"in", "entities": [line or arc objects]} and writes the same header, tables,
// layers and numbers as the desktop writer, with the entities unscaled in the request's unit.
DxfServerReply convertServerRequest(const std::string& body);
