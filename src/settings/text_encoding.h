#pragma once
// UTF-8 <-> wide conversion and the small JSON text helpers shared by the settings and output formats.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 to wide (UTF-16 on Windows); on failure each byte is widened to one unit.
std::wstring utf8ToWide(const std::string& text);
// Wide to UTF-8; on failure each unit is narrowed to its low byte.
std::string wideToUtf8(const std::wstring& text);

// One unit per byte (ASCII text, or the fallback for bytes that are no UTF-8), and back.
std::wstring widenBytes(std::string_view bytes);
std::string narrowToLowBytes(std::wstring_view text);

// Escapes tab, line feed, carriage return, double quote and backslash; all other bytes are kept.
std::string escapeJsonString(const std::string& text);


