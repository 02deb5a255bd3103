#include "preview/preview_view_state.h"

#include <gtest/gtest.h>

#include <cmath>

#include "piece_builders.h"
#include "preview/plan_preview.h"

namespace {

const ClientRect kClient{0, 0, 860, 640};

TEST(ViewStateTest, WheelForwardStopsAtEightOnTheFifteenthStep) {
    PreviewViewState state;
    double expected = 1.0;
    for (int step = 1; step <= 14; ++step) {
        ASSERT_TRUE(zoomAt(state, 120, 100, 100, kClient, {}));
        expected *= 1.15;
        EXPECT_DOUBLE_EQ(state.zoom, expected) << step;
    }
    EXPECT_TRUE(zoomAt(state, 120, 100, 100, kClient, {}));
    EXPECT_EQ(state.zoom, 8.0);
    const PreviewViewState atLimit = state;
    EXPECT_FALSE(zoomAt(state, 120, 300, 300, kClient, {}));
    EXPECT_EQ(state.zoom, 8.0);
    EXPECT_EQ(state.panX, atLimit.panX);
    EXPECT_EQ(state.panY, atLimit.panY);
}

TEST(ViewStateTest, WheelBackStopsAtOneFifthOnTheTwelfthStep) {
    PreviewViewState state;
    state.show3D = true;
    for (int step = 1; step <= 11; ++step) {
        ASSERT_TRUE(zoomAt(state, -120, 0, 0, kClient, {}));
        EXPECT_GT(state.zoom, 0.2) << step;
    }
    EXPECT_TRUE(zoomAt(state, 0, 0, 0, kClient, {}));  // a zero delta also zooms out
    EXPECT_EQ(state.zoom, 0.2);
    EXPECT_FALSE(zoomAt(state, -1, 0, 0, kClient, {}));
}

TEST(ViewStateTest, TwoDimensionalZoomKeepsThePlanPointUnderTheCursor) {
    const PieceSet pieces{handPiece(L"Base", 112, 112, rectanglePath(200, 150)),
                          handPiece(L"Atras", 112, 0, rectanglePath(200, 100))};
    const PlanFit fit = fitPlan(kClient, pieces);
    const int32_t cursors[][2] = {{430, 320}, {100, 90}, {800, 600}, {0, 0}};
    for (const auto& cursor : cursors) {
        PreviewViewState state;
        state.panX = 37;
        state.panY = -25;
        for (int step = 0; step < 6; ++step) {
            const int32_t wheel = step < 4 ? 120 : -120;
            const double planX = (cursor[0] - fit.originX - state.panX) / (fit.scale * state.zoom) + fit.minX;
            const double planY = (cursor[1] - fit.originY - state.panY) / (fit.scale * state.zoom) + fit.minY;
            ASSERT_TRUE(zoomAt(state, wheel, cursor[0], cursor[1], kClient, pieces));
            const PixelPoint after = mapPlanPoint(PlanView{fit, state.zoom, state.panX, state.panY}, {planX, planY});
            EXPECT_NEAR(after.x, cursor[0], 2) << step;
            EXPECT_NEAR(after.y, cursor[1], 2) << step;
        }
    }
}

TEST(ViewStateTest, ThreeDimensionalZoomScalesThePanAboutTheCursor) {
    PreviewViewState state;
    state.show3D = true;
    state.panX = 10;
    state.panY = -20;
    ASSERT_TRUE(zoomAt(state, 120, 200, 100, kClient, {}));
    EXPECT_EQ(state.panX, static_cast<int32_t>(200 - (200 - 10) * 1.15));
    EXPECT_EQ(state.panY, static_cast<int32_t>(100 - (100 + 20) * 1.15));
}

struct DragCase {
    const char* name;
    int32_t dx;
    int32_t dy;
    double yaw;
    double pitch;
};

TEST(ViewStateTest, RotationDragsWrapYawAndClampPitch) {
    const DragCase cases[] = {
        {"100 px right", 100, 0, 350.0, -22.0},
        {"300 px down", 0, 300, 35.0, -89.0},
        {"400 px up", 0, -400, 35.0, 89.0},
        {"800 px left wraps past 360", -800, 0, 35.0, -22.0},
        {"diagonal", 20, 10, 26.0, -25.5},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        PreviewViewState state;
        state.show3D = true;
        ASSERT_TRUE(beginRotate(state, 50, 60));
        EXPECT_TRUE(dragTo(state, 50 + c.dx, 60 + c.dy));
        EXPECT_NEAR(state.yaw, c.yaw, 1e-9);
        EXPECT_NEAR(state.pitch, c.pitch, 1e-9);
        EXPECT_GE(state.yaw, 0.0);
        EXPECT_LT(state.yaw, 360.0);
        EXPECT_TRUE(endRotate(state));
        EXPECT_FALSE(endRotate(state));
    }
}

TEST(ViewStateTest, LeftButtonInTwoDimensionsDoesNothing) {
    PreviewViewState state;
    EXPECT_FALSE(beginRotate(state, 10, 10));
    EXPECT_FALSE(dragTo(state, 200, 200));
    EXPECT_FALSE(state.rotating);
    EXPECT_EQ(state.yaw, 35.0);
    EXPECT_EQ(state.panX, 0);
}

TEST(ViewStateTest, PanningFollowsTheMouseAndRotationWinsWhenBothAreOn) {
    PreviewViewState state;
    beginPan(state, 100, 100);
    EXPECT_TRUE(dragTo(state, 130, 90));
    EXPECT_TRUE(dragTo(state, 120, 95));
    EXPECT_EQ(state.panX, 20);
    EXPECT_EQ(state.panY, -5);
    EXPECT_TRUE(endPan(state));

    state.show3D = true;
    beginPan(state, 0, 0);
    ASSERT_TRUE(beginRotate(state, 0, 0));
    EXPECT_TRUE(dragTo(state, 10, 0));
    EXPECT_EQ(state.panX, 20);
    EXPECT_NEAR(state.yaw, 35.0 - 4.5, 1e-9);
}

TEST(ViewStateTest, FitViewRestoresTheViewButNotTheEngineChoice) {
    PreviewViewState state;
    state.zoom = 3.0;
    state.panX = 5;
    state.panY = 6;
    state.panning = true;
    state.rotating = true;
    state.yaw = 120.0;
    state.pitch = 40.0;
    state.show3D = true;
    state.renderMode = RenderMode::Direct3D9;
    fitView(state);
    EXPECT_EQ(state.zoom, 1.0);
    EXPECT_EQ(state.panX, 0);
    EXPECT_EQ(state.panY, 0);
    EXPECT_FALSE(state.panning);
    EXPECT_FALSE(state.rotating);
    EXPECT_EQ(state.yaw, 35.0);
    EXPECT_EQ(state.pitch, -22.0);
    EXPECT_TRUE(state.show3D);
    EXPECT_EQ(state.renderMode, RenderMode::Direct3D9);
}

TEST(ViewStateTest, RenderModeFromIndex) {
    const std::pair<int32_t, RenderMode> cases[] = {{0, RenderMode::Automatic},  {1, RenderMode::Gdi},
                                                    {2, RenderMode::Direct3D9},  {3, RenderMode::Automatic},
                                                    {-1, RenderMode::Automatic}};
    for (const auto& [index, mode] : cases) EXPECT_EQ(renderModeFromIndex(index), mode) << index;
}

}  // namespace
