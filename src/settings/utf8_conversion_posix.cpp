// UTF-8 <-> UTF-32 for the native build, where wchar_t holds one code point.
#include "settings/text_encoding.h"

#include <cstdint>

namespace {

// Decodes strictly (no overlong forms, surrogates or values above U+10FFFF); false on any fault.
bool decodeUtf8(const std::string& text, std::wstring& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        const unsigned lead = p[i];
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        size_t length;
        uint32_t cp;
        uint32_t minimum;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, cp = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, cp = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, cp = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (n - i < length) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out += static_cast<wchar_t>(cp);
        i += length;
    }
    return true;
}

bool encodeUtf8(const std::wstring& text, std::string& out) {
    out.reserve(text.size());
    for (wchar_t w : text) {
        const auto cp = static_cast<uint32_t>(w);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            if (cp >= 0xD800 && cp <= 0xDFFF) return false;
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp <= 0x10FFFF) {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::wstring utf8ToWide(const std::string& text) {
    std::wstring out;
    if (decodeUtf8(text, out)) return out;
    return widenBytes(text);
}

std::string wideToUtf8(const std::wstring& text) {
    std::string out;
    if (encodeUtf8(text, out)) return out;
    return narrowToLowBytes(text);
}
