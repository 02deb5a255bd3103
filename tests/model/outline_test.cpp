#include "model/outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

namespace {

constexpr double kEps = 1e-9;

void expectOutline(const Outline& actual, const Outline& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, kEps) << what << " point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, kEps) << what << " point " << i;
    }
}

Outline edge(EdgeStyle style, int32_t count, double length, double startInset = 0, double endInset = 0) {
    Outline outline;
    appendFingerEdge(outline, {0, 0}, {length, 0}, {0, -1}, 3.0, 0.1, count, style, startInset, endInset);
    return outline;
}

TEST(AppendPointIfDistinct, KeepsOnlyPointsFartherThanTheTolerance) {
    Outline outline;
    appendPointIfDistinct(outline, {1, 1});
    appendPointIfDistinct(outline, {1 + kPointTolerance, 1});  // exactly the tolerance: same point
    appendPointIfDistinct(outline, {1, 1.0002});
    expectOutline(outline, {{1, 1}, {1, 1.0002}}, "dedup");
}

TEST(AppendFingerEdge, EdgeShapes) {
    const double s7 = 194.0 / 7;
    struct Case {
        const char* what;
        Outline actual;
        Outline expected;
    };
    const Case cases[] = {
        {"two tabs stand out by t on the second and fourth fifths", edge(EdgeStyle::Tabs, 2, 100),
         {{0, 0}, {20, 0}, {20, -3}, {40, -3}, {40, 0}, {60, 0}, {60, -3}, {80, -3}, {80, 0}, {100, 0}}},
        {"notches cut in by t + c", edge(EdgeStyle::Notches, 1, 30),
         {{0, 0}, {10, 0}, {10, 3.1}, {20, 3.1}, {20, 0}, {30, 0}}},
        {"insets stay straight and the fingers spread over the rest", edge(EdgeStyle::Tabs, 3, 200, 3, 3),
         {{0, 0}, {3, 0}, {3 + s7, 0}, {3 + s7, -3}, {3 + 2 * s7, -3}, {3 + 2 * s7, 0}, {3 + 3 * s7, 0},
          {3 + 3 * s7, -3}, {3 + 4 * s7, -3}, {3 + 4 * s7, 0}, {3 + 5 * s7, 0}, {3 + 5 * s7, -3},
          {3 + 6 * s7, -3}, {3 + 6 * s7, 0}, {197, 0}, {200, 0}}},
        {"insets filling the edge leave it straight", edge(EdgeStyle::Tabs, 3, 10, 4, 6), {{0, 0}, {10, 0}}},
        {"negative insets count as none", edge(EdgeStyle::Notches, 1, 30, -5, -5),
         {{0, 0}, {10, 0}, {10, 3.1}, {20, 3.1}, {20, 0}, {30, 0}}},
        {"a plain edge is its end point", edge(EdgeStyle::Plain, 5, 50), {{0, 0}, {50, 0}}},
        {"no fingers is a straight edge", edge(EdgeStyle::Tabs, 0, 50), {{0, 0}, {50, 0}}},
        {"a negative count is a straight edge", edge(EdgeStyle::Tabs, -1, 50), {{0, 0}, {50, 0}}},
        // 2n + 1 overflows 32 bits here; the edge must stay straight, not wrap to one segment by accident.
        {"the smallest count is a straight edge", edge(EdgeStyle::Tabs, std::numeric_limits<int32_t>::min(), 50),
         {{0, 0}, {50, 0}}},
        {"a zero-length edge adds nothing after its start", edge(EdgeStyle::Tabs, 2, 0.00005), {{0, 0}}},
    };
    for (const Case& c : cases) expectOutline(c.actual, c.expected, c.what);
}

TEST(AppendFingerEdge, ContinuesFromTheLastPointWithoutRepeatingIt) {
    Outline outline{{0, 0}};
    appendFingerEdge(outline, {0, 0}, {10, 0}, {0, -1}, 1, 0, 1, EdgeStyle::Plain, 0, 0);
    appendFingerEdge(outline, {10, 0}, {10, 6}, {1, 0}, 1, 0, 1, EdgeStyle::Tabs, 0, 0);
    expectOutline(outline, {{0, 0}, {10, 0}, {10, 2}, {11, 2}, {11, 4}, {10, 4}, {10, 6}}, "two edges");
}

TEST(PanelOutline, DefaultBoxPanels) {
    const double third = 97.0 / 3;
    const EdgeInsetList none{};
    const Outline back = panelOutline({3, 1, 3, 1}, {EdgeStyle::Plain, EdgeStyle::Tabs, EdgeStyle::Tabs, EdgeStyle::Tabs},
                                      194, 97, 3, 0.1, none);
    ASSERT_EQ(back.size(), 24u);
    expectOutline(Outline(back.begin(), back.begin() + 7),
                  {{0, 0}, {194, 0}, {194, third}, {197, third}, {197, 2 * third}, {194, 2 * third}, {194, 97}},
                  "back wall start");
}

TEST(PanelOutline, PlainPanelIsItsCornersAndNeverRepeatsTheFirstPoint) {
    const EdgeStyles plain{EdgeStyle::Plain, EdgeStyle::Plain, EdgeStyle::Plain, EdgeStyle::Plain};
    expectOutline(panelOutline({1, 1, 1, 1}, plain, 40, 30, 3, 0.1, {}), {{0, 0}, {40, 0}, {40, 30}, {0, 30}},
                  "plain");
    // Notches on the last edge end exactly at the first point: stored once.
    const Outline notched = panelOutline({1, 1, 1, 1}, {EdgeStyle::Plain, EdgeStyle::Plain, EdgeStyle::Plain,
                                                        EdgeStyle::Notches},
                                         40, 30, 3, 0.1, {});
    EXPECT_EQ(notched.size(), 8u);
    EXPECT_NEAR(notched.back().x, 0, kEps);
    EXPECT_NEAR(notched.back().y, 10, kEps);
}

TEST(DividerSlotCenters, SpreadsEvenlyInsideTheLength) {
    EXPECT_EQ(dividerSlotCenters(3, 100), (std::vector<double>{25, 50, 75}));
    EXPECT_TRUE(dividerSlotCenters(0, 100).empty());
    EXPECT_TRUE(dividerSlotCenters(-2, 100).empty());
}

TEST(DividerOutline, Slots) {
    struct Case {
        const char* what;
        Outline actual;
        Outline expected;
    };
    const Case cases[] = {
        {"one top slot centred and t + c wide, half the height deep", dividerOutline(1, SlotSide::Top, 100, 40, 3, 0.1),
         {{0, 0}, {48.45, 0}, {48.45, 20}, {51.55, 20}, {51.55, 0}, {100, 0}, {100, 40}, {0, 40}}},
        {"one bottom slot cut up from the bottom edge", dividerOutline(1, SlotSide::Bottom, 100, 40, 3, 0.1),
         {{0, 0}, {100, 0}, {100, 40}, {51.55, 40}, {51.55, 20}, {48.45, 20}, {48.45, 40}, {0, 40}}},
        {"no side is a rectangle", dividerOutline(4, SlotSide::None, 100, 40, 3, 0.1),
         {{0, 0}, {100, 0}, {100, 40}, {0, 40}}},
        {"10 high with t = 3: 5 deep", dividerOutline(1, SlotSide::Top, 10, 10, 3, 0),
         {{0, 0}, {3.5, 0}, {3.5, 5}, {6.5, 5}, {6.5, 0}, {10, 0}, {10, 10}, {0, 10}}},
        {"5 high with t = 3: 3 deep", dividerOutline(1, SlotSide::Top, 10, 5, 3, 0),
         {{0, 0}, {3.5, 0}, {3.5, 3}, {6.5, 3}, {6.5, 0}, {10, 0}, {10, 5}, {0, 5}}},
        {"a slot reaching the left end is left out", topSlottedOutline(1, 120, 5, 100, 10),
         {{0, 0}, {100, 0}, {100, 10}, {0, 10}}},
        {"a bottom slot reaching the left end is left out", bottomSlottedOutline(1, 120, 5, 100, 10),
         {{0, 0}, {100, 0}, {100, 10}, {0, 10}}},
        {"a top slot overlapping the previous one is left out", topSlottedOutline(3, 4, 2, 10, 6),
         {{0, 0}, {0.5, 0}, {0.5, 2}, {4.5, 2}, {4.5, 0}, {5.5, 0}, {5.5, 2}, {9.5, 2}, {9.5, 0}, {10, 0}, {10, 6},
          {0, 6}}},
        {"a bottom slot overlapping the previous one is left out", bottomSlottedOutline(3, 4, 2, 10, 6),
         {{0, 0}, {10, 0}, {10, 6}, {9.5, 6}, {9.5, 4}, {5.5, 4}, {5.5, 6}, {4.5, 6}, {4.5, 4}, {0.5, 4}, {0.5, 6},
          {0, 6}}},
    };
    for (const Case& c : cases) expectOutline(c.actual, c.expected, c.what);
}

}  // namespace
