#include "app/panel_scroll.h"

#include <gtest/gtest.h>

namespace {

TEST(PanelScrollTest, ClampsIntoTheScrollableRange) {
    const struct {
        int32_t target, content, client, expected;
    } cases[] = {
        {0, 905, 500, 0},     {-24, 905, 500, 0},  {100, 905, 500, 100}, {405, 905, 500, 405},
        {406, 905, 500, 405}, {9999, 905, 500, 405},
        {100, 905, 905, 0},   // content fits exactly
        {100, 905, 2000, 0},  // content fits with room
        {100, 905, 0, 100},   // a zero client height counts as one pixel
        {9999, 905, -5, 904},
        {50, 0, 500, 0},      // nothing created yet
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.target << " in " << c.content << "/" << c.client);
        EXPECT_EQ(clampPanelScroll(c.target, c.content, c.client), c.expected);
    }
}

TEST(PanelScrollTest, WheelMovesSixtyPixelsPerWholeNotch) {
    const struct {
        int32_t position, delta, expected;
    } cases[] = {
        {200, -120, 260}, {200, 120, 140}, {200, 240, 80}, {200, -360, 380},
        {200, 60, 200},   // half a notch of a fine wheel does nothing
        {200, -119, 200}, {200, 239, 140}, {200, -239, 260}, {0, 120, -60},  // clamping comes later
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << " delta " << c.delta);
        EXPECT_EQ(wheelScrollTarget(c.position, c.delta), c.expected);
    }
}

TEST(PanelScrollTest, ScrollBarRequestsMoveByLinePageOrToTheEnds) {
    const ScrollBarState bar{100, 400, 0, 904, 333};
    const struct {
        ScrollRequest request;
        int32_t expected;
    } cases[] = {
        {ScrollRequest::LineUp, 76},     {ScrollRequest::LineDown, 124},   {ScrollRequest::PageUp, -300},
        {ScrollRequest::PageDown, 500},  {ScrollRequest::ThumbTrack, 333}, {ScrollRequest::Top, 0},
        {ScrollRequest::Bottom, 904},    {ScrollRequest::Other, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "request " << static_cast<int>(c.request));
        EXPECT_EQ(scrollRequestTarget(c.request, bar), c.expected);
    }
}

}  // namespace
