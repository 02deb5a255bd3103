#include "output/number_text.h"

#include <algorithm>
#include <charconv>

void appendTrimmedFixed(std::string& out, double value, int decimals) {
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
    if (end == begin) {
        out.push_back('0');
        return;
    }
    out.append(begin, end);
}

std::string formatTrimmedFixed(double value, int decimals) {
    std::string text;
    appendTrimmedFixed(text, value, decimals);
    return text;
}
