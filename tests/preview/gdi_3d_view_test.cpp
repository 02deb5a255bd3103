#include "preview/gdi_3d_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "piece_builders.h"

namespace {

const ClientRect kClient{0, 0, 860, 640};

BoxParameters derivedDefaults() {
    BoxParameters parameters;
    validateParameters(parameters);
    return parameters;
}

std::vector<RecordedPrimitive> withPen(const RecordingCanvas& canvas, const RecordedPen& pen) {
    std::vector<RecordedPrimitive> found;
    for (const RecordedPrimitive& p : canvas.primitives()) {
        if ((p.kind == RecordedKind::Line || p.kind == RecordedKind::Polyline) && p.pen == pen) found.push_back(p);
    }
    return found;
}

const RecordedPen kDividerPen{PenStyle::Dot, 1, Rgb{50, 130, 80}};
const RecordedPen kDogbonePen{PenStyle::Solid, 2, Rgb{0, 80, 210}};
const RecordedPen kLidPen{PenStyle::Dot, 1, Rgb{120, 120, 120}};

TEST(Gdi3dFitTest, DefaultsFitAsDocumented) {
    const Gdi3dFit fit = fitGdi3d(kClient, derivedDefaults());
    EXPECT_NEAR(fit.extent, 201.44, 0.005);
    EXPECT_NEAR(fit.scale, 1.246, 0.0005);
    EXPECT_EQ(fit.originX, 179);
    EXPECT_EQ(fit.originY, 54);

    const Gdi3dFit tiny = fitGdi3d(ClientRect{0, 0, 20, 20}, derivedDefaults());
    EXPECT_GT(tiny.scale, 0.0);
}

TEST(Gdi3dFitTest, ABiggerBitWidensTheMarginWhateverTheCutMode) {
    BoxParameters cnc = derivedDefaults();
    cnc.cutMode = CutMode::CncRouter;
    cnc.toolDiameter = 6.0;  // the bit now sets the margin: 4.5 mm more than the defaults' 201.44
    const double extent = fitGdi3d(kClient, cnc).extent;
    EXPECT_NEAR(extent, 205.94, 0.005);
    cnc.cutMode = CutMode::Laser;
    EXPECT_EQ(fitGdi3d(kClient, cnc).extent, extent);
}

TEST(Gdi3dFacesTest, YawZeroPitchZeroDrawsFrontFirstAndBackLast) {
    const double hw = 100, hd = 75, hh = 50;
    const std::array<Point3, 8> corners{Point3{-hw, -hd, -hh}, Point3{hw, -hd, -hh}, Point3{hw, hd, -hh},
                                        Point3{-hw, hd, -hh},  Point3{-hw, -hd, hh}, Point3{hw, -hd, hh},
                                        Point3{hw, hd, hh},    Point3{-hw, hd, hh}};
    std::array<Point3, 8> rotated;
    for (std::size_t i = 0; i < 8; ++i) {
        rotated[i] = rotateForView(corners[i], 0.0, 0.0);
        EXPECT_NEAR(rotated[i].z, corners[i].y, 1e-12);  // depth is y
        EXPECT_NEAR(rotated[i].y, -corners[i].z, 1e-12);
    }
    const std::vector<BoxFace> faces = sortedBoxFaces(rotated, false);
    const std::vector<std::array<uint32_t, 4>> expected{{0, 1, 5, 4}, {0, 1, 2, 3}, {1, 2, 6, 5},
                                                        {3, 0, 4, 7}, {4, 5, 6, 7}, {2, 3, 7, 6}};
    ASSERT_EQ(faces.size(), expected.size());
    for (std::size_t i = 0; i < faces.size(); ++i) EXPECT_EQ(faces[i].corners, expected[i]) << i;
    EXPECT_FALSE(faces[4].filled);
    EXPECT_TRUE(sortedBoxFaces(rotated, true)[4].filled);
}

TEST(Gdi3dViewTest, DrawsFacesWithTheOpenTopAsAnOutline) {
    RecordingCanvas canvas;
    drawGdi3dView(canvas, kClient, BoxParameters{}, 0, 0, L"invalid", 1.0, 0.0, 0.0);
    const auto polygons = primitivesOf(canvas, RecordedKind::Polygon);
    ASSERT_EQ(polygons.size(), 5u + 9u);  // five filled faces, nine inside quadrilaterals
    EXPECT_EQ(polygons[0].brush, (Rgb{235, 232, 210}));  // front first at yaw 0, pitch 0
    EXPECT_EQ(polygons[4].brush, (Rgb{220, 230, 238}));  // back last
    EXPECT_EQ(polygons[5].brush, (Rgb{238, 238, 224}));  // then the floor inside
    for (const auto& polygon : polygons) EXPECT_EQ(polygon.pen, (RecordedPen{PenStyle::Solid, 1, Rgb{55, 55, 55}}));
    const auto outlines = primitivesOf(canvas, RecordedKind::Polyline);
    ASSERT_FALSE(outlines.empty());
    EXPECT_EQ(outlines[0].points.size(), 5u);
    EXPECT_EQ(outlines[0].points.front(), outlines[0].points.back());
    EXPECT_CANVAS_CLEAN(canvas);
}

TEST(Gdi3dViewTest, LidFillsTheTopAndMovesTheJointsDown) {
    BoxParameters parameters;
    parameters.includeLid = true;
    RecordingCanvas canvas;
    drawGdi3dView(canvas, kClient, parameters, 0, 0, L"", 1.0, 35.0, -22.0);
    const auto polygons = primitivesOf(canvas, RecordedKind::Polygon);
    EXPECT_EQ(polygons.size(), 6u + 9u);
    EXPECT_EQ(withPen(canvas, kLidPen).size(), 4u);  // closed lid line of four strokes
    EXPECT_CANVAS_CLEAN(canvas);
}

TEST(Gdi3dViewTest, DividersSplitTheOuterWidthAndDepth) {
    BoxParameters parameters;
    parameters.widthDividerCount = 2;
    parameters.depthDividerCount = 1;
    RecordingCanvas canvas;
    drawGdi3dView(canvas, kClient, parameters, 0, 0, L"", 1.0, 0.0, 0.0);
    const Gdi3dFit fit = fitGdi3d(kClient, derivedDefaults());
    // Yaw 0, pitch 0: screen x is the model x.
    auto screenX = [&](double x) { return static_cast<int32_t>((x + fit.extent) * fit.scale + 0.5) + fit.originX; };
    std::set<int32_t> xs;
    const auto lines = withPen(canvas, kDividerPen);
    ASSERT_EQ(lines.size(), 12u);
    for (std::size_t i = 0; i < 8; ++i) {
        for (const PixelPoint& p : lines[i].points) xs.insert(p.x);
    }
    EXPECT_EQ(xs, (std::set<int32_t>{screenX(-100 + 200.0 / 3), screenX(-100 + 400.0 / 3)}));
    EXPECT_CANVAS_CLEAN(canvas);
}

TEST(Gdi3dViewTest, TextLinesAndTitle) {
    RecordingCanvas canvas;
    const ClientRect client{3, 4, 863, 644};
    drawGdi3dView(canvas, client, BoxParameters{}, 0, 0, L"", 1.15, 35.0, -22.0);
    const auto texts = primitivesOf(canvas, RecordedKind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, L"Vista 3D rotativa detallada - 200 x 100 x 150 mm - espesor 3.00 mm");
    EXPECT_EQ(texts[0].points[0], (PixelPoint{13, 14}));
    EXPECT_EQ(texts[1].text, L"Zoom 115% | Izquierdo: rotar sin auto-zoom | Derecho/central: mover | Rueda: zoom | "
                             L"Doble clic: ajustar");
    EXPECT_EQ(texts[1].points[0], (PixelPoint{13, 644 - 38}));
    EXPECT_EQ(texts[2].text, L"Angulos 3D: yaw 35\u00B0  pitch -22\u00B0 | Verde: encastres con espesor | Azul: "
                             L"dogbones con profundidad");
    EXPECT_EQ(texts[2].points[0], (PixelPoint{13, 644 - 20}));
    for (const auto& text : texts) {
        EXPECT_EQ(text.textColor, (Rgb{70, 70, 70}));
        EXPECT_EQ(text.font, RecordedFont::SurfaceDefault);
        EXPECT_TRUE(text.transparentText);
    }
}

TEST(Gdi3dViewTest, TitleUsesTheDerivedOuterSize) {
    BoxParameters internal;
    internal.dimensionMode = DimensionMode::Internal;
    internal.inputWidth = 100;
    internal.inputHeight = 50;
    internal.inputDepth = 80;
    internal.materialThickness = 4;
    validateParameters(internal);
    EXPECT_EQ(gdi3dTitle(internal), L"Vista 3D rotativa detallada - 108 x 54 x 88 mm - espesor 4.00 mm");
}

TEST(Gdi3dViewTest, AbsurdlyLargeDesignsStillPaintSafely) {
    BoxParameters huge;  // the largest design validation accepts
    huge.inputWidth = 100000;
    huge.inputDepth = 100000;
    huge.inputHeight = 100000;
    RecordingCanvas canvas;
    drawGdi3dView(canvas, kClient, huge, 0, 0, L"", 1.0, 35.0, -22.0);
    const auto texts = primitivesOf(canvas, RecordedKind::Text);
    ASSERT_EQ(texts.size(), 3u);  // drawn, not refused
    EXPECT_EQ(texts[0].text.find(L"?"), std::wstring::npos);
    EXPECT_CANVAS_CLEAN(canvas);
}

TEST(Gdi3dViewTest, RefusedDesignShowsOnlyTheInvalidText) {
    for (const auto& [given, shown] : {std::pair<std::wstring, std::wstring>{L"Vista 3D: parametros invalidos.",
                                                                             L"Vista 3D: parametros invalidos."},
                                       std::pair<std::wstring, std::wstring>{L"", L"3D preview: invalid parameters."}}) {
        BoxParameters refused;
        refused.inputWidth = 0.0;
        RecordingCanvas canvas;
        drawGdi3dView(canvas, kClient, refused, 0, 0, given, 1.0, 35.0, -22.0);
        const auto& all = canvas.primitives();
        ASSERT_EQ(all.size(), 3u);
        EXPECT_EQ(all[0].kind, RecordedKind::FillRect);
        EXPECT_EQ(all[1].kind, RecordedKind::Rectangle);
        EXPECT_EQ(all[1].pen.color, (Rgb{170, 170, 170}));
        EXPECT_EQ(all[2].text, shown);
        EXPECT_EQ(all[2].points[0], (PixelPoint{10, 10}));
        EXPECT_EQ(all[2].textColor, (Rgb{70, 70, 70}));
        EXPECT_CANVAS_CLEAN(canvas);
    }
}

TEST(Gdi3dViewTest, RouterDesignsDrawDogbonesInBlueWithBoundedSteps) {
    BoxParameters parameters;
    parameters.cutMode = CutMode::CncRouter;
    RecordingCanvas canvas;
    drawGdi3dView(canvas, kClient, parameters, 0, 0, L"", 1.0, 35.0, -22.0);
    const auto dogbones = withPen(canvas, kDogbonePen);
    ASSERT_FALSE(dogbones.empty());
    for (const auto& arc : dogbones) {
        EXPECT_EQ(arc.kind, RecordedKind::Polyline);
        EXPECT_GE(arc.points.size(), 11u);
        EXPECT_LE(arc.points.size(), 81u);
    }
    EXPECT_CANVAS_CLEAN(canvas);

    RecordingCanvas laser;
    drawGdi3dView(laser, kClient, BoxParameters{}, 0, 0, L"", 1.0, 35.0, -22.0);
    EXPECT_TRUE(withPen(laser, kDogbonePen).empty());
    EXPECT_FALSE(withPen(laser, RecordedPen{PenStyle::Solid, 1, Rgb{0, 92, 0}}).empty());
}

TEST(Gdi3dViewTest, RotatingNeverChangesTheSize) {
    // The projected box corners always fit inside the square the fit reserves.
    const Gdi3dFit fit = fitGdi3d(kClient, derivedDefaults());
    for (double yaw = 0.0; yaw < 360.0; yaw += 30.0) {
        for (double pitch = -89.0; pitch <= 89.0; pitch += 44.5) {
            RecordingCanvas canvas;
            drawGdi3dView(canvas, kClient, BoxParameters{}, 0, 0, L"", 1.0, yaw, pitch);
            for (const auto& polygon : primitivesOf(canvas, RecordedKind::Polygon)) {
                for (const PixelPoint& p : polygon.points) {
                    EXPECT_GE(p.x, fit.originX);
                    EXPECT_LE(p.x, fit.originX + static_cast<int32_t>(2 * fit.extent * fit.scale) + 1);
                }
            }
        }
    }
}

}  // namespace
