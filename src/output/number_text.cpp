#include "output/number_text.h"

#include <algorithm>
#include <charconv>

std::string formatTrimmedFixed(double value, int decimals) {
    // Room for the 309 integer digits of the largest double, a sign, a point and the decimals.
    char buffer[352];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return "0";
    const char* begin = buffer;
    const char* end = result.ptr;
    // Non-finite values ("inf", "nan") have no point and no zeros to cut.
    if (std::find(begin, end, '.') != end) {
        while (end[-1] == '0') --end;
        if (end[-1] == '.') --end;
    }
    if (end == begin) return "0";
    return std::string(begin, end);
}
