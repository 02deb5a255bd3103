#include "model/piece_labels.h"

#include <algorithm>
#include <map>
#include <optional>

namespace {

struct Rect {
    double minX = 1e300;
    double minY = 1e300;
    double maxX = -1e300;
    double maxY = -1e300;

    void add(Point2 p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    bool meets(const Rect& other) const {
        return other.minX <= maxX && other.maxX >= minX && other.minY <= maxY && other.maxY >= minY;
    }
};

Rect boundsOf(const std::vector<Polyline>& strokes) {
    Rect bounds;
    for (const Polyline& stroke : strokes)
        for (const Point2 p : stroke) bounds.add(p);
    return bounds;
}

// An arc counts with its whole circle: never closer than it really is.
Rect boundsOf(const PathSegment& segment) {
    Rect bounds;
    bounds.add(segment.start);
    bounds.add(segment.end);
    if (segment.kind == SegmentKind::Arc) {
        bounds.add({segment.center.x - segment.radius, segment.center.y - segment.radius});
        bounds.add({segment.center.x + segment.radius, segment.center.y + segment.radius});
    }
    return bounds;
}

// Even-odd ray casting along +x.
bool inside(Point2 q, const Outline& outline) {
    bool in = false;
    for (size_t i = 0, n = outline.size(); i < n; ++i) {
        const Point2 a = outline[i];
        const Point2 b = outline[(i + 1) % n];
        if ((a.y > q.y) != (b.y > q.y) && q.x < a.x + (q.y - a.y) / (b.y - a.y) * (b.x - a.x)) in = !in;
    }
    return in;
}

// Where a name is tried: the middle of the piece first, then a quarter of the way towards each side
// and corner (a divider's slots take the middle of one long side).
constexpr Point2 kPlaces[] = {{0.5, 0.5},   {0.5, 0.25},  {0.5, 0.75},  {0.25, 0.5}, {0.75, 0.5},
                              {0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}};
constexpr double kHeightStep = 0.25;

// The name at the largest height that fits inside the outline, kLabelMargin clear of every cut.
std::optional<PieceLabel> fittedLabel(const std::wstring& text, const Outline& outline, const CutPath& cuts) {
    Rect piece;
    for (const Point2 p : outline) piece.add(p);
    std::vector<Rect> cutBounds;
    cutBounds.reserve(cuts.size());
    for (const PathSegment& segment : cuts) cutBounds.push_back(boundsOf(segment));
    for (double height = kLargestLabel; height >= kSmallestLabel; height -= kHeightStep) {
        const Rect strokes = boundsOf(textStrokes(text, height));
        const double width = strokes.maxX - strokes.minX;
        const double tall = strokes.maxY - strokes.minY;
        for (const Point2 place : kPlaces) {
            const Point2 centre{piece.minX + place.x * (piece.maxX - piece.minX),
                                piece.minY + place.y * (piece.maxY - piece.minY)};
            if (!inside(centre, outline)) continue;
            const Rect cleared{centre.x - width / 2 - kLabelMargin, centre.y - tall / 2 - kLabelMargin,
                               centre.x + width / 2 + kLabelMargin, centre.y + tall / 2 + kLabelMargin};
            const bool clear = std::none_of(cutBounds.begin(), cutBounds.end(),
                                            [&](const Rect& cut) { return cut.meets(cleared); });
            if (!clear) continue;
            const Point2 origin{centre.x - width / 2 - strokes.minX, centre.y - tall / 2 - strokes.minY};
            return PieceLabel{text, origin, height};
        }
    }
    return std::nullopt;
}

// The cuts a name must keep clear of, in the piece's local coordinates: its own and those of the
// cut-outs inside it.
CutPath cutsOn(const Piece& piece, const PieceSet& pieces) {
    CutPath cuts = piece.path;
    for (const Piece& cutout : pieces) {
        const bool within = cutout.x >= piece.x && cutout.y >= piece.y &&
                            cutout.x + cutout.width <= piece.x + piece.width &&
                            cutout.y + cutout.height <= piece.y + piece.height;
        if (!isInnerCut(cutout) || !within) continue;
        for (PathSegment segment : cutout.path) {
            const Point2 shift{cutout.x - piece.x, cutout.y - piece.y};
            segment.start = {segment.start.x + shift.x, segment.start.y + shift.y};
            segment.end = {segment.end.x + shift.x, segment.end.y + shift.y};
            segment.center = {segment.center.x + shift.x, segment.center.y + shift.y};
            cuts.push_back(segment);
        }
    }
    return cuts;
}

}  // namespace

void engravePieceNames(PieceSet& pieces) {
    std::map<std::wstring, int> copies;
    for (const Piece& piece : pieces)
        if (isLabelled(piece)) ++copies[piece.name];
    std::map<std::wstring, int> numbered;
    for (Piece& piece : pieces) {
        if (!isLabelled(piece)) continue;
        std::wstring text = piece.name;
        if (copies[piece.name] > 1) text += L" " + std::to_wstring(++numbered[piece.name]);
        if (auto label = fittedLabel(text, piece.outline, cutsOn(piece, pieces))) piece.labels.push_back(*label);
    }
}

bool hasLabels(const PieceSet& pieces) {
    return std::any_of(pieces.begin(), pieces.end(), [](const Piece& piece) { return !piece.labels.empty(); });
}

std::vector<Polyline> placedLabelStrokes(const Piece& piece, const PieceLabel& label, bool readsUpwards) {
    std::vector<Polyline> strokes = textStrokes(label.text, label.height);
    const Rect bounds = boundsOf(strokes);
    for (Polyline& stroke : strokes) {
        for (Point2& p : stroke) {
            const double y = readsUpwards ? bounds.minY + bounds.maxY - p.y : p.y;
            p = {piece.x + label.origin.x + p.x, piece.y + label.origin.y + y};
        }
    }
    return strokes;
}
