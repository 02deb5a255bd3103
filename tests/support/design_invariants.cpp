#include "support/design_invariants.h"

#include "model/piece_labels.h"

#include <algorithm>
#include <cmath>

namespace {

double distance(Point2 a, Point2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Counter-clockwise turn in degrees, seen from a centre, from one point to another.
double ccwDegrees(Point2 center, Point2 from, Point2 to) {
    const double turn = std::atan2(to.y - center.y, to.x - center.x) - std::atan2(from.y - center.y, from.x - center.x);
    return std::fmod(turn * 180.0 / 3.141592653589793 + 720.0, 360.0);
}

std::string nameOf(const Piece& piece) { return std::string(piece.name.begin(), piece.name.end()); }

struct Box {
    double minX = 1e300;
    double minY = 1e300;
    double maxX = -1e300;
    double maxY = -1e300;

    void add(double x, double y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
};

// Outline bounds of a placed piece, or its path's with arcs as whole circles.
Box extent(const Piece& piece, bool ofPath = false) {
    Box b;
    for (Point2 q : piece.outline) b.add(q.x + piece.x, q.y + piece.y);
    for (const PathSegment& s : ofPath ? placedPath(piece) : CutPath{}) {
        b.add(s.start.x, s.start.y);
        b.add(s.end.x, s.end.y);
        if (s.kind != SegmentKind::Arc) continue;
        b.add(s.center.x - s.radius, s.center.y - s.radius);
        b.add(s.center.x + s.radius, s.center.y + s.radius);
    }
    return b;
}

using Spans = std::vector<std::pair<double, double>>;

class Checker {
public:
    Checker(const BoxParameters& p, const PieceSet& pieces) : p_(p), pieces_(pieces) {
        Box plan;
        for (const Piece& piece : pieces) plan.add(piece.x + piece.width, piece.y + piece.height);
        // Rounding grows with the coordinates.
        eps_ = 1e-7 * std::max(1.0, std::max(plan.maxX, plan.maxY) / 1000.0);
    }

    std::vector<std::string> run(bool assembles) {
        for (const Piece& piece : pieces_) checkPath(piece);
        checkPlan();
        checkLabels();
        if (!assembles) return faults_;
        checkJoints();
        checkDividers();
        return faults_;
    }

private:
    void expect(bool ok, const std::string& what) {
        if (!ok && faults_.size() < 10) faults_.push_back(what);
    }
    bool near(double a, double b, double scale = 1) const { return std::fabs(a - b) <= scale * eps_; }
    std::vector<const Piece*> all(const wchar_t* name) const {
        std::vector<const Piece*> found;
        for (const Piece& p : pieces_)
            if (p.name == name) found.push_back(&p);
        return found;
    }
    const Piece* find(const wchar_t* name) const {
        const auto found = all(name);
        return found.empty() ? nullptr : found[0];
    }
    bool onSegment(Point2 q, Point2 a, Point2 b) const {
        const double length = distance(a, b);
        const double along = (q.x - a.x) * (b.x - a.x) + (q.y - a.y) * (b.y - a.y);
        const double off = (b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x);
        return std::fabs(off) <= eps_ * length && along >= -eps_ * length && along <= length * (length + eps_);
    }

    // The corners a round bit cannot reach: those turning against the outline's winding, or with it
    // in a hole (the material lies outside).
    std::vector<bool> concaveCorners(const Outline& o, bool hole) const {
        const size_t n = o.size();
        double twiceArea = 0;
        for (size_t i = 0; i < n; ++i) twiceArea += o[i].x * o[(i + 1) % n].y - o[i].y * o[(i + 1) % n].x;
        std::vector<bool> concave(n);
        for (size_t i = 0; i < n; ++i) {
            const Point2 q = o[(i + n - 1) % n];
            const Point2 p = o[i];
            const Point2 r = o[(i + 1) % n];
            const double turn = (p.x - q.x) * (r.y - p.y) - (p.y - q.y) * (r.x - p.x);
            const double inward = (twiceArea < 0) != hole ? -turn : turn;
            concave[i] = inward < -eps_ * (distance(q, p) + distance(p, r));
        }
        return concave;
    }

    // Closed chains of real segments; in a router path one dogbone, a half circle through the
    // corner, at each concave corner and nowhere else. Arcs come in outline order, so each corner
    // search goes on from the last corner found.
    void checkPath(const Piece& piece) {
        const CutPath& path = piece.path;
        const Outline& o = piece.outline;
        const size_t n = o.size();
        const std::vector<bool> concave = concaveCorners(o, isInnerCut(piece));
        std::vector<bool> served(n);
        expect(path.size() >= 3, nameOf(piece) + ": fewer than three segments");
        size_t corner = 0;
        size_t edge = 0;
        for (size_t i = 0; i < path.size(); ++i) {
            const PathSegment& s = path[i];
            const std::string where = nameOf(piece) + " segment " + std::to_string(i);
            expect(std::isfinite(s.start.x + s.start.y + s.end.x + s.end.y), where + ": not finite");
            const Point2 next = path[(i + 1) % path.size()].start;
            expect(distance(s.end, next) <= kLengthTolerance + eps_, where + ": gap after");
            expect(distance(s.start, s.end) > kLengthTolerance, where + ": vanishes");
            if (s.kind == SegmentKind::Line) {
                const bool forward = p_.cutMode != CutMode::CncRouter || alongAnEdge(s, o, edge);
                expect(forward, where + ": off or against its edge");
                continue;
            }
            expect(p_.cutMode == CutMode::CncRouter, where + ": arc in a laser path");
            expect(s.radius > kLengthTolerance && s.radius <= p_.toolDiameter / 2 + eps_, where + ": arc radius");
            expect(near(distance(s.start, s.center), s.radius), where + ": arc starts off its circle");
            expect(near(distance(s.end, s.center), s.radius), where + ": arc ends off its circle");
            size_t tried = 0;
            while (tried < n && !servesCorner(s, o, corner)) {
                corner = (corner + 1) % n;
                ++tried;
            }
            if (tried == n) {
                expect(false, where + ": arc serves no corner");
                return;
            }
            expect(concave[corner], where + ": dogbone at a convex corner");
            expect(!served[corner], where + ": a second dogbone at one corner");
            served[corner] = true;
            const bool towardsCorner = arcIsCounterClockwise(s.start, s.end, o[corner], s.center);
            expect(s.counterClockwise == towardsCorner, where + ": direction");
            const auto [from, to] = arcAnglesDegrees(s);
            expect(std::fabs(std::fmod(to - from + 720.0, 360.0) - 180) < 1e-6, where + ": dogbone is no half circle");
            const Point2 first = s.counterClockwise ? s.start : s.end;
            const Point2 last = s.counterClockwise ? s.end : s.start;
            const bool passesCorner = ccwDegrees(s.center, first, o[corner]) < ccwDegrees(s.center, first, last);
            expect(passesCorner, where + ": misses its corner");
        }
        if (p_.cutMode != CutMode::CncRouter) {
            checkLaserPath(piece);
            return;
        }
        for (size_t i = 0; i < n; ++i)
            expect(!concave[i] || served[i], nameOf(piece) + " corner " + std::to_string(i) + ": no dogbone");
    }

    // A laser path runs along the outline, or, compensated, along each edge moved half a kerf out of the
    // material (into a cut-out): one line per edge, both ends that far off the edge's line, and the area
    // a mitred offset of a right-angled outline has, A + P d + 4 d² (A - P d + 4 d² inwards).
    void checkLaserPath(const Piece& piece) {
        const Outline& o = piece.outline;
        const CutPath& path = piece.path;
        const size_t n = o.size();
        if (path.size() != n) {
            const std::string counts = std::to_string(path.size()) + " cuts for " + std::to_string(n) + " edges";
            expect(false, nameOf(piece) + ": " + counts);
            return;
        }
        const double d = (p_.compensateKerf ? p_.kerf / 2 : 0) * (isInnerCut(piece) ? -1 : 1);
        double twiceArea = 0;
        double perimeter = 0;
        double pathTwiceArea = 0;
        for (size_t i = 0; i < n; ++i) {
            twiceArea += o[i].x * o[(i + 1) % n].y - o[i].y * o[(i + 1) % n].x;
            perimeter += distance(o[i], o[(i + 1) % n]);
            pathTwiceArea += path[i].start.x * path[i].end.y - path[i].start.y * path[i].end.x;
        }
        const double outside = twiceArea > 0 ? 1 : -1;  // the right-hand normal points out
        for (size_t i = 0; i < n; ++i) {
            const Point2 a = o[i];
            const Point2 b = o[(i + 1) % n];
            const double length = distance(a, b);
            const Point2 normal{outside * (b.y - a.y) / length, -outside * (b.x - a.x) / length};
            for (const Point2 end : {path[i].start, path[i].end}) {
                const double off = (end.x - a.x) * normal.x + (end.y - a.y) * normal.y;
                expect(near(off, d, 10), nameOf(piece) + " cut " + std::to_string(i) + ": not its edge moved by d");
            }
        }
        const double area = std::fabs(twiceArea) / 2;
        const double expected = area + perimeter * d + 4 * d * d;
        const bool rightArea = std::fabs(std::fabs(pathTwiceArea) / 2 - expected) <= 1e-9 * std::max(1.0, area);
        expect(rightArea, nameOf(piece) + ": the cut's area is not the offset outline's");
    }

    // The line lies on an outline edge and runs its way (two dogbones that cross leave a line running
    // back); lines come in outline order, so the search goes on from the last edge found.
    bool alongAnEdge(const PathSegment& line, const Outline& o, size_t& edge) const {
        const size_t n = o.size();
        for (size_t tried = 0; tried < n; ++tried, edge = (edge + 1) % n) {
            const Point2 a = o[edge];
            const Point2 b = o[(edge + 1) % n];
            if (!onSegment(line.start, a, b) || !onSegment(line.end, a, b)) continue;
            return (line.end.x - line.start.x) * (b.x - a.x) + (line.end.y - line.start.y) * (b.y - a.y) > 0;
        }
        return false;
    }

    // The arc runs from the edge before the corner to the edge after it, centred a radius away.
    bool servesCorner(const PathSegment& arc, const Outline& o, size_t corner) const {
        const size_t n = o.size();
        const bool centred = near(distance(o[corner], arc.center), arc.radius);
        return centred && onSegment(arc.start, o[(corner + n - 1) % n], o[corner]) &&
               onSegment(arc.end, o[corner], o[(corner + 1) % n]);
    }

    // Boxes that hold their geometry, on the sheet and apart by the spacing; cut-outs within the
    // base's walls.
    void checkPlan() {
        const Piece* base = find(L"Base");
        if (!base) {
            expect(false, "no base");
            return;
        }
        const double t = p_.materialThickness;
        const double gap = p_.spacing - eps_;
        for (size_t i = 0; i < pieces_.size(); ++i) {
            const Piece& a = pieces_[i];
            const Box e = extent(a, true);
            const bool fitsBox = near(e.minX, a.x) && near(e.minY, a.y) && near(e.maxX, a.x + a.width) &&
                                 near(e.maxY, a.y + a.height);
            expect(fitsBox, "a piece's box is not its geometry's");
            expect(a.x >= -eps_ && a.y >= -eps_, "a piece off the sheet");
            // A cut-out's outline: a router's dogbones reach past its corners, under the walls' faces.
            const Box o = extent(a);
            const bool insideWalls = o.minX >= base->x + t - eps_ && o.minY >= base->y + t - eps_ &&
                                     o.maxX <= base->x + base->width - t + eps_ &&
                                     o.maxY <= base->y + base->height - t + eps_;
            expect(!isInnerCut(a) || insideWalls, "a cut-out outside the base's walls");
            for (size_t j = i + 1; j < pieces_.size(); ++j) {
                const Piece& b = pieces_[j];
                const bool apart = a.x + a.width + gap <= b.x || b.x + b.width + gap <= a.x ||
                                   a.y + a.height + gap <= b.y || b.y + b.height + gap <= a.y;
                expect(isInnerCut(a) || isInnerCut(b) || apart,
                       "pieces " + std::to_string(i) + " and " + std::to_string(j) + " closer than the spacing");
            }
        }
    }

    // Only a labelled piece of a design asking for names has one; it lies inside its piece's outline
    // box, 2 to 6 mm tall, and 1 mm from every cut of the plan (its piece's, the cut-outs' in it, any
    // other's).
    void checkLabels() {
        for (const Piece& piece : pieces_) {
            const bool asked = p_.engraveLabels && isLabelled(piece);
            expect(piece.labels.empty() || asked, nameOf(piece) + ": an unasked name");
            for (const PieceLabel& label : piece.labels) {
                expect(label.height >= 2 - eps_ && label.height <= 6 + eps_, nameOf(piece) + ": name height");
                Box name;
                for (const Stroke& stroke : placedLabelStrokes(piece, label, false))
                    for (const Point2 q : stroke) name.add(q.x, q.y);
                const Box outline = extent(piece);
                const bool inside = name.minX >= outline.minX && name.maxX <= outline.maxX &&
                                    name.minY >= outline.minY && name.maxY <= outline.maxY;
                expect(inside, nameOf(piece) + ": name outside its piece");
                for (const Piece& other : pieces_) {
                    for (const PathSegment& s : placedPath(other)) {
                        const double reach = s.kind == SegmentKind::Arc ? s.radius : 0;
                        const Point2 mid = s.kind == SegmentKind::Arc ? s.center : Point2{};
                        const bool apart = s.kind == SegmentKind::Arc
                                               ? mid.x + reach < name.minX - 1 || mid.x - reach > name.maxX + 1 ||
                                                     mid.y + reach < name.minY - 1 || mid.y - reach > name.maxY + 1
                                               : std::max(s.start.x, s.end.x) < name.minX - 1 + eps_ ||
                                                     std::min(s.start.x, s.end.x) > name.maxX + 1 - eps_ ||
                                                     std::max(s.start.y, s.end.y) < name.minY - 1 + eps_ ||
                                                     std::min(s.start.y, s.end.y) > name.maxY + 1 - eps_;
                        expect(apart, nameOf(piece) + ": name within 1 mm of a cut of " + nameOf(other));
                    }
                }
            }
        }
    }

    // Outline edges of a placed piece on the line y = level (horizontal) or x = level, as sorted
    // intervals measured from origin; from an edge (fromEdge), as sorted distances either side.
    Spans spans(const Piece& piece, bool horizontal, double level, double origin, bool fromEdge = false) const {
        Spans found;
        const auto across = [&](Point2 q) { return horizontal ? q.y + piece.y : q.x + piece.x; };
        const auto along = [&](Point2 q) {
            const double d = (horizontal ? q.x + piece.x : q.y + piece.y) - origin;
            return fromEdge ? std::fabs(d) : d;
        };
        for (size_t i = 0, n = piece.outline.size(); i < n; ++i) {
            const Point2 a = piece.outline[i];
            const Point2 b = piece.outline[(i + 1) % n];
            if (near(across(a), level) && near(across(b), level) && !near(along(a), along(b)))
                found.push_back(std::minmax(along(a), along(b)));
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    void sameSpans(const Spans& tabs, const Spans& notches, int32_t fingers, const std::string& joint) {
        if (tabs.size() != static_cast<size_t>(fingers) || notches.size() != tabs.size()) {
            expect(false, joint + ": " + std::to_string(tabs.size()) + " tabs, " + std::to_string(notches.size()) +
                              " notches, " + std::to_string(fingers) + " fingers");
            return;
        }
        for (size_t i = 0; i < tabs.size(); ++i) {
            const bool fits = near(tabs[i].first, notches[i].first, 10) && near(tabs[i].second, notches[i].second, 10);
            expect(fits, joint + ": finger " + std::to_string(i) + " misses its notch");
        }
    }

    // Tabs fall straight into the facing notches: walls on the base, corners, walls under the lid.
    void checkJoints() {
        const double notch = p_.materialThickness + p_.clearance;
        const double lidTabs = p_.includeLid ? p_.materialThickness : 0;
        const Piece* base = find(L"Base");
        const Piece* back = find(L"Atras");
        const Piece* front = find(L"Frente");
        const Piece* left = find(L"Lateral izquierdo");
        const Piece* right = find(L"Lateral derecho");
        const Piece* lid = find(L"Tapa");
        expect((lid != nullptr) == p_.includeLid, "a lid exactly when asked for");
        if (!base || !back || !front || !left || !right) {
            expect(false, "a wall is missing");
            return;
        }
        const Box b = extent(*base);
        const Box bk = extent(*back);
        const Box f = extent(*front);
        const Box l = extent(*left);
        const Box r = extent(*right);
        const int32_t fw = p_.fingerCountWidth;
        const int32_t fd = p_.fingerCountDepth;
        sameSpans(spans(*back, true, bk.maxY, 0), spans(*base, true, b.minY + notch, 0), fw, "back on base");
        sameSpans(spans(*front, true, f.minY, 0), spans(*base, true, b.maxY - notch, 0), fw, "front on base");
        sameSpans(spans(*left, false, l.maxX, 0), spans(*base, false, b.minX + notch, 0), fd, "left on base");
        sameSpans(spans(*right, false, r.minX, 0), spans(*base, false, b.maxX - notch, 0), fd, "right on base");
        for (const auto& [wall, w] : {std::pair{back, bk}, std::pair{front, f}}) {
            for (const auto& [side, s] : {std::pair{left, l}, std::pair{right, r}}) {
                for (bool farEnd : {false, true}) {
                    const double wallTop = wall == back ? w.minY + lidTabs : w.maxY - lidTabs;
                    const double sideTop = side == left ? s.minX + lidTabs : s.maxX - lidTabs;
                    const Spans tabs = spans(*wall, false, farEnd ? w.maxX : w.minX, wallTop, true);
                    const Spans notches = spans(*side, true, farEnd ? s.maxY - notch : s.minY + notch, sideTop, true);
                    sameSpans(tabs, notches, p_.fingerCountHeight, "corner joint");
                }
            }
        }
        if (!lid) return;
        const Box top = extent(*lid);
        const Spans backTabs = spans(*back, true, bk.minY, bk.minX);
        sameSpans(backTabs, spans(*lid, true, top.minY + notch, top.minX), fw, "back under lid");
        const Spans sideTabs = spans(*left, false, l.minX, l.minY);
        sameSpans(sideTabs, spans(*lid, false, top.minX + notch, top.minY), fd, "side under lid");
    }

    // Slot centres along a divider from its left end, and their depth: the horizontal outline edges
    // off its top and bottom lines.
    std::vector<double> slotCenters(const Piece& divider, bool fromTop, double& depth) const {
        const Box e = extent(divider);
        std::vector<double> centers;
        for (size_t i = 0, n = divider.outline.size(); i < n; ++i) {
            const Point2 a = divider.outline[i];
            const Point2 b = divider.outline[(i + 1) % n];
            const double y = a.y + divider.y;
            if (!near(a.y, b.y) || near(y, e.minY) || near(y, e.maxY)) continue;
            centers.push_back((a.x + b.x) / 2 + divider.x - e.minX);
            depth = fromTop ? y - e.minY : e.maxY - y;
        }
        std::sort(centers.begin(), centers.end());
        return centers;
    }

    // One slot per crossing divider, deep enough to slide fully together, over its base cut-out.
    void checkDividers() {
        const auto widths = all(L"Divisor ancho");
        const auto depths = all(L"Divisor profundidad");
        const auto widthCuts = all(L"Ranura base ancho");
        const auto depthCuts = all(L"Ranura base profundidad");
        const size_t nw = static_cast<size_t>(p_.widthDividerCount);
        const size_t nd = static_cast<size_t>(p_.depthDividerCount);
        const size_t cuts = p_.addDividerBaseSlots ? 1 : 0;
        const Piece* base = find(L"Base");
        expect(widths.size() == nw && depths.size() == nd, "divider count");
        expect(widthCuts.size() == cuts * nw && depthCuts.size() == cuts * nd, "base cut-out count");
        if (widths.size() != nw || depths.size() != nd || nw == 0 || nd == 0 || !base) return;
        double depth = 0;
        double crossDepth = 0;
        const std::vector<double> centers = slotCenters(*widths[0], true, depth);
        const std::vector<double> crossCenters = slotCenters(*depths[0], false, crossDepth);
        if (centers.size() != nd || crossCenters.size() != nw) {
            expect(false, "one slot per crossing divider");
            return;
        }
        // Measured on the outlines: a compensated piece's box also holds the kerf.
        const Box divider = extent(*widths[0]);
        expect(depth + crossDepth >= divider.maxY - divider.minY - eps_, "crossing dividers slide fully together");
        const Box floor = extent(*base);
        const double t = p_.materialThickness;
        for (size_t k = 0; k < depthCuts.size() && k < nd; ++k) {
            const double cutCenter = depthCuts[k]->y + depthCuts[k]->height / 2 - floor.minY - t;
            expect(near(centers[k], cutCenter, 10), "slot off its cut-out");
        }
        for (size_t k = 0; k < widthCuts.size() && k < nw; ++k) {
            const double cutCenter = widthCuts[k]->x + widthCuts[k]->width / 2 - floor.minX - t;
            expect(near(crossCenters[k], cutCenter, 10), "slot off its cut-out");
        }
    }

    const BoxParameters& p_;
    const PieceSet& pieces_;
    double eps_ = 1e-7;
    std::vector<std::string> faults_;
};

}  // namespace

std::vector<std::string> designFaults(const BoxParameters& validated, const PieceSet& pieces, bool assembles) {
    return Checker(validated, pieces).run(assembles);
}
