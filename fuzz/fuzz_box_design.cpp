// Any design record, however absurd: validation either refuses it with a runtime_error or the
// generated set is sound: closed paths, no vanishing segments, each piece inside its place and size,
// no two parts on the same sheet area, finite coordinates and a bounded amount of geometry.
#include "fuzz_check.h"
#include "fuzz_design.h"
#include "model/piece_set.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

constexpr size_t kMaxPieces = 1000;
constexpr size_t kMaxSegments = 2000000;

bool finite(Point2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }
double distance(Point2 a, Point2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Rounding slack for a coordinate of this size.
double slack(double magnitude) { return 1e-9 + 1e-12 * std::fabs(magnitude); }

void checkInside(Point2 p, const Piece& piece) {
    const double sx = slack(piece.x + piece.width), sy = slack(piece.y + piece.height);
    FUZZ_CHECK(p.x >= piece.x - sx && p.x <= piece.x + piece.width + sx);
    FUZZ_CHECK(p.y >= piece.y - sy && p.y <= piece.y + piece.height + sy);
}

size_t checkPiece(const Piece& piece) {
    FUZZ_CHECK(std::isfinite(piece.x) && std::isfinite(piece.y));
    FUZZ_CHECK(std::isfinite(piece.width) && std::isfinite(piece.height) && piece.width > 0 && piece.height > 0);
    const CutPath path = placedPath(piece);
    FUZZ_CHECK(path.size() >= 3);  // a closed cut needs at least three segments
    for (size_t i = 0; i < path.size(); ++i) {
        const PathSegment& segment = path[i];
        const PathSegment& next = path[(i + 1) % path.size()];
        FUZZ_CHECK(finite(segment.start) && finite(segment.end) && finite(segment.center));
        FUZZ_CHECK(distance(segment.end, next.start) <= slack(segment.end.x) + slack(segment.end.y));
        FUZZ_CHECK(distance(segment.start, segment.end) > kLengthTolerance);
        checkInside(segment.start, piece);
        checkInside(segment.end, piece);
        if (segment.kind == SegmentKind::Arc) {
            FUZZ_CHECK(segment.radius > kLengthTolerance && std::isfinite(segment.radius));
            checkInside({segment.center.x - segment.radius, segment.center.y - segment.radius}, piece);
            checkInside({segment.center.x + segment.radius, segment.center.y + segment.radius}, piece);
        } else {
            FUZZ_CHECK(segment.kind == SegmentKind::Line);
        }
        const std::string layer = layerForSegment(piece, segment);
        FUZZ_CHECK(layer == "CUT_OUTER" || layer == "CUT_INNER" || layer == "DOGBONES" || layer == "DIVIDERS");
    }
    return path.size();
}

bool overlaps(const Piece& a, const Piece& b) {
    const double sx = slack(std::max(a.x + a.width, b.x + b.width)), sy = slack(std::max(a.y + a.height, b.y + b.height));
    return a.x + a.width > b.x + sx && b.x + b.width > a.x + sx && a.y + a.height > b.y + sy &&
           b.y + b.height > a.y + sy;
}

bool contains(const Piece& outer, const Piece& inner) {
    const double sx = slack(outer.x + outer.width), sy = slack(outer.y + outer.height);
    return inner.x >= outer.x - sx && inner.x + inner.width <= outer.x + outer.width + sx &&
           inner.y >= outer.y - sy && inner.y + inner.height <= outer.y + outer.height + sy;
}

// Parts never share sheet; a cut-out lies inside the base it is cut from.
void checkLayout(const PieceSet& pieces) {
    const Piece& base = pieces[2];
    FUZZ_CHECK(base.name == L"Base");
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].innerCut) {
            FUZZ_CHECK(contains(base, pieces[i]));
            continue;
        }
        for (size_t j = i + 1; j < pieces.size(); ++j)
            if (!pieces[j].innerCut) FUZZ_CHECK(!overlaps(pieces[i], pieces[j]));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const BoxParameters parameters = fuzz_design::design(input);
    fuzzContext() = fuzz_design::describe(parameters);

    std::string refusal;
    try {
        BoxParameters copy = parameters;
        validateParameters(copy);
    } catch (const std::runtime_error& error) {
        refusal = error.what();
        FUZZ_CHECK(!refusal.empty());
    }

    PieceSet pieces;
    try {
        pieces = generatePieces(parameters);
    } catch (const std::runtime_error& error) {
        FUZZ_CHECK(refusal == error.what());  // generation refuses exactly what validation refuses
        return 0;
    }
    FUZZ_CHECK(refusal.empty());
    FUZZ_CHECK(pieces.size() >= 5 && pieces.size() <= kMaxPieces);
    size_t segments = 0;
    for (const Piece& piece : pieces) segments += checkPiece(piece);
    FUZZ_CHECK(segments <= kMaxSegments);
    checkLayout(pieces);
    return 0;
}
