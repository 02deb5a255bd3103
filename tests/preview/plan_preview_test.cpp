#include "preview/plan_preview.h"

#include <gtest/gtest.h>

#include <numbers>

#include "piece_builders.h"
#include "preview/zoom_hint.h"

namespace {

const std::wstring kHint = L"Zoom %d%%  |  Wheel: zoom in/out  |  Right or middle button: pan  |  Double click: fit";

PieceSet planOf300By150() { return {handPiece(L"Base", 0, 0, rectanglePath(300, 150))}; }

TEST(PlanFitTest, FitsTheDocumentedPlanAtScaleTwo) {
    for (const ClientRect client : {ClientRect{0, 0, 648, 372}, ClientRect{10, 20, 658, 392}}) {
        const PlanFit fit = fitPlan(client, planOf300By150());
        EXPECT_DOUBLE_EQ(fit.scale, 2.0);
        EXPECT_EQ(fit.originX, client.left + 24);
        EXPECT_EQ(fit.originY, client.top + 24);
    }
}

TEST(PlanFitTest, CentresTheShortAxisAndSurvivesDegenerateInput) {
    // 100 x 100 plan in 648 x 372: height limits (300 / 100 = 3), width is centred.
    const PlanFit square = fitPlan(ClientRect{0, 0, 648, 372}, {handPiece(L"A", 0, 0, rectanglePath(100, 100))});
    EXPECT_DOUBLE_EQ(square.scale, 3.0);
    EXPECT_EQ(square.originX, 24 + 150);
    EXPECT_EQ(square.originY, 24);

    // A single point and a window smaller than the margins still give a positive, finite scale.
    const PlanFit point = fitPlan(ClientRect{0, 0, 10, 10}, {handPiece(L"P", 5, 5, {lineSegment(0, 0, 0, 0)})});
    EXPECT_GT(point.scale, 0.0);
    EXPECT_DOUBLE_EQ(point.scale, 1.0);  // 1 px available over the 1 mm minimum span
}

TEST(PlanBoundsTest, ArcsCountWithTheirWholeCircleAndEmptySetsGetTheDefault) {
    const PlanBounds empty = planBounds({});
    EXPECT_EQ(empty.minX, 0.0);
    EXPECT_EQ(empty.maxX, 100.0);
    EXPECT_EQ(empty.maxY, 100.0);

    const PlanBounds noSegments = planBounds({handPiece(L"Empty", 40, 40, {})});
    EXPECT_EQ(noSegments.maxY, 100.0);

    // A quarter arc about (10, 10) of radius 5, on a piece placed at (100, 200).
    const Piece quarter = handPiece(L"Q", 100, 200, {arcSegment({15, 10}, {10, 15}, {10, 10}, 5, true)});
    const PlanBounds bounds = planBounds({quarter});
    EXPECT_DOUBLE_EQ(bounds.minX, 105.0);
    EXPECT_DOUBLE_EQ(bounds.minY, 205.0);
    EXPECT_DOUBLE_EQ(bounds.maxX, 115.0);
    EXPECT_DOUBLE_EQ(bounds.maxY, 215.0);
}

TEST(PlanMappingTest, MapsWithZoomPanAndRounding) {
    const PlanView view{PlanFit{10.0, 20.0, 2.0, 24, 30}, 1.5, -7, 5};
    EXPECT_EQ(mapPlanPoint(view, Point2{10.0, 20.0}), (PixelPoint{24 - 7, 30 + 5}));
    // (12.1 - 10) * 3 = 6.3 -> 6; (20.5 - 20) * 3 = 1.5 -> 2 (rounded half up)
    EXPECT_EQ(mapPlanPoint(view, Point2{12.1, 20.5}), (PixelPoint{6 + 24 - 7, 2 + 30 + 5}));
    // Left of the plan's origin: trunc toward zero of (-0.7 * 3 + 0.5) = -1.6 -> -1.
    EXPECT_EQ(mapPlanPoint(view, Point2{9.3, 20.0}).x, -1 + 24 - 7);
}

struct ArcCase {
    const char* name;
    PathSegment arc;
    double zoom;
    int32_t steps;
};

TEST(PlanArcTest, StepCountFollowsTheDrawnLength) {
    const double r = 2.0;
    const ArcCase cases[] = {
        {"quarter at zoom 1", arcSegment({r, 0}, {0, r}, {0, 0}, r, true), 1.0, 9},
        {"quarter at zoom 8", arcSegment({r, 0}, {0, r}, {0, 0}, r, true), 8.0, 20},
        {"quarter clockwise is three quarters", arcSegment({r, 0}, {0, r}, {0, 0}, r, false), 1.0, 12},
        {"under 4 px", arcSegment({0.1, 0}, {0, 0.1}, {0, 0}, 0.1, true), 1.0, 8},
        {"long arc", arcSegment({150, 0}, {-150, 0}, {0, 0}, 150, true), 1.0, 96},
        {"zero sweep", arcSegment({r, 0}, {r, 0}, {0, 0}, r, true), 1.0, 8},
    };
    for (const ArcCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PlanView view{PlanFit{-50.0, -50.0, 2.0, 0, 0}, c.zoom, 0, 0};
        const std::vector<PixelPoint> points = planArcPolyline(view, c.arc);
        ASSERT_EQ(points.size(), static_cast<std::size_t>(c.steps) + 1);
        EXPECT_EQ(points.front(), mapPlanPoint(view, c.arc.start));
        EXPECT_EQ(points.back(), mapPlanPoint(view, c.arc.end));
    }
}

TEST(PlanArcTest, ClockwiseArcRunsThroughTheOtherSide) {
    // From (2, 0) to (0, 2) clockwise passes (0, -2) and (-2, 0), never the first quadrant.
    const PlanView view{PlanFit{-10.0, -10.0, 10.0, 0, 0}, 1.0, 0, 0};
    const std::vector<PixelPoint> points = planArcPolyline(view, arcSegment({2, 0}, {0, 2}, {0, 0}, 2, false));
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        EXPECT_FALSE(points[i].x > 101 && points[i].y > 101) << i;
    }
}

struct HintCase {
    std::wstring format;
    int32_t percent;
    std::wstring expected;
};

TEST(ZoomHintTest, SubstitutesOnlyThePercentage) {
    const HintCase cases[] = {
        {L"Zoom %d%%", 100, L"Zoom 100%"},
        {L"Zoom %d%%", 20, L"Zoom 20%"},
        {L"%s", 100, L"%s"},
        {L"%n%n%n", 100, L"%n%n%n"},
        {L"%", 100, L"%"},
        {L"100%", 5, L"100%"},
        {L"%%%d", 115, L"%115"},
        {L"%5d|%ld|%x", 800, L"%5d|%ld|%x"},
        {L"%d and %d", 42, L"42 and 42"},
        {L"", 100, L""},
    };
    for (const HintCase& c : cases) {
        EXPECT_EQ(formatZoomHint(c.format, c.percent, 256), c.expected);
    }
}

TEST(ZoomHintTest, CutsToTheBuffer) {
    EXPECT_EQ(formatZoomHint(std::wstring(1000, L'x'), 100, 256), std::wstring(255, L'x'));
    EXPECT_EQ(formatZoomHint(std::wstring(254, L'x') + L"%d", 800, 256), std::wstring(254, L'x') + L"8");
    EXPECT_EQ(formatZoomHint(std::wstring(299, L'y') + L"%d", 800, 300), std::wstring(299, L'y'));
    EXPECT_EQ(formatZoomHint(L"%d", 100, 0), L"");
}

TEST(ZoomHintTest, PercentRoundsHalfUp) {
    const std::pair<double, int32_t> cases[] = {{0.2, 20}, {1.0, 100}, {1.15, 115}, {8.0, 800}, {0.994, 99}, {0.995, 100}};
    for (const auto& [zoom, percent] : cases) EXPECT_EQ(zoomPercent(zoom), percent) << zoom;
}

TEST(PaintCutPlanTest, EmptySetShowsTheThreeTextsOnly) {
    RecordingCanvas canvas;
    const ClientRect client{5, 7, 805, 607};
    paintCutPlan(canvas, client, {}, 0, 0, L"2D preview", L"No pieces generated.", L"", 1.0);

    const auto texts = primitivesOf(canvas, RecordedKind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, L"2D preview");
    EXPECT_EQ(texts[0].points[0], (PixelPoint{15, 15}));
    EXPECT_EQ(texts[1].text, L"No pieces generated.");
    EXPECT_EQ(texts[1].points[0], (PixelPoint{15, 37}));
    EXPECT_EQ(texts[2].text, L"Zoom 100%");  // built-in format for an empty hint text
    EXPECT_EQ(texts[2].points[0], (PixelPoint{15, 607 - 22}));
    for (const RecordedPrimitive& text : texts) {
        EXPECT_EQ(text.textColor, (Rgb{90, 90, 90}));
        EXPECT_TRUE(text.transparentText);
        EXPECT_EQ(text.font, RecordedFont::SurfaceDefault);
    }
    EXPECT_TRUE(primitivesOf(canvas, RecordedKind::Line).empty());
    EXPECT_TRUE(primitivesOf(canvas, RecordedKind::Polyline).empty());
    EXPECT_CANVAS_CLEAN(canvas);
}

TEST(PaintCutPlanTest, BackgroundFrameAndTitleComeFirst) {
    RecordingCanvas canvas;
    const ClientRect client{0, 0, 648, 372};
    paintCutPlan(canvas, client, planOf300By150(), 0, 0, L"2D preview", L"none", kHint, 1.0);
    const auto& all = canvas.primitives();
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(all[0].kind, RecordedKind::FillRect);
    EXPECT_EQ(all[0].brush, (Rgb{250, 250, 250}));
    EXPECT_EQ(all[0].points, (std::vector<PixelPoint>{{0, 0}, {648, 372}}));
    EXPECT_EQ(all[1].kind, RecordedKind::Rectangle);
    EXPECT_EQ(all[1].pen, (RecordedPen{PenStyle::Solid, 1, Rgb{190, 190, 190}}));
    EXPECT_FALSE(all[1].brush.has_value());
    EXPECT_EQ(all[1].points, (std::vector<PixelPoint>{{0, 0}, {647, 371}}));
    EXPECT_EQ(all[2].kind, RecordedKind::Text);
    EXPECT_EQ(all[2].points[0], (PixelPoint{10, 8}));
    EXPECT_EQ(all.back().text, L"Zoom 100%  |  Wheel: zoom in/out  |  Right or middle button: pan  |  Double click: fit");
    EXPECT_EQ(all.back().font, RecordedFont::DefaultGui);
    EXPECT_EQ(all.back().points[0], (PixelPoint{10, 350}));
    EXPECT_CANVAS_CLEAN(canvas);
}

TEST(PaintCutPlanTest, PanelsSlotsAndDogbonesGetTheirColoursAndLabels) {
    // A 300 x 150 panel with one dogbone arc and a base slot inside it.
    CutPath panel = rectanglePath(300, 150);
    panel.push_back(arcSegment({20, 10}, {10, 20}, {10, 10}, 10, true));
    const PieceSet pieces{handPiece(L"Base", 0, 0, panel),
                          handPiece(L"Ranura base ancho", 100, 30, rectanglePath(3, 90), false, true)};
    RecordingCanvas canvas;
    const ClientRect client{0, 0, 648, 372};
    paintCutPlan(canvas, client, pieces, 3, -4, L"t", L"e", kHint, 1.0);

    const RecordedPen green{PenStyle::Solid, 1, Rgb{0, 120, 0}};
    const RecordedPen purple{PenStyle::Solid, 1, Rgb{160, 0, 160}};
    const RecordedPen blue{PenStyle::Solid, 1, Rgb{20, 80, 200}};
    const auto lines = primitivesOf(canvas, RecordedKind::Line);
    ASSERT_EQ(lines.size(), 8u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(lines[i].pen, green) << i;
    for (int i = 4; i < 8; ++i) EXPECT_EQ(lines[i].pen, purple) << i;
    // Scale 2, origin (24, 24), pan (3, -4): the panel's corner (300, 0) is at (627, 20).
    EXPECT_EQ(lines[0].points, (std::vector<PixelPoint>{{27, 20}, {627, 20}}));
    EXPECT_EQ(lines[4].points, (std::vector<PixelPoint>{{227, 80}, {233, 80}}));

    const auto arcs = primitivesOf(canvas, RecordedKind::Polyline);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0].pen, blue);
    EXPECT_EQ(arcs[0].points.front(), (PixelPoint{24 + 40 + 3, 24 + 20 - 4}));

    const auto texts = primitivesOf(canvas, RecordedKind::Text);
    ASSERT_EQ(texts.size(), 3u);  // title, one label (the slot has none), hint
    EXPECT_EQ(texts[1].text, L"Base");
    EXPECT_EQ(texts[1].points[0], (PixelPoint{24 + 8 + 3, 24 + 8 - 4}));
    EXPECT_EQ(texts[1].textColor, (Rgb{60, 60, 60}));
    EXPECT_EQ(texts[1].font, RecordedFont::DefaultGui);
    EXPECT_EQ(texts[2].textColor, (Rgb{90, 90, 90}));
    EXPECT_CANVAS_CLEAN(canvas);
}

TEST(PaintCutPlanTest, HintShowsTheZoomAndSurvivesHostileFormats) {
    for (const auto& [zoom, expected] :
         {std::pair{0.2, L"20"}, std::pair{1.15, L"115"}, std::pair{8.0, L"800"}}) {
        RecordingCanvas canvas;
        paintCutPlan(canvas, ClientRect{0, 0, 400, 300}, planOf300By150(), 0, 0, L"", L"", L"%s %n %d %", zoom);
        EXPECT_EQ(canvas.primitives().back().text, std::wstring(L"%s %n ") + expected + L" %");
        EXPECT_CANVAS_CLEAN(canvas);
    }
}

}  // namespace
