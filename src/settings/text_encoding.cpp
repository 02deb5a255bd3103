#include "settings/text_encoding.h"

#include <charconv>
#include <cmath>

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

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

size_t skipDigits(std::string_view s, size_t i) {
    while (i < s.size() && isDigit(s[i])) ++i;
    return i;
}

}  // namespace

std::optional<double> readJsonNumber(const std::string& text, size_t pos) {
    if (pos > text.size()) return std::nullopt;
    const std::string_view s = std::string_view(text).substr(pos);
    size_t i = s.find_first_not_of(" \t\r\n\v\f");
    if (i == std::string_view::npos) return std::nullopt;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
    const size_t mantissa = i;
    const size_t integerEnd = skipDigits(s, i);
    size_t end = integerEnd;
    if (end < s.size() && s[end] == '.') end = skipDigits(s, end + 1);
    if (end - mantissa == 0 || (end - mantissa == 1 && s[mantissa] == '.')) return std::nullopt;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        size_t e = end + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
        const size_t exponentEnd = skipDigits(s, e);
        if (exponentEnd > e) end = exponentEnd;  // a bare "e" is not part of the number
    }
    double value = 0.0;
    const auto [last, error] = std::from_chars(s.data() + mantissa, s.data() + end, value);
    if (error != std::errc() || last != s.data() + end || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::string formatFixed6(double value) {
    char buffer[400];  // the largest double in fixed notation takes 309 digits plus the decimals
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}
