#include "output/svg_writer.h"

#include "model/piece_labels.h"
#include "model/tolerances.h"
#include "output/dxf_writer.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

void appendPoint(std::string& out, Point2 p) {
    out += formatDxfNumber(p.x);
    out += ' ';
    out += formatDxfNumber(p.y);
}

std::string pathData(const CutPath& path) {
    std::string d = "M ";
    appendPoint(d, path.front().start);
    for (size_t i = 0; i < path.size(); ++i) {
        const PathSegment& s = path[i];
        if (s.kind == SegmentKind::Arc) {
            const double sweep = signedSweepDegrees(s);
            // The plan's axes are the SVG's axes, so counter-clockwise in plan terms is the
            // direction of increasing angle, which SVG calls sweep-flag 1.
            d += " A ";
            d += formatDxfNumber(s.radius);
            d += ' ';
            d += formatDxfNumber(s.radius);
            // A right-angled dogbone turns exactly half a turn; rounding noise must not flip the flag.
            d += std::abs(sweep) > 180.0 + kHalfTurnSlack ? " 0 1 " : " 0 0 ";
            d += sweep > 0 ? "1 " : "0 ";
            appendPoint(d, s.end);
        } else if (i + 1 < path.size()) {
            d += " L ";
            appendPoint(d, s.end);
        }
        // A closing line needs no L: Z draws it.
    }
    d += " Z";
    return d;
}

}  // namespace

std::string svgPieceId(const std::wstring& name, std::vector<std::string>& used) {
    std::string base;
    for (wchar_t c : name) {
        if ((c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9')) {
            base.push_back(static_cast<char>(c));
        } else if (c >= L'A' && c <= L'Z') {
            base.push_back(static_cast<char>(c - L'A' + L'a'));
        } else if (!base.empty() && base.back() != '-') {
            base.push_back('-');
        }
    }
    while (!base.empty() && base.back() == '-') base.pop_back();
    // An XML id must start with a letter.
    if (base.empty() || (base.front() >= '0' && base.front() <= '9')) base.insert(0, "piece-");
    if (base.back() == '-') base.pop_back();
    std::string id = base;
    for (int n = 2; std::find(used.begin(), used.end(), id) != used.end(); ++n) id = base + "-" + std::to_string(n);
    used.push_back(id);
    return id;
}

std::string buildSvg(const PieceSet& pieces, SheetSize page) {
    const PlanExtent b = page.isSet() ? PlanExtent{0, 0, page.width, page.height} : planExtent(pieces);
    const std::string width = formatDxfNumber(b.width());
    const std::string height = formatDxfNumber(b.height());
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width + "mm\" height=\"" + height +
           "mm\" viewBox=\"" + formatDxfNumber(b.minX) + " " + formatDxfNumber(b.minY) + " " + width + " " +
           height + "\">\n";
    std::vector<std::string> ids;
    // Names first, as in the DXF files: one group each, in the labels' own colour.
    for (const Piece& piece : pieces) {
        for (const PieceLabel& label : piece.labels) {
            out += "  <g id=\"" + svgPieceId(L"label " + label.text, ids) + "\" fill=\"none\" stroke=\"" +
                   styleOf(Layer::Labels).svgStroke + "\" stroke-width=\"0.1\">\n";
            for (const Stroke& stroke : placedLabelStrokes(piece, label, false)) {
                std::string d = "M ";
                appendPoint(d, stroke.front());
                for (size_t i = 1; i < stroke.size(); ++i) {
                    d += " L ";
                    appendPoint(d, stroke[i]);
                }
                out += "    <path d=\"" + d + "\"/>\n";
            }
            out += "  </g>\n";
        }
    }
    for (const Piece& piece : pieces) {
        const CutPath path = placedPath(piece);
        if (path.empty()) continue;
        out += "  <g id=\"" + svgPieceId(piece.name, ids) + "\" fill=\"none\" stroke=\"" +
               styleOf(pieceLayer(piece)).svgStroke + "\" stroke-width=\"0.1\">\n";
        out += "    <path d=\"" + pathData(path) + "\"/>\n";
        out += "  </g>\n";
    }
    out += "</svg>\n";
    return out;
}
