// The previews' geometry: mouse operations on the view, the assembled box, the zoom hint line and
// the triangulation of every panel for the GPU view.
#include "preview/box_model_3d.h"
#include "preview/panel_polygon.h"
#include "preview/plan_preview.h"
#include "preview/preview_view_state.h"
#include "preview/zoom_hint.h"
#include "support/path_segments.h"
#include "support/random_designs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <tuple>

namespace {

// What fitting the view resets, and what it keeps.
auto viewOf(const PreviewViewState& s) {
    return std::tuple{s.zoom, s.panX, s.panY, s.panning, s.rotating, s.yaw, s.pitch, s.show3D, s.renderMode};
}

TEST(ViewState, DragsRotateIn3dPanWithOtherButtonsAndFitRestores) {
    // Yaw and pitch after a drag by dx, dy: pitch stops at the poles, yaw wraps.
    const std::tuple<int, int, double, double> rotations[] = {
        {100, 0, 350.0, -22.0}, {0, 300, 35.0, -89.0}, {0, -400, 35.0, 89.0}, {-800, 0, 35.0, -22.0},
        {20, 10, 26.0, -25.5},
    };
    for (const auto& [dx, dy, yaw, pitch] : rotations) {
        PreviewViewState state{.show3D = true};
        EXPECT_TRUE(beginRotate(state, 50, 60));
        EXPECT_TRUE(dragTo(state, 50 + dx, 60 + dy));
        EXPECT_NEAR(state.yaw, yaw, 1e-9);
        EXPECT_NEAR(state.pitch, pitch, 1e-9);
        EXPECT_TRUE(endRotate(state));
        EXPECT_FALSE(endRotate(state)) << "a drag ends once";
    }
    PreviewViewState state;
    EXPECT_FALSE(beginRotate(state, 10, 10)) << "the left button does nothing in 2D";
    EXPECT_FALSE(dragTo(state, 200, 200));
    beginPan(state, 100, 100);
    EXPECT_TRUE(dragTo(state, 130, 90));
    EXPECT_TRUE(dragTo(state, 120, 95));
    EXPECT_EQ(state.panX, 20);
    EXPECT_EQ(state.panY, -5);
    EXPECT_TRUE(endPan(state));
    EXPECT_FALSE(endPan(state));
    EXPECT_FALSE(dragTo(state, 0, 0));

    state = {.zoom = 3, .pitch = 40, .show3D = true, .renderMode = RenderMode::Direct3D9};
    beginPan(state, 0, 0);
    ASSERT_TRUE(beginRotate(state, 0, 0));
    EXPECT_TRUE(dragTo(state, 10, 0));
    EXPECT_EQ(state.panX, 0) << "rotation wins when both are on";
    fitView(state);
    EXPECT_EQ(viewOf(state), viewOf({.show3D = true, .renderMode = RenderMode::Direct3D9}));
}

// The wheel zooms within 0.2 and 8, asking for a repaint only when the zoom changed, and the point
// under the cursor stays there: on the plan as the painter maps it, in 3D where the pan puts it.
TEST(ViewState, WheelZoomsWithinItsLimitsAboutTheCursor) {
    const PieceSet pieces = generatePieces(BoxParameters{});
    const ClientRect client{0, 0, 900, 700};
    for (const bool in3d : {false, true}) {
        PreviewViewState state{.panX = 37, .panY = -25, .show3D = in3d};
        const auto screenOf = [&](Point2 p) {
            if (!in3d) return mapPlanPoint({fitPlan(client, pieces, state.dpi), state.zoom, state.panX, state.panY}, p);
            return PixelPoint{truncToPixel(state.panX + p.x * state.zoom), truncToPixel(state.panY + p.y * state.zoom)};
        };
        const Point2 anchor{pieces[2].x, pieces[2].y};
        for (int step = 0; step < 60; ++step) {
            if (step == 20) {
                EXPECT_EQ(state.zoom, 8.0);
            }
            const int32_t delta = step < 20 ? 120 : step % 2 * -120;  // a zero delta zooms out too
            const PixelPoint at = screenOf(anchor);
            const PreviewViewState before = state;
            const bool repaint = zoomAt(state, delta, at.x, at.y, client, pieces);
            SCOPED_TRACE(testing::Message() << (in3d ? "3D" : "2D") << " step " << step);
            EXPECT_EQ(repaint, state.zoom != before.zoom);
            EXPECT_TRUE(delta > 0 ? state.zoom >= before.zoom : state.zoom <= before.zoom);
            const PixelPoint now = screenOf(anchor);
            EXPECT_LE(std::abs(now.x - at.x) + std::abs(now.y - at.y), 2);
            if (step == 0) {
                EXPECT_NEAR(state.zoom, 1.15, 1e-12) << "the hint's 115 %";
            }
            if (step == 20) {
                EXPECT_NEAR(state.zoom, 8 / 1.15, 1e-12) << "one step out";
            }
        }
        EXPECT_EQ(state.zoom, 0.2);
    }
}

TEST(BoxModel, PanelsStandOnTheBaseAndTheLidRestsOnTheWalls) {
    const std::optional<BoxModel3d> model = buildBoxModel(BoxParameters{});
    ASSERT_TRUE(model.has_value());
    using E = std::array<double, 6>;  // x, y and z ranges of a panel's corners, both faces
    const std::pair<PanelKind, E> panels[] = {
        {PanelKind::FrontWall, {-100, 100, -75, -72, 0, 100}}, {PanelKind::BackWall, {-100, 100, 72, 75, 0, 100}},
        {PanelKind::LeftWall, {-100, -97, -75, 75, 0, 100}},  {PanelKind::RightWall, {97, 100, -75, 75, 0, 100}},
        {PanelKind::Base, {-100, 100, -75, 75, 0, 3}},
    };
    for (const auto& [kind, expected] : panels) {
        E e{1e9, -1e9, 1e9, -1e9, 1e9, -1e9};
        for (const PathSegment& s : panelFor(*model, kind).path) {
            for (double d : {0.0, model->thickness}) {
                const Point3 p = placePanelPoint(*model, kind, s.start.x, s.start.y, d);
                e = {std::min(e[0], p.x), std::max(e[1], p.x), std::min(e[2], p.y), std::max(e[3], p.y),
                     std::min(e[4], p.z), std::max(e[5], p.z)};
            }
        }
        EXPECT_EQ(e, expected) << static_cast<int>(kind);
    }
    const std::tuple<DimensionMode, double, double> lids[] = {{DimensionMode::External, 3, 97},
                                                              {DimensionMode::Internal, 0, 103}};
    for (const auto& [mode, inset, wallTop] : lids) {
        const std::optional<BoxModel3d> lid = buildBoxModel({.dimensionMode = mode, .includeLid = true});
        ASSERT_TRUE(lid.has_value());
        EXPECT_EQ(std::tuple(lid->lidInset, lid->wallTop, lid->wallHeight), std::tuple(inset, wallTop, wallTop - 3));
        EXPECT_EQ(lid->width, mode == DimensionMode::Internal ? 206 : 200);
        EXPECT_DOUBLE_EQ(placePanelPoint(*lid, PanelKind::Lid, 0, 0, 0).z, wallTop);
    }
    EXPECT_FALSE(buildBoxModel({.materialThickness = 0}).has_value());
}

TEST(ZoomHint, PutsInThePercentageAndNothingElse) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"Zoom %d%%", L"Zoom 115%"}, {L"%s%n%x%5d%ld", L"%s%n%x%5d%ld"}, {L"%", L"%"}, {L"%%%d", L"%115"},
        {L"%d and %d", L"115 and 115"}, {L"100%", L"100%"},
    };
    for (const auto& [format, line] : cases) EXPECT_EQ(formatZoomHint(format, zoomPercent(1.15), 256), line);
    EXPECT_EQ(formatZoomHint(std::wstring(254, L'x') + L"%d", 800, 256), std::wstring(254, L'x') + L"8");
    EXPECT_EQ(zoomPercent(0.994), 99);
    EXPECT_EQ(zoomPercent(0.995), 100);
}

// Cleans and orients the polygon, then checks that its n - 2 triangles all face up and cover its
// area exactly.
void expectExactTriangulation(Polygon2 polygon, double area) {
    cleanPolygon(polygon);
    ASSERT_GE(polygon.size(), 3u);
    if (signedArea(polygon) < 0) std::reverse(polygon.begin(), polygon.end());
    std::vector<Triangle> triangles;
    ASSERT_TRUE(triangulatePolygon(polygon, triangles));
    EXPECT_EQ(triangles.size(), polygon.size() - 2);
    double sum = 0.0;
    for (const Triangle& t : triangles) {
        const Point2 a = polygon[t[0]];
        const Point2 b = polygon[t[1]];
        const Point2 c = polygon[t[2]];
        const double triangle = ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2.0;
        EXPECT_GT(triangle, 0.0);
        sum += triangle;
    }
    EXPECT_NEAR(sum, area, 1e-6 * area);
}

TEST(Triangulation, CoversEveryPanelOfRandomDesignsExactly) {
    Polygon2 cleaned{{0, 0}, {0.0001, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0.0002}};
    cleanPolygon(cleaned);
    EXPECT_EQ(cleaned.size(), 4u) << "repeats and straight points go";
    Polygon2 fold{{0, 0}, {10, 0}, {5, 0}, {5, 10}};
    cleanPolygon(fold);
    EXPECT_EQ(fold.size(), 4u) << "a fold stays";
    std::vector<Triangle> triangles;
    EXPECT_FALSE(triangulatePolygon({{0, 0}, {5, 0}}, triangles));

    const CutPath half{lineSegment({-3, 0}, {-3, -5}), lineSegment({-3, -5}, {3, -5}), lineSegment({3, -5}, {3, 0}),
                       arcSegment({3, 0}, {-3, 0}, {0, 0}, 3, true)};
    EXPECT_NEAR(std::abs(signedArea(polygonFromPath(half))), 30.0 + std::numbers::pi * 9 / 2, 0.2);
    EXPECT_TRUE(polygonFromPath({lineSegment({0, 0}, {1, 0}), lineSegment({1, 0}, {0, 0})}).empty());

    SeededDraws draws(11u);
    for (int design = 0; design < 60; ++design) {
        const std::optional<BoxModel3d> model = buildBoxModel(drawValidDesign(draws));
        ASSERT_TRUE(model.has_value());
        for (PanelKind kind : {PanelKind::Base, PanelKind::FrontWall, PanelKind::LeftWall}) {
            SCOPED_TRACE(testing::Message() << "design " << design << " panel " << static_cast<int>(kind));
            const Polygon2 polygon = polygonFromPath(panelFor(*model, kind).path);
            expectExactTriangulation(polygon, std::abs(signedArea(polygon)));
        }
    }
    const BoxParameters thousands{.inputWidth = 1000,
                                  .inputDepth = 900,
                                  .materialThickness = 1,
                                  .fingerCountWidth = 300,
                                  .fingerCountDepth = 250,
                                  .cutMode = CutMode::CncRouter,
                                  .toolDiameter = 1};
    const Polygon2 many = polygonFromPath(buildBoxModel(thousands)->base.path);
    ASSERT_GT(many.size(), 10000u);
    expectExactTriangulation(many, std::abs(signedArea(many)));
}

}  // namespace
