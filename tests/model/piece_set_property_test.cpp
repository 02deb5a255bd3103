// Invariants every generated design must keep, checked over a few thousand random valid designs.
#include "model/piece_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kDesigns = 2000;
constexpr double kGeometryEps = 1e-7;

// std::mt19937's sequence is fixed by the standard; the distributions are not, so they are written here
// to give the same designs on every platform.
class DesignSource {
public:
    double uniform(double low, double high) { return low + (high - low) * (static_cast<double>(engine_()) / 4294967296.0); }
    int32_t integer(int32_t low, int32_t high) {
        return low + static_cast<int32_t>(engine_() % static_cast<uint32_t>(high - low + 1));
    }
    bool chance(double probability) { return uniform(0, 1) < probability; }

    BoxParameters design() {
        BoxParameters p;
        p.materialThickness = uniform(1, 12);
        p.dimensionMode = chance(0.5) ? DimensionMode::Internal : DimensionMode::External;
        p.inputWidth = uniform(20, 600);
        p.inputHeight = uniform(15, 400);
        p.inputDepth = uniform(20, 600);
        p.includeLid = chance(0.5);
        p.fingerCountWidth = integer(1, 12);
        p.fingerCountDepth = integer(1, 12);
        p.fingerCountHeight = integer(1, 8);
        p.kerf = uniform(0, 0.3);
        p.clearance = uniform(0, 0.5);
        p.spacing = chance(0.1) ? 0.0 : uniform(0, 30);
        p.cutMode = chance(0.5) ? CutMode::CncRouter : CutMode::Laser;
        // Mostly bits that fit a divider slot, so router designs with dividers are common.
        p.toolDiameter = uniform(0.3, 1.2 * (p.materialThickness + p.clearance));
        p.widthDividerCount = chance(0.4) ? 0 : integer(1, 6);
        p.depthDividerCount = chance(0.4) ? 0 : integer(1, 6);
        p.addDividerBaseSlots = chance(0.6);
        return p;
    }

    BoxParameters validDesign() {
        for (;;) {
            BoxParameters p = design();
            try {
                validateParameters(p);
                return p;
            } catch (const std::runtime_error&) {
            }
        }
    }

private:
    std::mt19937 engine_{20261206u};
};

std::string describe(const BoxParameters& p) {
    std::ostringstream out;
    out.precision(17);
    out << "design " << p.inputWidth << " x " << p.inputHeight << " x " << p.inputDepth << " t " << p.materialThickness
        << (p.dimensionMode == DimensionMode::Internal ? " internal" : " external") << (p.includeLid ? " lid" : "")
        << " fingers " << p.fingerCountWidth << "/" << p.fingerCountDepth << "/" << p.fingerCountHeight << " c "
        << p.clearance << " s " << p.spacing << (p.cutMode == CutMode::CncRouter ? " cnc " : " laser ")
        << p.toolDiameter << " dividers " << p.widthDividerCount << "/" << p.depthDividerCount
        << (p.addDividerBaseSlots ? " slots" : "");
    return out.str();
}

double distance(Point2 a, Point2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

bool onSegment(Point2 p, Point2 a, Point2 b) {
    const double length = distance(a, b);
    const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    const double along = (p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y);
    return std::fabs(cross) <= kGeometryEps * length && along >= -kGeometryEps * length &&
           along <= length * length + kGeometryEps * length;
}

double degrees(Point2 from, Point2 to) {
    double a = std::atan2(to.y - from.y, to.x - from.x) * 180.0 / 3.141592653589793;
    return a < 0 ? a + 360 : a;
}

// Counter-clockwise turn in degrees from one angle in [0, 360) to another.
double ccwSweep(double from, double to) { return std::fmod(to - from + 720.0, 360.0); }

struct Box {
    double minX, minY, maxX, maxY;
};

// Plan-coordinate bounds of a piece's outline, and with arcs (by their whole circle) of its path too.
Box extent(const Piece& piece, bool withPath = false) {
    Box b{1e300, 1e300, -1e300, -1e300};
    const auto add = [&](double x, double y) {
        b.minX = std::min(b.minX, x);
        b.minY = std::min(b.minY, y);
        b.maxX = std::max(b.maxX, x);
        b.maxY = std::max(b.maxY, y);
    };
    for (Point2 q : piece.outline) add(q.x + piece.x, q.y + piece.y);
    if (!withPath) return b;
    for (const PathSegment& s : placedPath(piece)) {
        add(s.start.x, s.start.y);
        add(s.end.x, s.end.y);
        if (s.kind == SegmentKind::Arc) {
            add(s.center.x - s.radius, s.center.y - s.radius);
            add(s.center.x + s.radius, s.center.y + s.radius);
        }
    }
    return b;
}

using Spans = std::vector<std::pair<double, double>>;

// Outline edges of a placed piece lying on the line y = level (horizontal) or x = level, as sorted
// intervals along that line measured from origin.
Spans spansOnLine(const Piece& piece, bool horizontal, double level, double origin) {
    Spans spans;
    const size_t n = piece.outline.size();
    for (size_t i = 0; i < n; ++i) {
        const Point2 a{piece.outline[i].x + piece.x, piece.outline[i].y + piece.y};
        const Point2 b{piece.outline[(i + 1) % n].x + piece.x, piece.outline[(i + 1) % n].y + piece.y};
        const double levelA = horizontal ? a.y : a.x, levelB = horizontal ? b.y : b.x;
        const double alongA = horizontal ? a.x : a.y, alongB = horizontal ? b.x : b.y;
        if (std::fabs(levelA - level) < kGeometryEps && std::fabs(levelB - level) < kGeometryEps &&
            std::fabs(alongA - alongB) > kGeometryEps)
            spans.emplace_back(std::min(alongA, alongB) - origin, std::max(alongA, alongB) - origin);
    }
    std::sort(spans.begin(), spans.end());
    return spans;
}

void expectSameSpans(const Spans& tabs, const Spans& notches, size_t fingers, const std::string& what) {
    ASSERT_EQ(tabs.size(), fingers) << what;
    ASSERT_EQ(notches.size(), fingers) << what;
    for (size_t i = 0; i < fingers; ++i) {
        EXPECT_NEAR(tabs[i].first, notches[i].first, 1e-6) << what << " finger " << i;
        EXPECT_NEAR(tabs[i].second, notches[i].second, 1e-6) << what << " finger " << i;
    }
}

// Spans measured from a top edge that may lie on either side of them, as distances from it.
Spans distancesFromTop(Spans spans) {
    for (auto& span : spans) span = std::minmax(std::fabs(span.first), std::fabs(span.second));
    std::sort(spans.begin(), spans.end());
    return spans;
}

const Piece* find(const PieceSet& pieces, const wchar_t* name) {
    for (const Piece& p : pieces)
        if (p.name == name) return &p;
    return nullptr;
}

void checkPath(const Piece& piece, const BoxParameters& p, const std::string& what) {
    const CutPath& path = piece.path;
    ASSERT_GE(path.size(), 4u) << what;
    for (size_t i = 0; i < path.size(); ++i) {
        const PathSegment& s = path[i];
        const PathSegment& next = path[(i + 1) % path.size()];
        EXPECT_LE(distance(s.end, next.start), kLengthTolerance + 1e-12) << what << " gap after segment " << i;
        EXPECT_GT(distance(s.start, s.end), kLengthTolerance) << what << " segment " << i;
        if (s.kind == SegmentKind::Line) continue;
        ASSERT_EQ(p.cutMode, CutMode::CncRouter) << what << " arc in a laser path";
        EXPECT_LE(s.radius, p.toolDiameter / 2 + 1e-12) << what;
        EXPECT_NEAR(distance(s.start, s.center), s.radius, kGeometryEps) << what;
        EXPECT_NEAR(distance(s.end, s.center), s.radius, kGeometryEps) << what;
        // The arc must pass the concave corner it serves, with its ends on that corner's two edges.
        const Outline& o = piece.outline;
        const size_t n = o.size();
        size_t corner = n;
        for (size_t k = 0; k < n && corner == n; ++k)
            if (std::fabs(distance(o[k], s.center) - s.radius) < kGeometryEps && onSegment(s.start, o[(k + n - 1) % n], o[k]) &&
                onSegment(s.end, o[k], o[(k + 1) % n]))
                corner = k;
        ASSERT_NE(corner, n) << what << " arc " << i << " serves no corner";
        EXPECT_EQ(s.counterClockwise, arcIsCounterClockwise(s.start, s.end, o[corner], s.center)) << what;
        const auto [from, to] = arcAnglesDegrees(s);
        EXPECT_NEAR(ccwSweep(from, to), 180, 1e-6) << what << " right-angled corners get half circles";
        EXPECT_LT(ccwSweep(from, degrees(s.center, o[corner])), ccwSweep(from, to)) << what << " arc misses its corner";
    }
}

void checkJoints(const PieceSet& pieces, const BoxParameters& p, const std::string& what) {
    const double t = p.materialThickness, notch = t + p.clearance;
    const Piece* base = find(pieces, L"Base");
    const Piece* back = find(pieces, L"Atras");
    const Piece* front = find(pieces, L"Frente");
    const Piece* left = find(pieces, L"Lateral izquierdo");
    const Piece* right = find(pieces, L"Lateral derecho");
    ASSERT_TRUE(base && back && front && left && right) << what;
    const Box b = extent(*base);
    const size_t fw = static_cast<size_t>(p.fingerCountWidth), fd = static_cast<size_t>(p.fingerCountDepth),
                 fh = static_cast<size_t>(p.fingerCountHeight);

    // Walls stand on the base: their bottom tabs fall straight into the facing notches on the plan.
    expectSameSpans(spansOnLine(*back, true, extent(*back).maxY, 0), spansOnLine(*base, true, b.minY + notch, 0),
                    fw, what + " back on base");
    expectSameSpans(spansOnLine(*front, true, extent(*front).minY, 0),
                    spansOnLine(*base, true, b.maxY - notch, 0), fw, what + " front on base");
    expectSameSpans(spansOnLine(*left, false, extent(*left).maxX, 0), spansOnLine(*base, false, b.minX + notch, 0),
                    fd, what + " left on base");
    expectSameSpans(spansOnLine(*right, false, extent(*right).minX, 0),
                    spansOnLine(*base, false, b.maxX - notch, 0), fd, what + " right on base");

    // Corner joints, measured down from each wall's top edge.
    const double lidTabs = p.includeLid ? t : 0;
    for (const Piece* wall : {back, front}) {
        const Box w = extent(*wall);
        const double top = wall == back ? w.minY + lidTabs : w.maxY - lidTabs;
        for (const Piece* side : {left, right}) {
            const Box s = extent(*side);
            const double sideTop = side == left ? s.minX + lidTabs : s.maxX - lidTabs;
            for (bool farEnd : {false, true}) {
                const Spans tabs = spansOnLine(*wall, false, farEnd ? w.maxX : w.minX, top);
                const Spans notches = spansOnLine(*side, true, farEnd ? s.maxY - notch : s.minY + notch, sideTop);
                expectSameSpans(distancesFromTop(tabs), distancesFromTop(notches), fh, what + " corner joint");
            }
        }
    }

    const Piece* lid = find(pieces, L"Tapa");
    ASSERT_EQ(lid != nullptr, p.includeLid) << what;
    if (!lid) return;
    const Box l = extent(*lid);
    const Box bw = extent(*back);
    expectSameSpans(spansOnLine(*back, true, bw.minY, bw.minX), spansOnLine(*lid, true, l.minY + notch, l.minX), fw,
                    what + " back under lid");
    const Box lw = extent(*left);
    expectSameSpans(spansOnLine(*left, false, lw.minX, lw.minY), spansOnLine(*lid, false, l.minX + notch, l.minY), fd,
                    what + " left side under lid");
}

void checkDividers(const PieceSet& pieces, const BoxParameters& p, const std::string& what) {
    const double t = p.materialThickness;
    const Piece* base = find(pieces, L"Base");
    std::vector<const Piece*> widthDividers, depthDividers, widthCuts, depthCuts;
    for (const Piece& piece : pieces) {
        if (piece.name == L"Divisor ancho") widthDividers.push_back(&piece);
        if (piece.name == L"Divisor profundidad") depthDividers.push_back(&piece);
        if (piece.name == L"Ranura base ancho") widthCuts.push_back(&piece);
        if (piece.name == L"Ranura base profundidad") depthCuts.push_back(&piece);
    }
    const size_t nw = static_cast<size_t>(p.widthDividerCount), nd = static_cast<size_t>(p.depthDividerCount);
    ASSERT_EQ(widthDividers.size(), nw) << what;
    ASSERT_EQ(depthDividers.size(), nd) << what;
    const size_t cuts = p.addDividerBaseSlots ? 1 : 0;
    ASSERT_EQ(widthCuts.size(), cuts * nw) << what;
    ASSERT_EQ(depthCuts.size(), cuts * nd) << what;

    // Slot bottoms: the horizontal outline edges off the divider's top and bottom lines.
    const auto slots = [](const Piece& divider, bool fromTop, std::vector<double>& centers, double& depth) {
        const Box e = extent(divider);
        const size_t n = divider.outline.size();
        for (size_t i = 0; i < n; ++i) {
            const Point2 a = divider.outline[i], b = divider.outline[(i + 1) % n];
            const double y = a.y + divider.y;
            if (std::fabs(a.y - b.y) > kGeometryEps || std::fabs(y - e.minY) < kGeometryEps ||
                std::fabs(y - e.maxY) < kGeometryEps)
                continue;
            centers.push_back((a.x + b.x) / 2 + divider.x - e.minX);
            depth = fromTop ? y - e.minY : e.maxY - y;
        }
        std::sort(centers.begin(), centers.end());
    };
    for (const Piece* d : widthDividers) {
        std::vector<double> centers;
        double depth = 0;
        slots(*d, true, centers, depth);
        ASSERT_EQ(centers.size(), nd) << what << " one slot per crossing divider";
        for (const Piece* cross : depthDividers) {
            std::vector<double> crossCenters;
            double crossDepth = 0;
            slots(*cross, false, crossCenters, crossDepth);
            ASSERT_EQ(crossCenters.size(), nw) << what;
            EXPECT_GE(depth + crossDepth, d->height - 1e-9) << what << " crossing dividers slide fully together";
        }
        // Each width divider's slots sit over the depth dividers' base cut-outs, and vice versa.
        for (size_t k = 0; k < depthCuts.size(); ++k)
            EXPECT_NEAR(centers[k], depthCuts[k]->y + depthCuts[k]->height / 2 - (base->y + t), 1e-6) << what;
    }
    for (const Piece* d : depthDividers) {
        std::vector<double> centers;
        double depth = 0;
        slots(*d, false, centers, depth);
        ASSERT_EQ(centers.size(), nw) << what;
        for (size_t k = 0; k < widthCuts.size(); ++k)
            EXPECT_NEAR(centers[k], widthCuts[k]->x + widthCuts[k]->width / 2 - (base->x + t), 1e-6) << what;
    }
}

void checkPlan(const PieceSet& pieces, const BoxParameters& p, const std::string& what) {
    const Piece* base = find(pieces, L"Base");
    const double t = p.materialThickness;
    for (const Piece& piece : pieces) {
        const Box e = extent(piece, true);
        EXPECT_NEAR(e.minX, piece.x, kGeometryEps) << what;
        EXPECT_NEAR(e.minY, piece.y, kGeometryEps) << what;
        EXPECT_NEAR(e.maxX, piece.x + piece.width, kGeometryEps) << what;
        EXPECT_NEAR(e.maxY, piece.y + piece.height, kGeometryEps) << what;
        EXPECT_GE(piece.x, -kGeometryEps) << what;
        EXPECT_GE(piece.y, -kGeometryEps) << what;
        if (piece.innerCut) {
            // Cut-outs lie in the base, within its walls.
            EXPECT_GE(piece.x, base->x + t - kGeometryEps) << what;
            EXPECT_GE(piece.y, base->y + t - kGeometryEps) << what;
            EXPECT_LE(piece.x + piece.width, base->x + base->width - t + kGeometryEps) << what;
            EXPECT_LE(piece.y + piece.height, base->y + base->height - t + kGeometryEps) << what;
        }
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        for (size_t j = i + 1; j < pieces.size(); ++j) {
            const Piece& a = pieces[i];
            const Piece& b = pieces[j];
            if (a.innerCut || b.innerCut) continue;
            const double gap = p.spacing - kGeometryEps;
            const bool apart = a.x + a.width + gap <= b.x || b.x + b.width + gap <= a.x ||
                               a.y + a.height + gap <= b.y || b.y + b.height + gap <= a.y;
            EXPECT_TRUE(apart) << what << " pieces " << i << " and " << j << " closer than the spacing";
        }
    }
}

TEST(GeneratedDesigns, KeepTheirInvariants) {
    DesignSource source;
    int routerDividers = 0, lids = 0, baseSlots = 0;
    for (int i = 0; i < kDesigns && !HasFailure(); ++i) {
        const BoxParameters p = source.validDesign();
        const std::string what = describe(p);
        const PieceSet pieces = generatePieces(p);
        const bool anyDividers = p.widthDividerCount + p.depthDividerCount > 0;
        routerDividers += p.cutMode == CutMode::CncRouter && anyDividers;
        lids += p.includeLid;
        baseSlots += p.addDividerBaseSlots && anyDividers;
        for (const Piece& piece : pieces) checkPath(piece, p, what);
        checkPlan(pieces, p, what);
        checkJoints(pieces, p, what);
        checkDividers(pieces, p, what);
    }
    // The source must really exercise the rarer features.
    EXPECT_GT(routerDividers, kDesigns / 10);
    EXPECT_GT(lids, kDesigns / 4);
    EXPECT_GT(baseSlots, kDesigns / 4);
}

}  // namespace
