#include "piece_report.h"

#include "settings/number_text.h"
#include "settings/text_encoding.h"

#include <algorithm>
#include <charconv>

namespace {

// Shortest text that reads back as the same double, with a decimal point whatever the locale.
std::string exactNumber(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

const char* boolean(bool value) { return value ? "true" : "false"; }

}  // namespace

std::string piecesJson(const PieceSet& pieces) {
    std::string out = "[\n";
    for (size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        const auto arcs = std::count_if(p.path.begin(), p.path.end(),
                                        [](const PathSegment& s) { return s.kind == SegmentKind::Arc; });
        out += "  {\"name\": \"" + escapeJsonString(wideToUtf8(p.name)) + "\", \"x\": " + exactNumber(p.x) +
               ", \"y\": " + exactNumber(p.y) + ", \"width\": " + exactNumber(p.width) +
               ", \"height\": " + exactNumber(p.height) + ", \"labelled\": " + boolean(isLabelled(p)) +
               ", \"innerCut\": " + boolean(isInnerCut(p)) + ", \"outlinePoints\": " + std::to_string(p.outline.size()) +
               ", \"segments\": " + std::to_string(p.path.size()) + ", \"arcs\": " + std::to_string(arcs) + "}";
        out += i + 1 < pieces.size() ? ",\n" : "\n";
    }
    return out + "]\n";
}

std::string piecesSummary(const PieceSet& pieces) {
    // The plan starts at the origin: its far corner is its size.
    const PlanExtent plan = planExtent(pieces);
    std::string names;
    for (size_t i = 0; i < pieces.size();) {
        size_t run = 1;
        while (i + run < pieces.size() && pieces[i + run].name == pieces[i].name) ++run;
        if (!names.empty()) names += ", ";
        if (run > 1) names += std::to_string(run) + " x ";
        names += wideToUtf8(pieces[i].name);
        i += run;
    }
    return std::to_string(pieces.size()) + " pieces, plan " + formatTrimmedFixed(plan.maxX, 3, NegativeZero::AsZero) + " x " +
           formatTrimmedFixed(plan.maxY, 3, NegativeZero::AsZero) + " mm: " + names;
}
