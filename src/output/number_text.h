#pragma once
// Locale-independent number text shared by the output formats.
#include <string>

// Appends value in fixed notation with the given decimals and a decimal point, trailing zeros and
// a trailing point cut; "0" when nothing is left. A negative value that rounds to zero keeps its
// sign ("-0").
void appendTrimmedFixed(std::string& out, double value, int decimals);

// appendTrimmedFixed into a new string.
std::string formatTrimmedFixed(double value, int decimals);
