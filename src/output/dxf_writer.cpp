#include "output/dxf_writer.h"

#include "model/piece_labels.h"

#include "model/cut_path.h"
#include "settings/number_text.h"

#include <charconv>

namespace {

void appendInteger(std::string& out, std::string_view code, int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    appendDxfPair(out, code, std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

void appendNumber(std::string& out, std::string_view code, double value) {
    out.append(code);
    out.push_back('\n');
    appendTrimmedFixed(out, value, 6, NegativeZero::Keep);
    out.push_back('\n');
}

Point2 scaled(Point2 p, double scale) { return {p.x * scale, p.y * scale}; }

}  // namespace

void appendDxfPair(std::string& out, std::string_view code, std::string_view value) {
    out.append(code);
    out.push_back('\n');
    out.append(value);
    out.push_back('\n');
}

bool isDxfLayer(std::string_view name) {
    for (const LayerStyle& layer : layerStyles()) {
        if (name == layer.name) return true;
    }
    return false;
}

std::string formatDxfNumber(double value) { return formatTrimmedFixed(value, 6, NegativeZero::Keep); }

std::string dxfPreamble(bool inches, bool labels) {
    std::string out;
    out.reserve(1024);
    appendDxfPair(out, "0", "SECTION");
    appendDxfPair(out, "2", "HEADER");
    appendDxfPair(out, "9", "$ACADVER");
    appendDxfPair(out, "1", "AC1009");
    appendDxfPair(out, "9", "$INSUNITS");
    appendInteger(out, "70", inches ? 1 : 4);
    appendDxfPair(out, "0", "ENDSEC");

    appendDxfPair(out, "0", "SECTION");
    appendDxfPair(out, "2", "TABLES");
    appendDxfPair(out, "0", "TABLE");
    appendDxfPair(out, "2", "LTYPE");
    appendInteger(out, "70", 1);
    appendDxfPair(out, "0", "LTYPE");
    appendDxfPair(out, "2", "CONTINUOUS");
    appendInteger(out, "70", 0);
    appendDxfPair(out, "3", "Solid line");
    appendInteger(out, "72", 65);
    appendInteger(out, "73", 0);
    appendDxfPair(out, "40", "0.0");
    appendDxfPair(out, "0", "ENDTAB");
    appendDxfPair(out, "0", "TABLE");
    appendDxfPair(out, "2", "LAYER");
    appendInteger(out, "70", static_cast<int>(layerStyles(labels).size()));
    for (const LayerStyle& layer : layerStyles(labels)) {
        appendDxfPair(out, "0", "LAYER");
        appendDxfPair(out, "2", layer.name);
        appendInteger(out, "70", 0);
        appendInteger(out, "62", layer.dxfColour);
        appendDxfPair(out, "6", "CONTINUOUS");
    }
    appendDxfPair(out, "0", "ENDTAB");
    appendDxfPair(out, "0", "ENDSEC");

    appendDxfPair(out, "0", "SECTION");
    appendDxfPair(out, "2", "ENTITIES");
    appendDxfPair(out, "999", inches ? "Orvell Tessaro DXF R12 - in" : "Orvell Tessaro DXF R12 - mm");
    return out;
}

void appendDxfEnd(std::string& out) {
    appendDxfPair(out, "0", "ENDSEC");
    appendDxfPair(out, "0", "EOF");
}

void appendDxfLine(std::string& out, const char* layer, Point2 start, Point2 end) {
    appendDxfPair(out, "0", "LINE");
    appendDxfPair(out, "8", layer);
    appendNumber(out, "10", start.x);
    appendNumber(out, "20", start.y);
    appendDxfPair(out, "30", "0");
    appendNumber(out, "11", end.x);
    appendNumber(out, "21", end.y);
    appendDxfPair(out, "31", "0");
}

void appendDxfArc(std::string& out, const char* layer, Point2 center, double radius, double startAngle,
                  double endAngle) {
    appendDxfPair(out, "0", "ARC");
    appendDxfPair(out, "8", layer);
    appendNumber(out, "10", center.x);
    appendNumber(out, "20", center.y);
    appendDxfPair(out, "30", "0");
    appendNumber(out, "40", radius);
    appendNumber(out, "50", startAngle);
    appendNumber(out, "51", endAngle);
}

std::vector<Stroke> dxfLabelStrokes(const PieceSet& pieces, bool inches) {
    const double scale = inches ? 1.0 / kMillimetresPerInch : 1.0;
    std::vector<Stroke> strokes;
    for (const Piece& piece : pieces) {
        for (const PieceLabel& label : piece.labels) {
            for (Stroke& stroke : placedLabelStrokes(piece, label, true)) {
                for (Point2& p : stroke) p = scaled(p, scale);
                strokes.push_back(std::move(stroke));
            }
        }
    }
    return strokes;
}

std::string buildDxf(const PieceSet& pieces, bool inches) {
    const double scale = inches ? 1.0 / kMillimetresPerInch : 1.0;
    std::string out = dxfPreamble(inches, hasLabels(pieces));
    // Names first: a laser runs a file in order, and a piece cut free may shift before it is marked.
    const char* labels = styleOf(Layer::Labels).name;
    for (const Stroke& stroke : dxfLabelStrokes(pieces, inches))
        for (size_t i = 1; i < stroke.size(); ++i) appendDxfLine(out, labels, stroke[i - 1], stroke[i]);
    for (const Piece& piece : pieces) {
        for (const PathSegment& segment : placedPath(piece)) {
            const char* layer = styleOf(layerForSegment(piece, segment)).name;
            if (segment.kind == SegmentKind::Arc) {
                const auto [first, second] = arcAnglesDegrees(segment);
                appendDxfArc(out, layer, scaled(segment.center, scale), segment.radius * scale, first, second);
            } else {
                appendDxfLine(out, layer, scaled(segment.start, scale), scaled(segment.end, scale));
            }
        }
    }
    appendDxfEnd(out);
    return out;
}
