#include "settings/flat_json.h"

#include "settings/number_text.h"

namespace {

template <typename Char>
std::optional<size_t> findValue(std::basic_string_view<Char> text, std::basic_string_view<Char> key) {
    std::basic_string<Char> pattern(1, Char('"'));
    pattern.append(key);
    pattern += Char('"');
    const size_t found = text.find(pattern);
    if (found == text.npos) return std::nullopt;
    const size_t colon = text.find(Char(':'), found + pattern.size());
    if (colon == text.npos) return std::nullopt;
    size_t value = colon + 1;
    while (value < text.size() && (text[value] == ' ' || text[value] == '\t' || text[value] == '\r' || text[value] == '\n'))
        ++value;
    return value;
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return 0;  // anything else counts as zero
}

// Appends one UTF-16 unit. Where wchar_t holds whole code points, a low surrogate that follows
// a high one joins it, so \uD83D\uDE00 reads the same on every platform.
void appendUnit(std::wstring& text, unsigned unit) {
    if constexpr (sizeof(wchar_t) == 4) {
        if (unit >= 0xDC00 && unit <= 0xDFFF && !text.empty()) {
            const auto high = static_cast<unsigned>(text.back());
            if (high >= 0xD800 && high <= 0xDBFF) {
                text.back() = static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
                return;
            }
        }
    }
    text += static_cast<wchar_t>(unit);
}

template <typename Char>
std::optional<std::basic_string<Char>> readString(std::basic_string_view<Char> text, size_t pos, StringRule rule,
                                                  size_t* end) {
    if (rule.seeksOpeningQuote) pos = pos < text.size() ? text.find(Char('"'), pos) : text.npos;
    if (pos >= text.size() || text[pos] != Char('"')) return std::nullopt;
    std::basic_string<Char> value;
    size_t i = pos + 1;
    bool closed = false;
    while (i < text.size()) {
        const Char c = text[i++];
        if (c == Char('"')) {
            closed = true;
            break;
        }
        if (c != Char('\\') || i == text.size() || rule.escapes == StringRule::None) {
            value += c;
            continue;
        }
        const Char escaped = text[i++];
        switch (escaped) {
        case Char('n'): value += Char('\n'); break;
        case Char('r'): value += Char('\r'); break;
        case Char('t'): value += Char('\t'); break;
        case Char('u'):
            if constexpr (sizeof(Char) > 1) {
                if (rule.escapes == StringRule::WithUnicode) {
                    if (text.size() - i < 4) {
                        value += Char('u');
                        break;
                    }
                    unsigned unit = 0;
                    for (size_t k = 0; k < 4; ++k) unit = unit * 16 + static_cast<unsigned>(hexDigit(text[i + k]));
                    appendUnit(value, unit);
                    i += 4;
                    break;
                }
            }
            value += escaped;
            break;
        default: value += escaped; break;  // \" \\ and anything else stand for themselves
        }
    }
    if (!closed && rule.needsClosingQuote) return std::nullopt;
    if (end) *end = i;
    return value;
}

}  // namespace

std::optional<size_t> findJsonValue(std::string_view text, std::string_view key) { return findValue(text, key); }

std::optional<size_t> findJsonValue(std::wstring_view text, std::wstring_view key) { return findValue(text, key); }

std::optional<std::string> readJsonString(std::string_view text, size_t pos, StringRule rule, size_t* end) {
    return readString(text, pos, rule, end);
}

std::optional<std::wstring> readJsonString(std::wstring_view text, size_t pos, StringRule rule, size_t* end) {
    return readString(text, pos, rule, end);
}

std::optional<bool> readJsonBool(std::string_view text, size_t pos) {
    if (pos > text.size()) return std::nullopt;
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with("true") || rest.starts_with("1")) return true;
    if (rest.starts_with("false") || rest.starts_with("0")) return false;
    return std::nullopt;
}

std::optional<double> readJsonNumber(std::string_view text, size_t pos) {
    if (pos > text.size()) return std::nullopt;
    return scanLeadingNumber(text.substr(pos), Underflow::NoNumber);
}
