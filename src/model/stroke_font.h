#pragma once
// Single-stroke text, the kind a laser scores in one pass, from the Hershey Simplex font.
#include "model/outline.h"

#include <string_view>
#include <vector>

// An open chain of points (mm).
using Stroke = std::vector<Point2>;

// The strokes of text with capitals `height` mm tall: the first glyph's left side at x = 0, the top
// of the capitals at y = 0 and y growing downwards, as on the plan. A character outside ' '..'~'
// draws as '?'.
std::vector<Stroke> textStrokes(std::wstring_view text, double height);

// The box the strokes of textStrokes(text, height) fill (mm); all zero for text without strokes.
struct TextBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};
TextBox textBox(std::wstring_view text, double height);
