#include "output/number_text.h"

#include <charconv>

std::string formatTrimmedFixed(double value, int decimals) {
    // Room for the 309 integer digits of the largest double, a sign, a point and the decimals.
    char buffer[352];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return "0";
    std::string text(buffer, result.ptr);
    // Non-finite values ("inf", "nan") have no point and no zeros to cut.
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text.empty()) text = "0";
    return text;
}
