// Finger edges, divider slots and dogbones on hand-sized shapes, where the exact points are known.
#include "model/cut_path.h"
#include "model/outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

void expectOutline(const Outline& actual, const Outline& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << what << " point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << what << " point " << i;
    }
}

Outline edge(EdgeStyle style, int32_t count, double length, EdgeInsets insets = {}) {
    Outline outline;
    appendFingerEdge(outline, {{0, 0}, {length, 0}, {0, -1}}, {count, style, insets}, {3.0, 0.1});
    return outline;
}

Outline divider(DividerShape shape, double t, double c) { return dividerOutline(shape, {t, c}); }

TEST(Outlines, EdgesSlotsAndTheirDegenerateCases) {
    const double s7 = 194.0 / 7;
    const struct {
        const char* what;
        Outline actual;
        Outline expected;
    } cases[] = {
        {"notches cut in by t + c; negative insets count as none", edge(EdgeStyle::Notches, 1, 30, {-5, -5}),
         {{0, 0}, {10, 0}, {10, 3.1}, {20, 3.1}, {20, 0}, {30, 0}}},
        {"insets stay straight and the fingers spread over the rest", edge(EdgeStyle::Tabs, 3, 200, {3, 3}),
         {{0, 0}, {3, 0}, {3 + s7, 0}, {3 + s7, -3}, {3 + 2 * s7, -3}, {3 + 2 * s7, 0}, {3 + 3 * s7, 0},
          {3 + 3 * s7, -3}, {3 + 4 * s7, -3}, {3 + 4 * s7, 0}, {3 + 5 * s7, 0}, {3 + 5 * s7, -3},
          {3 + 6 * s7, -3}, {3 + 6 * s7, 0}, {197, 0}, {200, 0}}},
        {"insets filling the edge leave it straight", edge(EdgeStyle::Tabs, 3, 10, {4, 6}), {{0, 0}, {10, 0}}},
        {"a plain edge is its end point", edge(EdgeStyle::Plain, 5, 50), {{0, 0}, {50, 0}}},
        // 2n + 1 overflows 32 bits here; the edge must stay straight, not wrap to one segment.
        {"the smallest count", edge(EdgeStyle::Tabs, std::numeric_limits<int32_t>::min(), 50), {{0, 0}, {50, 0}}},
        {"a zero-length edge adds nothing after its start", edge(EdgeStyle::Tabs, 2, 0.00005), {{0, 0}}},
        {"notches ending on the first point store it once",
         panelOutline({40, 30, {{{1, EdgeStyle::Plain, {}}, {1, EdgeStyle::Plain, {}}, {1, EdgeStyle::Plain, {}}, {1, EdgeStyle::Notches, {}}}}},
                      {3, 0.1}),
         {{0, 0}, {40, 0}, {40, 30}, {0, 30}, {0, 20}, {3.1, 20}, {3.1, 10}, {0, 10}}},
        {"one top slot, t + c wide and half the height deep", divider({100, 40, 1, SlotSide::Top}, 3, 0.1),
         {{0, 0}, {48.45, 0}, {48.45, 20}, {51.55, 20}, {51.55, 0}, {100, 0}, {100, 40}, {0, 40}}},
        {"a bottom slot at least t deep", divider({10, 5, 1, SlotSide::Bottom}, 3, 0),
         {{0, 0}, {10, 0}, {10, 5}, {6.5, 5}, {6.5, 2}, {3.5, 2}, {3.5, 5}, {0, 5}}},
        {"a slot reaching the end is left out", divider({100, 10, 1, SlotSide::Bottom}, 100, 20),
         {{0, 0}, {100, 0}, {100, 10}, {0, 10}}},
        {"a top slot overlapping the previous one is left out", divider({10, 6, 3, SlotSide::Top}, 3, 1),
         {{0, 0}, {0.5, 0}, {0.5, 3}, {4.5, 3}, {4.5, 0}, {5.5, 0}, {5.5, 3}, {9.5, 3}, {9.5, 0}, {10, 0}, {10, 6},
          {0, 6}}},
        {"a bottom slot overlapping the previous one is left out", divider({10, 6, 3, SlotSide::Bottom}, 3, 1),
         {{0, 0}, {10, 0}, {10, 6}, {9.5, 6}, {9.5, 3}, {5.5, 3}, {5.5, 6}, {4.5, 6}, {4.5, 3}, {0.5, 3}, {0.5, 6},
          {0, 6}}},
    };
    for (const auto& c : cases) expectOutline(c.actual, c.expected, c.what);

    Outline points;
    for (Point2 p : {Point2{1, 1}, Point2{1 + kPointTolerance, 1}, Point2{1, 1.0002}}) appendPointIfDistinct(points, p);
    expectOutline(points, {{1, 1}, {1, 1.0002}}, "a point at exactly the tolerance is the same point");
    EXPECT_TRUE(dividerSlotCenters(-2, 100).empty());
}

// A 50 x 20 block with one notch of the given width and 3.1 deep cut down from its top edge at x = 10.
Outline notchedBlock(double width) {
    return {{0, 0}, {10, 0}, {10, 3.1}, {10 + width, 3.1}, {10 + width, 0}, {50, 0}, {50, 20}, {0, 20}};
}

TEST(CutPaths, DogbonesOnlyWhereABitCannotReach) {
    const struct {
        const char* what;
        Outline outline;
        double tool;
        size_t segments;
        int arcs;
        double radius;
    } cases[] = {
        {"a rectangle has no concave corner", rectangleOutline(30, 20), 3.175, 4, 0, 0},
        {"a triangle is too short to have one", {{0, 0}, {10, 0}, {5, 5}}, 3.175, 3, 0, 0},
        {"no bit", notchedBlock(30), 0, 8, 0, 0},
        {"wide notch: the bit's radius", notchedBlock(30), 3.175, 10, 2, 3.175 / 2},
        {"narrow notch: shrunk to fit", notchedBlock(2), 6, 10, 2, 2 / std::sqrt(2.0) * 0.95},
    };
    for (const auto& c : cases) {
        const CutPath path = dogbonePath(c.outline, c.tool);
        EXPECT_EQ(path.size(), c.segments) << c.what;
        int arcs = 0;
        for (const PathSegment& s : path) arcs += s.kind == SegmentKind::Arc && std::fabs(s.radius - c.radius) < 1e-9;
        EXPECT_EQ(arcs, c.arcs) << c.what;
    }
    const CutPath laser = laserPath({{0, 0}, {10, 0}, {10, 0}, {10, 5}});
    ASSERT_EQ(laser.size(), 3u) << "the empty line is dropped";
    EXPECT_NEAR(laser.back().end.x, 0, 1e-12);
    EXPECT_TRUE(laserPath({{1, 1}}).empty());
}

TEST(CutPaths, ArcDirectionAndAnglesReadCounterClockwise) {
    const struct {
        Point2 start, end, through;
        bool ccw;
    } arcs[] = {{{1, 0}, {-1, 0}, {0, 1}, true}, {{1, 0}, {-1, 0}, {0, -1}, false},
                {{0, -1}, {0, 1}, {1, 0}, true}, {{0, -1}, {0, 1}, {-1, 0}, false}};  // the last two across the angles' wrap
    for (const auto& a : arcs) EXPECT_EQ(arcIsCounterClockwise(a.start, a.end, a.through, {0, 0}), a.ccw);
    for (bool ccw : {true, false}) {
        const auto [first, second] = arcAnglesDegrees({SegmentKind::Arc, {5, 4}, {5, 6}, {5, 5}, 1, ccw});
        EXPECT_TRUE(std::fabs(first - (ccw ? 270 : 90)) < 1e-9 && std::fabs(second - (ccw ? 90 : 270)) < 1e-9) << ccw;
    }
    EXPECT_NEAR(arcAnglesDegrees({SegmentKind::Arc, {-1, -0.0}, {1, 0}, {0, 0}, 1, true}).first, 180, 1e-9) << "atan2 gives -180 here";
}

}  // namespace
