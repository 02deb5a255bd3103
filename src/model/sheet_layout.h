#pragma once
// Pieces laid onto sheets of the machine's size, as few as possible, one cut file each.
#include "model/piece_set.h"

#include <vector>

// The sheet (mm), the margin kept free on every side, whether a piece may be turned by a quarter,
// and the gap kept between pieces.
struct SheetSpec {
    double width = 0.0;
    double height = 0.0;
    double margin = 5.0;
    bool turn = true;
    double spacing = 12.0;
};

// One sheet: its pieces in sheet coordinates (origin at the sheet's corner), each with the
// cut-outs inside it, and the share of the usable area (0..1) their boxes cover.
struct Sheet {
    PieceSet pieces;
    std::vector<bool> turned;  // by piece: the layout turned it
    double used = 0.0;
};

// Lays every piece onto sheets, each with the cut-outs inside its box (at the same offset, turned
// with it), keeping the spacing and the margin; tries a few orders of the pieces and keeps the
// layout with the fewest sheets. Throws std::runtime_error with a fixed Spanish message naming a
// piece that fits no sheet, even turned.
std::vector<Sheet> layoutOnSheets(const PieceSet& pieces, const SheetSpec& sheet);

// The share of all the sheets' usable area their pieces' boxes cover, in whole percent.
int usedPercent(const std::vector<Sheet>& sheets);

// The design's sheet, margin, turning and spacing.
SheetSpec sheetSpecOf(const BoxParameters& design);

// The validated design's pieces laid onto its sheets; none when it sets no sheet (the one plan).
// Throws as layoutOnSheets does.
std::vector<Sheet> sheetsOf(const BoxParameters& validated, const PieceSet& pieces);
