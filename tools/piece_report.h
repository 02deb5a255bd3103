#pragma once
// Text descriptions of a generated piece set for the command-line tool.
#include "model/sheet_layout.h"

#include <string>

// JSON array, one object per piece in set order: name (UTF-8), x, y, width, height (mm),
// labelled, innerCut, outlinePoints, segments, arcs. Ends with a line feed. With sheets, their
// pieces in sheet order instead, each with sheet (1-based) and turned after its name, x and y in
// sheet coordinates.
std::string piecesJson(const PieceSet& pieces, const std::vector<Sheet>& sheets = {});

// One line, no line feed: piece count, plan size in mm (or the sheets, their size and use), and the
// piece names (repeats counted).
std::string piecesSummary(const PieceSet& pieces, const std::vector<Sheet>& sheets = {}, SheetSize sheet = {});
