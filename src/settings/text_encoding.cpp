#include "settings/text_encoding.h"

#include "settings/number_text.h"

std::string escapeJsonString(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::optional<size_t> findJsonValue(const std::string& text, const std::string& key) {
    const std::string pattern = "\"" + key + "\"";
    const size_t found = text.find(pattern);
    if (found == std::string::npos) return std::nullopt;
    const size_t colon = text.find(':', found + pattern.size());
    if (colon == std::string::npos) return std::nullopt;
    const size_t value = text.find_first_not_of(" \t\r\n", colon + 1);
    return value == std::string::npos ? text.size() : value;
}

std::optional<std::wstring> readJsonString(const std::string& text, size_t pos) {
    if (pos >= text.size() || text[pos] != '"') return std::nullopt;
    std::string bytes;
    for (size_t i = pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') break;
        if (c != '\\' || i + 1 == text.size()) {
            bytes += c;
            continue;
        }
        const char escaped = text[++i];
        switch (escaped) {
        case 'n': bytes += '\n'; break;
        case 'r': bytes += '\r'; break;
        case 't': bytes += '\t'; break;
        default: bytes += escaped; break;  // \" \\ and anything else stand for themselves
        }
    }
    return utf8ToWide(bytes);
}

std::optional<bool> readJsonBool(const std::string& text, size_t pos) {
    if (pos > text.size()) return std::nullopt;
    const std::string_view rest = std::string_view(text).substr(pos);
    if (rest.starts_with("true") || rest.starts_with("1")) return true;
    if (rest.starts_with("false") || rest.starts_with("0")) return false;
    return std::nullopt;
}

std::optional<double> readJsonNumber(const std::string& text, size_t pos) {
    if (pos > text.size()) return std::nullopt;
    return scanLeadingNumber(std::string_view(text).substr(pos), Underflow::NoNumber);
}

std::wstring widenBytes(std::string_view bytes) {
    std::wstring out(bytes.size(), L'\0');
    for (size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<unsigned char>(bytes[i]);
    return out;
}

std::string narrowToLowBytes(std::wstring_view text) {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i] & 0xFF);
    return out;
}
