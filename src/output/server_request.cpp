#include "output/server_request.h"

#include "model/cut_path.h"
#include "settings/number_text.h"

#include <string_view>

namespace {

constexpr std::string_view kHead =
    "{\"version\":\"1.0\",\"sourceApp\":\"Tessaro\",\"jobName\":\"tessaro_export\",\"units\":\"mm\","
    "\"dxfMode\":\"R12Entities\",\"entities\":[";

void appendNumber(std::string& out, double value) { appendTrimmedFixed(out, value, 3, NegativeZero::AsZero); }

void appendPoint(std::string& out, Point2 p) {
    out += "{\"x\":";
    appendNumber(out, p.x);
    out += ",\"y\":";
    appendNumber(out, p.y);
    out += '}';
}

void appendEntity(std::string& out, const char* layer, const PathSegment& segment) {
    if (segment.kind == SegmentKind::Arc) {
        const auto [first, second] = arcAnglesDegrees(segment);
        out += "{\"type\":\"arc\",\"layer\":\"";
        out += layer;
        out += "\",\"center\":";
        appendPoint(out, segment.center);
        out += ",\"radius\":";
        appendNumber(out, segment.radius);
        out += ",\"startAngle\":";
        appendNumber(out, first);
        out += ",\"endAngle\":";
        appendNumber(out, second);
        out += '}';
    } else {
        out += "{\"type\":\"line\",\"layer\":\"";
        out += layer;
        out += "\",\"start\":";
        appendPoint(out, segment.start);
        out += ",\"end\":";
        appendPoint(out, segment.end);
        out += '}';
    }
}

}  // namespace

std::string formatServerNumber(double value) {
    std::string text;
    appendNumber(text, value);
    return text;
}

std::string buildServerRequestJson(const PieceSet& pieces) {
    std::string out(kHead);
    bool first = true;
    for (const Piece& piece : pieces) {
        for (const PathSegment& segment : placedPath(piece)) {
            if (!first) out += ',';
            first = false;
            appendEntity(out, styleOf(layerForSegment(piece, segment)).name, segment);
        }
    }
    out += "]}";
    return out;
}
