#include "model/stroke_font.h"

#include "hershey_glyphs.inc"

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

}  // namespace

std::vector<Polyline> textStrokes(std::wstring_view text, double height) {
    const double scale = height / kCapHeight;
    std::vector<Polyline> strokes;
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
            if (penUp) strokes.emplace_back();
            penUp = false;
            strokes.back().push_back({x + (p[0] - kOrigin - left) * scale, (p[1] - kOrigin - kCapTop) * scale});
        }
        x += (bearing(glyph, 1) - left) * scale;
    }
    return strokes;
}

double textAdvance(std::wstring_view text, double height) {
    double units = 0;
    for (const wchar_t c : text) units += bearing(glyphOf(c), 1) - bearing(glyphOf(c), 0);
    return units * height / kCapHeight;
}
