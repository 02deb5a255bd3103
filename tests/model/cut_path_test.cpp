#include "model/cut_path.h"
#include "model/piece_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double kEps = 1e-9;
const double kRoot2 = std::sqrt(2.0);

int arcCount(const CutPath& path) {
    return static_cast<int>(std::count_if(path.begin(), path.end(),
                                          [](const PathSegment& s) { return s.kind == SegmentKind::Arc; }));
}

void expectPoint(Point2 actual, Point2 expected, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, kEps) << what;
    EXPECT_NEAR(actual.y, expected.y, kEps) << what;
}

// A 50 x 20 block with one notch of the given width and depth cut down from its top edge at x = 10.
Outline notchedBlock(double width, double depth) {
    return {{0, 0}, {10, 0}, {10, depth}, {10 + width, depth}, {10 + width, 0}, {50, 0}, {50, 20}, {0, 20}};
}

TEST(LaserPath, ClosedChainOfLinesDroppingEmptyOnes) {
    const CutPath path = laserPath({{0, 0}, {10, 0}, {10, 0}, {10, 5}});
    ASSERT_EQ(path.size(), 3u);
    for (const PathSegment& s : path) EXPECT_EQ(s.kind, SegmentKind::Line);
    expectPoint(path.back().start, {10, 5}, "closing line start");
    expectPoint(path.back().end, {0, 0}, "closing line end");
    EXPECT_TRUE(laserPath({{1, 1}}).empty());
    EXPECT_TRUE(laserPath({}).empty());
}

TEST(DogbonePath, FallsBackToLinesWhereNoDogboneIsPossible) {
    struct Case {
        const char* what;
        Outline outline;
        double tool;
        size_t lines;
    };
    const Case cases[] = {
        {"a rectangle has no concave corner", rectangleOutline(30, 20), 3.175, 4},
        {"a triangle is too short to have one", {{0, 0}, {10, 0}, {5, 5}}, 3.175, 3},
        {"no bit", notchedBlock(30, 3.1), 0, 8},
        {"a negative bit", notchedBlock(30, 3.1), -1, 8},
    };
    for (const Case& c : cases) {
        const CutPath path = dogbonePath(c.outline, c.tool);
        EXPECT_EQ(path.size(), c.lines) << c.what;
        EXPECT_EQ(arcCount(path), 0) << c.what;
    }
}

TEST(DogbonePath, ArcsSitInTheNotchCornersOnly) {
    struct Case {
        const char* what;
        double width;
        double tool;
        double radius;
    };
    const Case cases[] = {
        {"wide notch: the bit's radius", 30, 3.175, 3.175 / 2},
        {"narrow notch: shrunk to fit", 2, 6, 2 / kRoot2 * 0.95},
    };
    for (const Case& c : cases) {
        const Outline outline = notchedBlock(c.width, 3.1);
        const CutPath path = dogbonePath(outline, c.tool);
        ASSERT_EQ(arcCount(path), 2) << c.what;
        const Point2 corners[2] = {outline[2], outline[3]};
        int found = 0;
        for (const PathSegment& s : path) {
            if (s.kind != SegmentKind::Arc) continue;
            const Point2 corner = corners[found++];
            EXPECT_NEAR(s.radius, c.radius, kEps) << c.what;
            EXPECT_NEAR(std::hypot(s.start.x - corner.x, s.start.y - corner.y), kRoot2 * c.radius, kEps) << c.what;
            EXPECT_NEAR(std::hypot(s.end.x - corner.x, s.end.y - corner.y), kRoot2 * c.radius, kEps) << c.what;
            EXPECT_NEAR(std::hypot(s.center.x - corner.x, s.center.y - corner.y), c.radius, kEps) << c.what;
        }
    }
}

TEST(DogbonePath, DefaultBoxPanels) {
    const double t = 3, c = 0.1, tool = 3.175;
    const EdgeStyles notches{EdgeStyle::Notches, EdgeStyle::Notches, EdgeStyle::Notches, EdgeStyle::Notches};
    struct Case {
        const char* what;
        Piece piece;
        int arcs;
        size_t segments;
    };
    const Case cases[] = {
        {"base", buildFingerPanel(L"Base", {3, 2, 3, 2}, notches, true, 200, 150, t, c, tool,
                                  {{{3, 3}, {0, 0}, {3, 3}, {0, 0}}}),
         20, 68},
        {"back wall", buildFingerPanel(L"Atras", {3, 1, 3, 1},
                                       {EdgeStyle::Plain, EdgeStyle::Tabs, EdgeStyle::Tabs, EdgeStyle::Tabs}, true, 194,
                                       97, t, c, tool, {}),
         10, 34},
        {"side", buildFingerPanel(L"Lateral izquierdo", {2, 1, 2, 1},
                                  {EdgeStyle::Plain, EdgeStyle::Notches, EdgeStyle::Tabs, EdgeStyle::Notches}, true,
                                  150, 97, t, c, tool, {}),
         8, 28},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(arcCount(k.piece.path), k.arcs) << k.what;
        EXPECT_EQ(k.piece.path.size(), k.segments) << k.what;
    }

}

TEST(ArcIsCounterClockwise, TrueWhenTheCounterClockwiseSweepPassesTheCorner) {
    // Half circle of radius 1 about the origin from (1, 0) to (-1, 0).
    EXPECT_TRUE(arcIsCounterClockwise({1, 0}, {-1, 0}, {0, 1}, {0, 0}));
    EXPECT_FALSE(arcIsCounterClockwise({1, 0}, {-1, 0}, {0, -1}, {0, 0}));
    // Sweeps across the +x axis where the angles wrap.
    EXPECT_TRUE(arcIsCounterClockwise({0, -1}, {0, 1}, {1, 0}, {0, 0}));
    EXPECT_FALSE(arcIsCounterClockwise({0, -1}, {0, 1}, {-1, 0}, {0, 0}));
}

TEST(ArcAnglesDegrees, ReadCounterClockwiseFirstToSecond) {
    PathSegment arc;
    arc.kind = SegmentKind::Arc;
    arc.center = {5, 5};
    arc.radius = 1;
    arc.start = {5, 4};  // 270 degrees
    arc.end = {5, 6};    // 90 degrees
    arc.counterClockwise = true;
    auto [a, b] = arcAnglesDegrees(arc);
    EXPECT_NEAR(a, 270, kEps);
    EXPECT_NEAR(b, 90, kEps);
    arc.counterClockwise = false;
    std::tie(a, b) = arcAnglesDegrees(arc);
    EXPECT_NEAR(a, 90, kEps);
    EXPECT_NEAR(b, 270, kEps);
    arc.center = {0, 0};
    arc.start = {-1, -0.0};  // atan2 gives -180 here; it must come out as 180
    arc.end = {1, 0};
    arc.counterClockwise = true;
    std::tie(a, b) = arcAnglesDegrees(arc);
    EXPECT_NEAR(a, 180, kEps);
    EXPECT_NEAR(b, 0, kEps);
}

}  // namespace
