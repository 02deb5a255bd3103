#include "model/stroke_font.h"

#include "hershey_glyphs.inc"

#include <algorithm>

namespace {

// The font's units: a letter's coordinates count from 'R'; capitals run from 12 above to 9 below it.
constexpr int kOrigin = 'R';
constexpr double kCapTop = -12;
constexpr double kCapHeight = 21;

const char* glyphOf(wchar_t c) {
    if (c < L' ' || c > L'~') c = L'?';
    return kHersheyGlyphs[c - L' '];
}

double bearing(const char* glyph, int side) { return glyph[side] - kOrigin; }

// Calls visit(point, startsStroke) for every point of the text's strokes, in mm.
template <typename Visit>
void visitStrokes(std::wstring_view text, double height, Visit&& visit) {
    const double scale = height / kCapHeight;
    double x = 0;
    for (const wchar_t c : text) {
        const char* glyph = glyphOf(c);
        const double left = bearing(glyph, 0);
        bool penUp = true;
        for (const char* p = glyph + 2; p[0] && p[1]; p += 2) {
            if (p[0] == ' ' && p[1] == 'R') {
                penUp = true;
                continue;
            }
            visit(Point2{x + (p[0] - kOrigin - left) * scale, (p[1] - kOrigin - kCapTop) * scale}, penUp);
            penUp = false;
        }
        x += (bearing(glyph, 1) - left) * scale;
    }
}

}  // namespace

std::vector<Stroke> textStrokes(std::wstring_view text, double height) {
    std::vector<Stroke> strokes;
    visitStrokes(text, height, [&](Point2 p, bool startsStroke) {
        if (startsStroke) strokes.emplace_back();
        strokes.back().push_back(p);
    });
    return strokes;
}

TextBox textBox(std::wstring_view text, double height) {
    TextBox box;
    bool any = false;
    visitStrokes(text, height, [&](Point2 p, bool) {
        box = any ? TextBox{std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
                            std::max(box.bottom, p.y)}
                  : TextBox{p.x, p.y, p.x, p.y};
        any = true;
    });
    return box;
}
