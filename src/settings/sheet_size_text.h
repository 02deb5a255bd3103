#pragma once
// Sheet sizes as text: the common sheets the panel lists, sizes typed on the panel or the command
// line, and the [w, h] pair settings and projects store.
#include "model/box_parameters.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// A common sheet: its label as listed (it carries its own unit) and its size in millimetres.
struct SheetPreset {
    const wchar_t* label;
    SheetSize size;
};

// Common laser beds and plywood sheets, smallest first; A4 and A3 lie landscape.
std::span<const SheetPreset> sheetPresets();

// A preset's label or name ("A4", any case), or "W x H" ("x" or "X", spaces optional) in inches
// when asked, else millimetres, unless it ends in "mm" or "in". None for anything else or a side
// not above 0.
std::optional<SheetSize> parseSheetSize(std::wstring_view text, bool inches);

// The size in the unit, without it: "600 x 400", "12 x 12".
std::wstring sheetSizeText(SheetSize size, bool inches);

// Settings' and projects' text of a size, "[600.000000, 400.000000]" (mm), and its reading back at
// pos; none when the text there is not such a pair.
std::string storedSheetSize(SheetSize size);
std::optional<SheetSize> readStoredSheetSize(std::string_view text, size_t pos);
