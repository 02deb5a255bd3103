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

// One piece's object; sheetMembers (", \"sheet\": 2, ...") follow its name.
std::string pieceJson(const Piece& p, const std::string& sheetMembers) {
    const auto arcs = std::count_if(p.path.begin(), p.path.end(),
                                    [](const PathSegment& s) { return s.kind == SegmentKind::Arc; });
    return "  {\"name\": \"" + escapeJsonString(wideToUtf8(p.name)) + "\"" + sheetMembers + ", \"x\": " +
           exactNumber(p.x) + ", \"y\": " + exactNumber(p.y) + ", \"width\": " + exactNumber(p.width) +
           ", \"height\": " + exactNumber(p.height) + ", \"labelled\": " + boolean(isLabelled(p)) +
           ", \"innerCut\": " + boolean(isInnerCut(p)) + ", \"outlinePoints\": " + std::to_string(p.outline.size()) +
           ", \"segments\": " + std::to_string(p.path.size()) + ", \"arcs\": " + std::to_string(arcs) + "}";
}

}  // namespace

std::string piecesJson(const PieceSet& pieces, const std::vector<Sheet>& sheets) {
    std::vector<std::string> objects;
    if (sheets.empty())
        for (const Piece& piece : pieces) objects.push_back(pieceJson(piece, ""));
    for (size_t s = 0; s < sheets.size(); ++s)
        for (size_t i = 0; i < sheets[s].pieces.size(); ++i)
            objects.push_back(pieceJson(sheets[s].pieces[i], ", \"sheet\": " + std::to_string(s + 1) +
                                                                  ", \"turned\": " + boolean(sheets[s].turned[i])));
    std::string out = "[\n";
    for (size_t i = 0; i < objects.size(); ++i) out += objects[i] + (i + 1 < objects.size() ? ",\n" : "\n");
    return out + "]\n";
}

std::string piecesSummary(const PieceSet& pieces, const std::vector<Sheet>& sheets, SheetSize sheet) {
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
    const auto size = [](double width, double height) {
        return formatTrimmedFixed(width, 3, NegativeZero::AsZero) + " x " + formatTrimmedFixed(height, 3, NegativeZero::AsZero);
    };
    std::string where = ", plan " + size(plan.maxX, plan.maxY) + " mm: ";
    if (!sheets.empty()) {
        where = " on " + std::to_string(sheets.size()) + (sheets.size() == 1 ? " sheet" : " sheets") + " of " +
                size(sheet.width, sheet.height) + " mm, " + std::to_string(usedPercent(sheets)) + "% used: ";
    }
    return std::to_string(pieces.size()) + " pieces" + where + names;
}
