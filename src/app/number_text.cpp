#include "app/number_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string_view>
#include <system_error>

namespace {

bool isSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Skips white space and an optional sign; returns the index of the first character after them.
size_t skipSpaceAndSign(const std::wstring& text, bool& negative) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    return i;
}

}  // namespace

std::optional<double> parseLeadingNumber(const std::wstring& text) {
    bool negative = false;
    const size_t start = skipSpaceAndSign(text, negative);
    // Only digits, points and exponent parts can belong to the number; anything else ends it.
    // Requiring a digit or point first keeps "inf", "nan" and a second sign out.
    std::string ascii;
    for (size_t i = start; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (!(isDigit(c) || c == L'.' || c == L'e' || c == L'E' || c == L'+' || c == L'-')) break;
        ascii.push_back(static_cast<char>(c));
    }
    if (ascii.empty() || !(isDigit(static_cast<wchar_t>(ascii[0])) || ascii[0] == '.')) return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value,
                                              std::chars_format::general);
    if (end == ascii.data()) return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is no usable number at all.
        const std::string_view consumed(ascii.data(), static_cast<size_t>(end - ascii.data()));
        const size_t exponent = consumed.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos
                              ? consumed[exponent + 1] == '-'
                              : consumed.substr(0, consumed.find('.')).find_first_not_of('0') == std::string_view::npos;
        if (!tiny) return std::nullopt;
        value = 0.0;
    }
    return negative ? -value : value;
}

std::optional<int32_t> parseLeadingInteger(const std::wstring& text) {
    bool negative = false;
    size_t i = skipSpaceAndSign(text, negative);
    if (i >= text.size() || !isDigit(text[i])) return std::nullopt;
    int64_t value = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = std::min(limit, value * 10 + (text[i] - L'0'));
    }
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

std::wstring formatPanelNumber(double value) {
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    std::string text = error == std::errc() ? std::string(buffer, end) : std::string("0");
    if (text.find('.') != std::string::npos) {
        while (text.size() > 1 && text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    // A tiny negative value rounds to "-0", which reads as a typo in the panel.
    if (text == "-0") text = "0";
    return std::wstring(text.begin(), text.end());
}
