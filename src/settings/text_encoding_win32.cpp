#include "settings/text_encoding.h"

#include <windows.h>

#include <climits>

std::wstring utf8ToWide(const std::string& text) {
    if (text.empty()) return {};
    if (text.size() <= INT_MAX) {
        const int size = static_cast<int>(text.size());
        const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
        if (length > 0) {
            std::wstring out(static_cast<size_t>(length), L'\0');
            if (MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), length) == length) return out;
        }
    }
    return widenBytes(text);
}

std::string wideToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    if (text.size() <= INT_MAX) {
        const int size = static_cast<int>(text.size());
        const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
        if (length > 0) {
            std::string out(static_cast<size_t>(length), '\0');
            if (WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr) == length)
                return out;
        }
    }
    return narrowToLowBytes(text);
}
