#pragma once
// Numbers as text, the same whatever the user's locale: a decimal point, no grouping. Each reader
// states its own rule for what the scan cannot hold.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a scan makes of a number too small for a double ("1e-400").
enum class Underflow { Zero, NoNumber };

// The longest decimal number at the start of text after white space: an optional sign, digits with
// at most one point (one digit at least), an exponent only when it has digits. None when there is
// none or it is too large for a double; too small gives what underflow says. Wide characters beyond
// ASCII end the number. consumed, when given, receives where the number ends.
std::optional<double> scanLeadingNumber(std::string_view text, Underflow underflow, size_t* consumed = nullptr);
std::optional<double> scanLeadingNumber(std::wstring_view text, Underflow underflow, size_t* consumed = nullptr);

enum class Sign { Allowed, NotAllowed };

// A sign (when allowed) and digits at the very start of text, held to the int32 range rather than
// overflowing; none without a digit. consumed, when given, receives the characters read.
std::optional<int32_t> scanLeadingInteger(std::string_view text, Sign sign, size_t* consumed = nullptr);
std::optional<int32_t> scanLeadingInteger(std::wstring_view text, Sign sign, size_t* consumed = nullptr);

// Leading space, tab, line feed, carriage return, vertical tab and form feed cut off.
std::wstring_view skipSpace(std::wstring_view text);

// Truncated toward zero and held to the int32 range.
int32_t saturatedInt32(double value);

enum class NegativeZero { Keep, AsZero };

// Fixed notation with the given decimals, trailing zeros and a trailing point cut; "0" when nothing is
// left. A negative value that rounds to zero is "-0" or "0" as asked: 194/7 with 6 -> "27.714286".
void appendTrimmedFixed(std::string& out, double value, int decimals, NegativeZero negativeZero);
std::string formatTrimmedFixed(double value, int decimals, NegativeZero negativeZero);

// Fixed notation keeping every decimal: (200, 6) -> "200.000000".
std::string formatFixed(double value, int decimals);
