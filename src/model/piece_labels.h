#pragma once
// Names engraved on the pieces: which text each labelled piece carries, where it fits, and its strokes.
#include "model/piece_set.h"
#include "model/stroke_font.h"

// The limits of an engraved name (mm): capitals as tall as fit up to the largest, none below the
// smallest, and this far at least from every cut line.
inline constexpr double kLargestLabel = 6.0;
inline constexpr double kSmallestLabel = 2.0;
inline constexpr double kLabelMargin = 1.0;

// Gives every labelled piece its name (numbered where names repeat: "Divisor ancho 1", "2", ...) at the
// largest height that fits inside it, clear of its cuts and of the cut-outs within it; a piece with no
// room for the smallest height gets none.
void engravePieceNames(PieceSet& pieces);

// Whether any piece carries an engraved name.
bool hasLabels(const PieceSet& pieces);

// The label's strokes on the plan (mm). readsUpwards mirrors each glyph within its box, for files whose
// y axis points up (DXF), so the name reads the right way on the sheet.
std::vector<Stroke> placedLabelStrokes(const Piece& piece, const PieceLabel& label, bool readsUpwards);
