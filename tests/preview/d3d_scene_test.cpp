#include "preview/d3d_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "piece_builders.h"
#include "preview/d3d_transforms.h"
#include "preview/panel_polygon.h"

namespace {

BoxModel3d modelOf(const BoxParameters& parameters) {
    const std::optional<BoxModel3d> model = buildBoxModel(parameters);
    EXPECT_TRUE(model.has_value());
    return model.value_or(BoxModel3d{});
}

std::vector<std::pair<SceneVertex, SceneVertex>> linesOfColor(const SceneLists& scene, Rgb color) {
    std::vector<std::pair<SceneVertex, SceneVertex>> found;
    for (std::size_t i = 0; i + 1 < scene.lines.size(); i += 2) {
        if (scene.lines[i].color == opaqueColor(color)) found.emplace_back(scene.lines[i], scene.lines[i + 1]);
    }
    return found;
}

double triangleArea(const Polygon2& polygon, const Triangle& t) {
    const Point2 a = polygon[t[0]], b = polygon[t[1]], c = polygon[t[2]];
    return ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2.0;
}

TEST(SceneShadeTest, DocumentedPanelColours) {
    EXPECT_EQ(shadeColor(Rgb{226, 224, 205}, Vector3{0, 1, 0}, 1.1), opaqueColor(Rgb{239, 237, 217}));
    EXPECT_EQ(shadeColor(Rgb{226, 224, 205}, Vector3{0, -1, 0}, 0.88), opaqueColor(Rgb{109, 108, 99}));
    EXPECT_EQ(shadeColor(Rgb{236, 232, 207}, Vector3{0, 0, -1}, 1.1), opaqueColor(Rgb{199, 196, 175}));
    // Unnormalised and vanishing normals; the factor is clamped to 1.25 and channels to 255.
    EXPECT_EQ(shadeColor(Rgb{226, 224, 205}, Vector3{0, 5, 0}, 1.1), opaqueColor(Rgb{239, 237, 217}));
    EXPECT_EQ(shadeColor(Rgb{100, 100, 100}, Vector3{0, 0, 0}, 1.0), opaqueColor(Rgb{55, 55, 55}));
    EXPECT_EQ(shadeColor(Rgb{255, 255, 255}, Vector3{0, 1, 0}, 9.0), opaqueColor(Rgb{255, 255, 255}));
    EXPECT_EQ(shadeColor(Rgb{100, 100, 100}, Vector3{0, -1, 0}, 0.1), opaqueColor(Rgb{25, 25, 25}));
}

TEST(SceneTransformTest, CameraDistanceClampsNearTheBox) {
    const double e = 100.0;
    EXPECT_DOUBLE_EQ(cameraDistance(e, 1.0), 265.0);
    EXPECT_DOUBLE_EQ(cameraDistance(e, 3.0), cameraDistance(e, 2.5));
    EXPECT_DOUBLE_EQ(cameraDistance(e, 3.0), 120.0);
    EXPECT_DOUBLE_EQ(cameraDistance(e, 0.005), 265.0);
    EXPECT_DOUBLE_EQ(cameraDistance(e, 0.2), 1325.0);
}

TEST(SceneTransformTest, DefaultsExtentAndPanFollowsTheMouse) {
    const BoxModel3d model = modelOf(BoxParameters{});
    const double e = sceneExtent(model);
    EXPECT_NEAR(e, 0.62 * std::sqrt(200.0 * 200 + 150 * 150 + 100 * 100) + 18, 1e-9);

    const SceneTransforms still = sceneTransforms(e, 1.0, 0.0, 0.0, 0, 0, 800, 600);
    const auto centre = transformPoint(multiply(multiply(still.world, still.view), still.projection), 0, 0, 0);
    EXPECT_NEAR(centre[0], 0.0, 1e-6);
    EXPECT_NEAR(centre[1], 0.0, 1e-6);
    EXPECT_GT(centre[2], 0.0);
    EXPECT_LT(centre[2], 1.0);

    // 360 px right and down at zoom 1 moves the scene by E right and E down in view space.
    const SceneTransforms panned = sceneTransforms(e, 1.0, 0.0, 0.0, 360, 360, 800, 600);
    const auto moved = transformPoint(panned.view, 0, 0, 0);
    EXPECT_NEAR(moved[0], e, 1e-3);
    EXPECT_NEAR(moved[1], -e, 1e-3);
    EXPECT_NEAR(moved[2], cameraDistance(e, 1.0), 1e-3);
    const auto right = transformPoint(multiply(panned.view, panned.projection), 0, 0, 0);
    EXPECT_GT(right[0], 0.0);
    EXPECT_LT(right[1], 0.0);

    // Yaw 90 turns +x (the right wall) towards the camera's +z... and pitch tilts the top away.
    const SceneTransforms turned = sceneTransforms(e, 1.0, 90.0, 0.0, 0, 0, 800, 600);
    const auto x = transformPoint(turned.world, 1, 0, 0);
    EXPECT_NEAR(x[0], 0.0, 1e-6);
    EXPECT_NEAR(std::abs(x[2]), 1.0, 1e-6);
}

TEST(SceneTransformTest, ProjectionKeepsTheBoxBetweenTheClipPlanes) {
    const double e = 300.0;
    for (double zoom : {0.2, 1.0, 8.0}) {
        const SceneTransforms t = sceneTransforms(e, zoom, 35.0, -22.0, 0, 0, 860, 640);
        const Matrix4 all = multiply(multiply(t.world, t.view), t.projection);
        for (double sx : {-1.0, 1.0}) {
            for (double sz : {-1.0, 1.0}) {
                const auto p = transformPoint(all, sx * e / 1.5, e / 2, sz * e / 1.5);
                EXPECT_GT(p[2], 0.0) << zoom;
                EXPECT_LT(p[2], 1.0) << zoom;
            }
        }
    }
}

TEST(SceneTest, FloorGridFootprintAndDividers) {
    BoxParameters parameters;
    parameters.widthDividerCount = 2;
    parameters.depthDividerCount = 1;
    SceneLists scene;
    buildScene(modelOf(parameters), scene);
    EXPECT_EQ(scene.triangles.size() % 3, 0u);
    EXPECT_EQ(scene.lines.size() % 2, 0u);

    const auto grid = linesOfColor(scene, Rgb{210, 215, 210});
    ASSERT_EQ(grid.size(), 18u);
    for (const auto& [a, b] : grid) {
        EXPECT_FLOAT_EQ(a.y, -1.35f);
        EXPECT_FLOAT_EQ(b.y, -1.35f);
        EXPECT_LE(std::max({std::abs(a.x), std::abs(a.z), std::abs(b.x), std::abs(b.z)}), 190.0f + 1e-4f);
    }
    EXPECT_FLOAT_EQ(grid.front().first.x, -190.0f);
    EXPECT_FLOAT_EQ(grid.front().first.z, -190.0f);
    EXPECT_FLOAT_EQ(grid.front().second.z, 190.0f);

    const auto footprint = linesOfColor(scene, Rgb{70, 90, 70});
    ASSERT_EQ(footprint.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(footprint[i].first.y, i < 4 ? 3.0f : 100.0f);
    EXPECT_FLOAT_EQ(footprint[0].first.x, -100.0f);
    EXPECT_FLOAT_EQ(footprint[0].first.z, -75.0f);

    const auto dividers = linesOfColor(scene, Rgb{95, 115, 95});
    ASSERT_EQ(dividers.size(), 9u);
    EXPECT_FLOAT_EQ(dividers[0].first.x, static_cast<float>(-97 + 194.0 / 3));
    EXPECT_FLOAT_EQ(dividers[3].first.x, static_cast<float>(-97 + 388.0 / 3));
    EXPECT_FLOAT_EQ(dividers[0].first.y, 3.0f);
    EXPECT_FLOAT_EQ(dividers[0].second.y, 100.0f);
    EXPECT_FLOAT_EQ(dividers[0].first.z, -72.0f);
    EXPECT_FLOAT_EQ(dividers[6].first.z, static_cast<float>(-72 + 144.0 / 2));
    EXPECT_FLOAT_EQ(dividers[6].first.x, -97.0f);
    EXPECT_FLOAT_EQ(dividers[7].first.x, 97.0f);
}

TEST(SceneTest, PanelsUseTheirShadedColoursAndPlacement) {
    SceneLists scene;
    const BoxModel3d model = modelOf(BoxParameters{});
    ASSERT_TRUE(appendPanelMesh(model, PanelKind::Base, Rgb{226, 224, 205}, scene));
    ASSERT_FALSE(scene.triangles.empty());
    EXPECT_EQ(scene.triangles[0].color, opaqueColor(Rgb{239, 237, 217}));
    EXPECT_FLOAT_EQ(scene.triangles[0].y, 0.0f);
    EXPECT_FLOAT_EQ(scene.triangles[3].y, 3.0f);
    EXPECT_EQ(scene.triangles[3].color, opaqueColor(Rgb{109, 108, 99}));

    SceneLists front;
    ASSERT_TRUE(appendPanelMesh(model, PanelKind::FrontWall, Rgb{236, 232, 207}, front));
    EXPECT_EQ(front.triangles[0].color, opaqueColor(Rgb{199, 196, 175}));
    EXPECT_FLOAT_EQ(front.triangles[0].z, -75.0f);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const SceneVertex& v : front.triangles) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
    }
    // The front wall spans the full width with its side tabs and reaches down into the base.
    EXPECT_FLOAT_EQ(minX, -100.0f);
    EXPECT_FLOAT_EQ(maxX, 100.0f);
    EXPECT_FLOAT_EQ(minY, 0.0f);
    EXPECT_FLOAT_EQ(maxY, 100.0f);
}

TEST(SceneTest, LidRestsOnTheWalls) {
    for (const auto& [mode, bottom] : {std::pair{DimensionMode::External, 97.0f}, std::pair{DimensionMode::Internal, 103.0f}}) {
        BoxParameters parameters;
        parameters.includeLid = true;
        parameters.dimensionMode = mode;
        const BoxModel3d model = modelOf(parameters);
        SceneLists lid;
        appendPanelMesh(model, PanelKind::Lid, Rgb{244, 240, 220}, lid);
        ASSERT_FALSE(lid.triangles.empty());
        EXPECT_FLOAT_EQ(lid.triangles[0].y, bottom);
    }
}

struct PolygonCase {
    const char* name;
    Polygon2 polygon;
    double area;
};

TEST(TriangulationTest, HandPolygons) {
    const PolygonCase cases[] = {
        {"square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 100},
        {"clockwise square", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 100},
        {"L shape whose inner corner touches a diagonal", {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}, 300},
        {"comb", {{0, 0}, {30, 0}, {30, 10}, {25, 10}, {25, 5}, {20, 5}, {20, 10}, {10, 10}, {10, 5}, {5, 5}, {5, 10}, {0, 10}}, 250},
        {"collinear points kept by the caller", {{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}}, 100},
    };
    for (const PolygonCase& c : cases) {
        SCOPED_TRACE(c.name);
        Polygon2 polygon = c.polygon;
        cleanPolygon(polygon);
        if (signedArea(polygon) < 0) std::reverse(polygon.begin(), polygon.end());
        std::vector<Triangle> triangles;
        ASSERT_TRUE(triangulatePolygon(polygon, triangles));
        EXPECT_EQ(triangles.size(), polygon.size() - 2);
        double area = 0.0;
        for (const Triangle& t : triangles) {
            EXPECT_GT(triangleArea(polygon, t), 0.0);
            area += triangleArea(polygon, t);
        }
        EXPECT_NEAR(area, c.area, 1e-9);
    }
}

TEST(TriangulationTest, CleaningDropsDuplicatesAndStraightPointsButKeepsFolds) {
    Polygon2 polygon{{0, 0}, {0.0001, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0.0002}};
    cleanPolygon(polygon);
    EXPECT_EQ(polygon.size(), 4u);

    Polygon2 fold{{0, 0}, {10, 0}, {5, 0}, {5, 10}};  // (10, 0) turns straight back
    cleanPolygon(fold);
    EXPECT_EQ(fold.size(), 4u);

    Polygon2 line{{0, 0}, {5, 0}, {10, 0}};
    cleanPolygon(line);
    EXPECT_LT(line.size(), 3u);
    std::vector<Triangle> triangles;
    EXPECT_FALSE(triangulatePolygon(line, triangles));
    EXPECT_FALSE(triangulatePolygon(Polygon2{}, triangles));
}

TEST(TriangulationTest, PathBecomesAPolygonWithArcsCut) {
    EXPECT_TRUE(polygonFromPath({}).empty());
    EXPECT_TRUE(polygonFromPath({lineSegment(0, 0, 1, 0), lineSegment(1, 0, 0, 0)}).empty());
    const Polygon2 square = polygonFromPath(rectanglePath(10, 5));
    ASSERT_EQ(square.size(), 4u);  // closing point dropped
    // A half circle of radius 3: 8 + trunc(pi * 3 / 1.5) = 14 steps, the last landing on the end.
    const CutPath half{lineSegment(-3, 0, -3, -5), lineSegment(-3, -5, 3, -5), lineSegment(3, -5, 3, 0),
                       arcSegment({3, 0}, {-3, 0}, {0, 0}, 3, true)};
    const Polygon2 rounded = polygonFromPath(half);
    EXPECT_EQ(rounded.size(), 4u + 14u - 1u);
    EXPECT_NEAR(std::abs(signedArea(rounded)), 30.0 + std::numbers::pi * 9 / 2, 0.2);
}

TEST(TriangulationTest, PanelsWithThousandsOfPointsTriangulate) {
    BoxParameters parameters;
    parameters.inputWidth = 1000;
    parameters.inputDepth = 900;
    parameters.materialThickness = 1.0;
    parameters.fingerCountWidth = 300;
    parameters.fingerCountDepth = 250;
    parameters.cutMode = CutMode::CncRouter;
    parameters.toolDiameter = 1.0;
    const std::optional<BoxModel3d> model = buildBoxModel(parameters);
    ASSERT_TRUE(model.has_value());
    Polygon2 polygon = polygonFromPath(model->base.path);
    cleanPolygon(polygon);
    ASSERT_GT(polygon.size(), 10000u);
    if (signedArea(polygon) < 0) std::reverse(polygon.begin(), polygon.end());
    std::vector<Triangle> triangles;
    ASSERT_TRUE(triangulatePolygon(polygon, triangles));
    double area = 0.0;
    for (const Triangle& t : triangles) area += triangleArea(polygon, t);
    EXPECT_NEAR(area, signedArea(polygon), 1e-6 * signedArea(polygon));
}

TEST(TriangulationTest, EveryPanelOfRandomDesignsTriangulatesExactly) {
    std::mt19937 random(20261206);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto count = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    int panels = 0;
    for (int design = 0; design < 60; ++design) {
        BoxParameters parameters;
        parameters.inputWidth = uniform(60, 600);
        parameters.inputDepth = uniform(60, 600);
        parameters.inputHeight = uniform(40, 300);
        parameters.materialThickness = uniform(2, 8);
        parameters.fingerCountWidth = count(1, 12);
        parameters.fingerCountDepth = count(1, 12);
        parameters.fingerCountHeight = count(1, 6);
        parameters.clearance = uniform(0, 0.3);
        parameters.includeLid = count(0, 1) == 1;
        parameters.dimensionMode = count(0, 1) == 1 ? DimensionMode::Internal : DimensionMode::External;
        parameters.cutMode = count(0, 1) == 1 ? CutMode::CncRouter : CutMode::Laser;
        parameters.toolDiameter = uniform(1, 6);
        const std::optional<BoxModel3d> model = buildBoxModel(parameters);
        if (!model) continue;
        for (PanelKind kind : {PanelKind::Base, PanelKind::FrontWall, PanelKind::LeftWall}) {
            SCOPED_TRACE(testing::Message() << "design " << design << " panel " << static_cast<int>(kind));
            Polygon2 polygon = polygonFromPath(panelFor(*model, kind).path);
            cleanPolygon(polygon);
            ASSERT_GE(polygon.size(), 3u);
            if (signedArea(polygon) < 0) std::reverse(polygon.begin(), polygon.end());
            std::vector<Triangle> triangles;
            ASSERT_TRUE(triangulatePolygon(polygon, triangles));
            double area = 0.0;
            for (const Triangle& t : triangles) area += triangleArea(polygon, t);
            EXPECT_NEAR(area, signedArea(polygon), 1e-6 * signedArea(polygon));
            ++panels;
        }
    }
    EXPECT_GT(panels, 120);
}

}  // namespace
