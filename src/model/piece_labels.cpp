#include "model/piece_labels.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <span>

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

Rect boundsOf(const std::vector<Stroke>& strokes) {
    Rect bounds;
    for (const Stroke& stroke : strokes)
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
constexpr double kHeightStep = 0.1;  // heights are whole tenths of a millimetre

// How far a cut's box lies from a coordinate along one axis: 0 when the coordinate is within it.
double gap(double at, double low, double high) { return std::max({low - at, at - high, 0.0}); }

// The name at the largest height that fits inside the outline, kLabelMargin clear of every cut. The
// text's box grows in proportion to its height, so at each place the height at which it would
// first meet each cut's box follows directly.
// Where a name's box, width x tall at a height of 1 mm, fits largest: its height and centre.
struct Fit {
    double height;
    Point2 centre;
};

std::optional<Fit> fittedBox(double width, double tall, const Outline& outline, const std::vector<Rect>& cuts) {
    if (width <= 0 || tall <= 0) return std::nullopt;
    Rect piece;
    for (const Point2 p : outline) piece.add(p);
    double best = 0;
    Point2 bestCentre{};
    for (const Point2 place : kPlaces) {
        const Point2 centre{piece.minX + place.x * (piece.maxX - piece.minX),
                            piece.minY + place.y * (piece.maxY - piece.minY)};
        if (!inside(centre, outline)) continue;
        double fits = kLargestLabel + kHeightStep;
        for (const Rect& cut : cuts) {
            const double across = 2 * (gap(centre.x, cut.minX, cut.maxX) - kLabelMargin) / width;
            const double down = 2 * (gap(centre.y, cut.minY, cut.maxY) - kLabelMargin) / tall;
            fits = std::min(fits, std::max(across, down));
            if (fits <= best) break;  // no better than a place already found
        }
        // Just below where the name would touch a cut's margin, in whole steps.
        const double height = std::min(kLargestLabel, std::ceil(fits / kHeightStep - 1) * kHeightStep);
        if (height > best + kHeightStep / 2) {
            best = height;
            bestCentre = centre;
        }
        if (best >= kLargestLabel) break;
    }
    if (best < kSmallestLabel - kHeightStep / 2) return std::nullopt;
    return Fit{best, bestCentre};
}

bool sameOutline(const Outline& a, const Outline& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](Point2 p, Point2 q) { return p.x == q.x && p.y == q.y; });
}

bool within(const Piece& inner, const Piece& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

// The boxes of the cuts a name must keep clear of, in the piece's local coordinates: its own and
// those of the cut-outs inside it.
std::vector<Rect> cutsOn(const Piece& piece, std::span<const Piece* const> cutouts) {
    std::vector<Rect> cuts;
    cuts.reserve(piece.path.size());
    for (const PathSegment& segment : piece.path) cuts.push_back(boundsOf(segment));
    for (const Piece* cutout : cutouts) {
        if (!within(*cutout, piece)) continue;
        for (const PathSegment& segment : cutout->path) {
            const Rect cut = boundsOf(segment);
            const Point2 shift{cutout->x - piece.x, cutout->y - piece.y};
            cuts.push_back({cut.minX + shift.x, cut.minY + shift.y, cut.maxX + shift.x, cut.maxY + shift.y});
        }
    }
    return cuts;
}

}  // namespace

void engravePieceNames(PieceSet& pieces) {
    std::map<std::wstring, int> copies;
    std::vector<const Piece*> cutouts;
    for (const Piece& piece : pieces) {
        if (isLabelled(piece)) ++copies[piece.name];
        if (isInnerCut(piece)) cutouts.push_back(&piece);
    }
    // Each piece's text and its box at 1 mm; copies of a piece (one name) share the box of the widest
    // and tallest of their numbered names, so one fit serves them all.
    std::map<std::wstring, int> numbered;
    std::map<std::wstring, Rect> shared;
    std::vector<std::pair<std::wstring, TextBox>> texts(pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        if (!isLabelled(piece)) continue;
        std::wstring text = piece.name;
        if (copies[piece.name] > 1) text += L" " + std::to_wstring(++numbered[piece.name]);
        const TextBox box = textBox(text, 1.0);
        Rect& both = shared[piece.name];
        both.add({0, 0});
        both.add({box.right - box.left, box.bottom - box.top});
        texts[i] = {std::move(text), box};
    }
    struct Fitted {
        const Piece* piece;
        std::optional<Fit> fit;
    };
    std::map<std::wstring, Fitted> fitted;
    for (size_t i = 0; i < pieces.size(); ++i) {
        Piece& piece = pieces[i];
        if (!isLabelled(piece)) continue;
        const auto found = fitted.find(piece.name);
        // A copy has the same outline as the piece fitted first, and no cut-outs of its own.
        const auto holds = [&](const Piece* cutout) { return within(*cutout, piece); };
        const bool copy = found != fitted.end() && sameOutline(found->second.piece->outline, piece.outline) &&
                          std::none_of(cutouts.begin(), cutouts.end(), holds);
        if (!copy) {
            const Rect& both = shared[piece.name];
            fitted[piece.name] = {&piece, fittedBox(both.maxX, both.maxY, piece.outline, cutsOn(piece, cutouts))};
        }
        const std::optional<Fit>& fit = fitted[piece.name].fit;
        if (!fit) continue;
        const auto& [text, box] = texts[i];
        const Point2 origin{fit->centre.x - (box.left + box.right) / 2 * fit->height,
                            fit->centre.y - (box.top + box.bottom) / 2 * fit->height};
        piece.labels.push_back({text, origin, fit->height});
    }
}

bool hasLabels(const PieceSet& pieces) {
    return std::any_of(pieces.begin(), pieces.end(), [](const Piece& piece) { return !piece.labels.empty(); });
}

std::vector<Stroke> placedLabelStrokes(const Piece& piece, const PieceLabel& label, bool readsUpwards) {
    std::vector<Stroke> strokes = textStrokes(label.text, label.height);
    const Rect bounds = boundsOf(strokes);
    for (Stroke& stroke : strokes) {
        for (Point2& p : stroke) {
            const double y = readsUpwards ? bounds.minY + bounds.maxY - p.y : p.y;
            p = {piece.x + label.origin.x + p.x * label.along.x + y * label.down.x,
                 piece.y + label.origin.y + p.x * label.along.y + y * label.down.y};
        }
    }
    return strokes;
}
