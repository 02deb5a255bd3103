#pragma once
// Locale-independent number text shared by the output formats.
#include <string>

// Fixed notation with the given decimals and a decimal point, then trailing zeros and a trailing
// point cut; "0" when nothing is left. A negative value that rounds to zero keeps its sign ("-0").
std::string formatTrimmedFixed(double value, int decimals);
