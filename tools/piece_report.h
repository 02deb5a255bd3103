#pragma once
// Text descriptions of a generated piece set for the command-line tool.
#include "model/piece_set.h"

#include <string>

// JSON array, one object per piece in set order: name (UTF-8), x, y, width, height (mm),
// labelled, innerCut, outlinePoints, segments, arcs. Ends with a line feed.
std::string piecesJson(const PieceSet& pieces);

// One line, no line feed: piece count, plan size in mm, and the piece names (repeats counted).
std::string piecesSummary(const PieceSet& pieces);
