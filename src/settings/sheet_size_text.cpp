#include "settings/sheet_size_text.h"

#include "settings/number_text.h"

#include <cwctype>

namespace {

constexpr double kInch = kMillimetresPerInch;

const SheetPreset kPresets[] = {
    {L"300 x 200 mm", {300, 200}},
    {L"400 x 300 mm", {400, 300}},
    {L"500 x 300 mm", {500, 300}},
    {L"600 x 300 mm", {600, 300}},
    {L"600 x 400 mm", {600, 400}},
    {L"900 x 600 mm", {900, 600}},
    {L"A4 (297 x 210 mm)", {297, 210}},
    {L"A3 (420 x 297 mm)", {420, 297}},
    {L"12 x 12 in", {12 * kInch, 12 * kInch}},
    {L"24 x 12 in", {24 * kInch, 12 * kInch}},
};

std::wstring lowered(std::wstring_view text) {
    std::wstring out;
    for (const wchar_t c : text) out += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(static_cast<wint_t>(text.back()))) text.remove_suffix(1);
    return text;
}

// "W x H" with an optional unit after it.
std::optional<SheetSize> typedSize(std::wstring_view said, bool inches) {
    std::wstring_view rest = said;
    if (rest.ends_with(L"mm") || rest.ends_with(L"in")) {
        inches = rest.ends_with(L"in");
        rest = trimmed(rest.substr(0, rest.size() - 2));
    }
    size_t used = 0;
    const auto width = scanLeadingNumber(rest, Underflow::Zero, &used);
    if (!width) return std::nullopt;
    rest = trimmed(rest.substr(used));
    if (rest.empty() || rest.front() != L'x') return std::nullopt;
    rest = rest.substr(1);
    const auto height = scanLeadingNumber(rest, Underflow::Zero, &used);
    if (!height || !trimmed(rest.substr(used)).empty() || !(*width > 0) || !(*height > 0)) return std::nullopt;
    const double scale = inches ? kInch : 1.0;
    return SheetSize{*width * scale, *height * scale};
}

}  // namespace

std::span<const SheetPreset> sheetPresets() { return kPresets; }

std::optional<SheetSize> parseSheetSize(std::wstring_view text, bool inches) {
    const std::wstring said = lowered(trimmed(text));
    if (const auto size = typedSize(said, inches)) return size;
    for (const SheetPreset& preset : kPresets) {
        const std::wstring label = lowered(preset.label);
        if (said == label || said == label.substr(0, label.find(L" ("))) return preset.size;
    }
    return std::nullopt;
}

std::wstring sheetSizeText(SheetSize size, bool inches) {
    const double scale = inches ? 1.0 / kInch : 1.0;
    const auto side = [&](double mm) {
        const std::string text = formatTrimmedFixed(mm * scale, 4, NegativeZero::AsZero);
        return std::wstring(text.begin(), text.end());
    };
    return side(size.width) + L" x " + side(size.height);
}

std::string storedSheetSize(SheetSize size) {
    return '[' + formatFixed(size.width, 6) + ", " + formatFixed(size.height, 6) + ']';
}

std::optional<SheetSize> readStoredSheetSize(std::string_view text, size_t pos) {
    if (pos >= text.size() || text[pos] != '[') return std::nullopt;
    size_t used = 0;
    std::string_view rest = text.substr(pos + 1);
    const auto width = scanLeadingNumber(rest, Underflow::Zero, &used);
    if (!width) return std::nullopt;
    rest = rest.substr(used);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    if (rest.empty() || rest.front() != ',') return std::nullopt;
    rest = rest.substr(1);
    const auto height = scanLeadingNumber(rest, Underflow::Zero, &used);
    if (!height) return std::nullopt;
    rest = rest.substr(used);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    if (rest.empty() || rest.front() != ']') return std::nullopt;
    return SheetSize{*width, *height};
}
