#include "http_request_head.h"

#include <algorithm>

namespace {

constexpr std::string_view kLineBreaks = "\r\n";

bool isTokenChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isToken(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (!isTokenChar(c)) return false;
    return true;
}

// Control characters other than tab, including NUL and a CR that does not end the line.
bool hasControl(std::string_view text) {
    for (const unsigned char c : text)
        if ((c < 0x20 && c != '\t') || c == 0x7f) return true;
    return false;
}

// ASCII letters match either case; a must be token characters, as b always is.
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20) || !isTokenChar(a[i])) return false;
    return true;
}

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Takes the next line off rest, without its LF and a CR before it; false when no line ends.
bool takeLine(std::string_view& rest, std::string_view& line) {
    const size_t end = rest.find('\n');
    if (end == std::string_view::npos) return false;
    line = rest.substr(0, end > 0 && rest[end - 1] == '\r' ? end - 1 : end);
    rest.remove_prefix(end + 1);
    return true;
}

// Digits only; saturates rather than wrapping.
std::optional<uint64_t> contentLength(std::string_view text) {
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        value = value > (UINT64_MAX - digit) / 10 ? UINT64_MAX : value * 10 + digit;
    }
    return value;
}

// Whether a comma-separated list such as a Connection value names option.
bool listHas(std::string_view list, std::string_view option) {
    while (!list.empty()) {
        const size_t comma = list.find(',');
        if (equalsIgnoringCase(trimmed(list.substr(0, comma)), option)) return true;
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
    return false;
}

}  // namespace

size_t requestHeadEnd(std::string_view received) {
    const size_t start = received.find_first_not_of(kLineBreaks);
    for (size_t lf = received.find('\n', start); lf != std::string_view::npos; lf = received.find('\n', lf + 1)) {
        const std::string_view after = received.substr(lf + 1);
        if (after.starts_with('\n')) return lf + 2;
        if (after.starts_with("\r\n")) return lf + 3;
    }
    return std::string_view::npos;
}

HttpRequestHead parseRequestHead(std::string_view head) {
    head.remove_prefix(std::min(head.find_first_not_of(kLineBreaks), head.size()));
    std::string_view line;
    if (!takeLine(head, line) || hasControl(line)) return {.error = 400};
    // method SP target SP HTTP/1.x, single spaces only.
    const size_t space = line.find(' '), secondSpace = line.find(' ', space + 1);
    if (secondSpace == std::string_view::npos || secondSpace == space + 1) return {.error = 400};
    const std::string_view method = line.substr(0, space), version = line.substr(secondSpace + 1);
    if (!isToken(method) || version.size() != 8 || !version.starts_with("HTTP/1.") || version[7] < '0' ||
        version[7] > '9')
        return {.error = 400};
    const bool http11 = version[7] != '0';

    HttpRequestHead parsed{.method = std::string(method)};
    bool closeAsked = false, keepAliveAsked = false;
    while (takeLine(head, line) && !line.empty()) {
        // A name with space before the colon or a folded line (leading space) is not a token.
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || !isToken(line.substr(0, colon)) || hasControl(line))
            return {.error = 400};
        const std::string_view name = line.substr(0, colon), value = trimmed(line.substr(colon + 1));
        if (equalsIgnoringCase(name, "Content-Length")) {
            // A second length, even an equal one, is the framing ambiguity request smuggling uses.
            if (parsed.contentLength) return {.error = 400};
            parsed.contentLength = contentLength(value);
            if (!parsed.contentLength) return {.error = 400};
        } else if (equalsIgnoringCase(name, "Transfer-Encoding")) {
            if (parsed.chunked || !equalsIgnoringCase(value, "chunked")) return {.error = 501};
            parsed.chunked = true;
        } else if (equalsIgnoringCase(name, "Connection")) {
            closeAsked = closeAsked || listHas(value, "close");
            keepAliveAsked = keepAliveAsked || listHas(value, "keep-alive");
        } else if (equalsIgnoringCase(name, "Expect")) {
            parsed.expectContinue = http11 && equalsIgnoringCase(value, "100-continue");
        }
    }
    // Both framings at once, or chunks from an HTTP/1.0 client, cannot be trusted to end where meant.
    if (parsed.chunked && (parsed.contentLength || !http11)) return {.error = 400};
    parsed.keepAlive = !closeAsked && (http11 || keepAliveAsked);
    return parsed;
}
