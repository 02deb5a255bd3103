#include "output/server_request.h"

#include "model/cut_path.h"
#include "output/number_text.h"

#include <string_view>

namespace {

constexpr std::string_view kHead =
    "{\"version\":\"1.0\",\"sourceApp\":\"Tessaro\",\"jobName\":\"tessaro_export\",\"units\":\"mm\","
    "\"dxfMode\":\"R12Entities\",\"entities\":[";

void appendPoint(std::string& out, Point2 p) {
    out += "{\"x\":";
    out += formatServerNumber(p.x);
    out += ",\"y\":";
    out += formatServerNumber(p.y);
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
        out += formatServerNumber(segment.radius);
        out += ",\"startAngle\":";
        out += formatServerNumber(first);
        out += ",\"endAngle\":";
        out += formatServerNumber(second);
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
    std::string text = formatTrimmedFixed(value, 3);
    if (text == "-0") text = "0";
    return text;
}

std::string buildServerRequestJson(const PieceSet& pieces) {
    std::string out(kHead);
    bool first = true;
    for (const Piece& piece : pieces) {
        for (const PathSegment& segment : placedPath(piece)) {
            if (!first) out += ',';
            first = false;
            appendEntity(out, layerForSegment(piece, segment), segment);
        }
    }
    out += "]}";
    return out;
}
