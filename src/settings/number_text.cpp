#include "settings/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

template <typename Char>
bool isDigit(Char c) {
    return c >= '0' && c <= '9';
}

template <typename Char>
size_t skipDigits(std::basic_string_view<Char> s, size_t i) {
    while (i < s.size() && isDigit(s[i])) ++i;
    return i;
}

template <typename Char>
std::basic_string_view<Char> withoutSpace(std::basic_string_view<Char> s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\v' || s[i] == '\f'))
        ++i;
    return s.substr(i);
}

template <typename Char>
std::optional<double> scanNumber(std::basic_string_view<Char> text, Underflow underflow, size_t* consumed) {
    const std::basic_string_view<Char> s = withoutSpace(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const size_t mantissa = i;
    const size_t integerEnd = skipDigits(s, i);
    size_t end = integerEnd;
    if (end < s.size() && s[end] == '.') end = skipDigits(s, end + 1);
    if (end - mantissa == 0 || (end - mantissa == 1 && s[mantissa] == '.')) return std::nullopt;
    size_t exponent = end;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        size_t e = end + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
        if (skipDigits(s, e) > e) end = skipDigits(s, e);  // a bare "e" is not part of the number
    }
    const std::string ascii(s.begin() + static_cast<std::ptrdiff_t>(mantissa), s.begin() + static_cast<std::ptrdiff_t>(end));
    double value = 0.0;
    const auto [last, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range && underflow == Underflow::Zero) {
        // Too small to hold is zero: a negative exponent, or no exponent and nothing but zeros before the point.
        const bool tiny = exponent < end ? s[exponent + 1] == '-'
                                         : std::all_of(s.begin() + static_cast<std::ptrdiff_t>(mantissa),
                                                       s.begin() + static_cast<std::ptrdiff_t>(integerEnd),
                                                       [](Char c) { return c == '0'; });
        if (!tiny) return std::nullopt;
        value = 0.0;
    } else if (error != std::errc() || last != ascii.data() + ascii.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    if (consumed) *consumed = text.size() - s.size() + end;
    return negative ? -value : value;
}

template <typename Char>
std::optional<int32_t> scanInteger(std::basic_string_view<Char> s, Sign sign, size_t* consumed) {
    size_t i = 0;
    bool negative = false;
    if (sign == Sign::Allowed && i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size() || !isDigit(s[i])) return std::nullopt;
    // The magnitude stops just past the int32 range, so any run of digits fits in 64 bits.
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) magnitude = std::min(limit, magnitude * 10 + (s[i] - '0'));
    if (consumed) *consumed = i;
    return static_cast<int32_t>(std::clamp<int64_t>(negative ? -magnitude : magnitude, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

std::optional<double> scanLeadingNumber(std::string_view text, Underflow underflow, size_t* consumed) {
    return scanNumber(text, underflow, consumed);
}

std::optional<double> scanLeadingNumber(std::wstring_view text, Underflow underflow, size_t* consumed) {
    return scanNumber(text, underflow, consumed);
}

std::optional<int32_t> scanLeadingInteger(std::string_view text, Sign sign, size_t* consumed) {
    return scanInteger(text, sign, consumed);
}

std::optional<int32_t> scanLeadingInteger(std::wstring_view text, Sign sign, size_t* consumed) {
    return scanInteger(text, sign, consumed);
}

std::wstring_view skipSpace(std::wstring_view text) { return withoutSpace(text); }

int32_t saturatedInt32(double value) {
    constexpr double low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::trunc(value < low ? low : value > high ? high : value));
}

void appendTrimmedFixed(std::string& out, double value, int decimals, NegativeZero negativeZero) {
    // Room for the 309 integer digits of the largest double, a sign, a point and the decimals.
    char buffer[352];
    const char* begin = buffer;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    const char* end = result.ec == std::errc() ? result.ptr : begin;
    // Non-finite values ("inf", "nan") have no point and no zeros to cut.
    if (std::find(begin, end, '.') != end) {
        while (end[-1] == '0') --end;
        if (end[-1] == '.') --end;
    }
    if (end == begin || (negativeZero == NegativeZero::AsZero && end - begin == 2 && begin[0] == '-' && begin[1] == '0')) {
        out.push_back('0');
        return;
    }
    out.append(begin, end);
}

std::string formatTrimmedFixed(double value, int decimals, NegativeZero negativeZero) {
    std::string text;
    appendTrimmedFixed(text, value, decimals, negativeZero);
    return text;
}

std::string formatFixed(double value, int decimals) {
    char buffer[400];  // the largest double in fixed notation takes 309 digits plus the decimals
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}
