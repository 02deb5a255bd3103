#include "output/dxf_polyline_writer.h"

#include "output/dxf_writer.h"

#include "model/piece_labels.h"

#include <cmath>
#include <numbers>

namespace {

// A POLYLINE's head on layer, closed or open; its vertices and the SEQEND follow.
void appendPolylineHead(std::string& out, const char* layer, bool closed) {
    appendDxfPair(out, "0", "POLYLINE");
    appendDxfPair(out, "8", layer);
    appendDxfPair(out, "66", "1");
    appendDxfPair(out, "10", "0");
    appendDxfPair(out, "20", "0");
    appendDxfPair(out, "30", "0");
    appendDxfPair(out, "70", closed ? "1" : "0");
}

// A VERTEX at p (output units); a bulge may follow.
void appendVertex(std::string& out, const char* layer, Point2 p) {
    appendDxfPair(out, "0", "VERTEX");
    appendDxfPair(out, "8", layer);
    appendDxfPair(out, "10", formatDxfNumber(p.x));
    appendDxfPair(out, "20", formatDxfNumber(p.y));
    appendDxfPair(out, "30", "0");
}

void appendSeqEnd(std::string& out, const char* layer) {
    appendDxfPair(out, "0", "SEQEND");
    appendDxfPair(out, "8", layer);
}

void appendPolyline(std::string& out, const Piece& piece, double scale) {
    const CutPath path = placedPath(piece);
    if (path.empty()) return;
    // A default segment is a line: its layer is the piece's own.
    const char* layer = styleOf(pieceLayer(piece)).name;
    appendPolylineHead(out, layer, true);
    for (const PathSegment& segment : path) {
        appendVertex(out, layer, {segment.start.x * scale, segment.start.y * scale});
        if (segment.kind == SegmentKind::Arc) {
            // Bulge: tangent of a quarter of the included angle, positive counter-clockwise.
            const double bulge = std::tan(signedSweepDegrees(segment) * std::numbers::pi / 720.0);
            appendDxfPair(out, "42", formatDxfNumber(bulge));
        }
    }
    appendSeqEnd(out, layer);
}

// An engraved stroke: an open POLYLINE on LABELS.
void appendStroke(std::string& out, const Stroke& stroke) {
    const char* layer = styleOf(Layer::Labels).name;
    appendPolylineHead(out, layer, false);
    for (const Point2 p : stroke) appendVertex(out, layer, p);
    appendSeqEnd(out, layer);
}

}  // namespace

std::string buildClosedDxf(const PieceSet& pieces, bool inches) {
    const double scale = inches ? 1.0 / kMillimetresPerInch : 1.0;
    std::string out = dxfPreamble(inches, hasLabels(pieces));
    // Names first, as in the line-and-arc file.
    for (const Stroke& stroke : dxfLabelStrokes(pieces, inches)) appendStroke(out, stroke);
    for (const Piece& piece : pieces) {
        if (isInnerCut(piece)) appendPolyline(out, piece, scale);
    }
    for (const Piece& piece : pieces) {
        if (!isInnerCut(piece)) appendPolyline(out, piece, scale);
    }
    appendDxfEnd(out);
    return out;
}
