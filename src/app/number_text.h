#pragma once
// Numbers as the control panel shows and reads them: a decimal point whatever the user's locale.
#include <cstdint>
#include <optional>
#include <string>

// The longest leading decimal number of text (white space, sign, digits, point, exponent),
// e.g. "12,5" -> 12 and "7 mm" -> 7; none when nothing parses or the value overflows a double.
std::optional<double> parseLeadingNumber(const std::wstring& text);

// The leading base-10 integer of text (white space and a sign allowed), clamped to 32 bits;
// none when no digit is read.
std::optional<int32_t> parseLeadingInteger(const std::wstring& text);

// Fixed notation with 4 decimals, trailing zeros and a bare point cut: 200 -> "200", 0.15 -> "0.15".
std::wstring formatPanelNumber(double value);
