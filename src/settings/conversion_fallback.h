#pragma once
// What the UTF-8 conversions give when the input is not valid: one unit per byte, one byte per unit.
#include <string>

inline std::wstring widenBytes(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<unsigned char>(text[i]);
    return out;
}

inline std::string narrowToLowBytes(const std::wstring& text) {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i] & 0xFF);
    return out;
}
