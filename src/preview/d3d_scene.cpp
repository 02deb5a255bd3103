#include "preview/d3d_scene.h"

#include "model/tolerances.h"

#include <algorithm>
#include <cmath>

#include "preview/panel_polygon.h"

namespace {

constexpr Rgb kEdge{24, 65, 28};
constexpr Rgb kGrid{210, 215, 210};
constexpr Rgb kFootprint{70, 90, 70};
constexpr Rgb kDivider{95, 115, 95};

Vector3 panelNormal(PanelKind kind) {
    switch (kind) {
        case PanelKind::FrontWall: return Vector3{0, 0, -1};
        case PanelKind::BackWall: return Vector3{0, 0, 1};
        case PanelKind::LeftWall: return Vector3{-1, 0, 0};
        case PanelKind::RightWall: return Vector3{1, 0, 0};
        case PanelKind::Base:
        case PanelKind::Lid: break;
    }
    return Vector3{0, 1, 0};
}

SceneVertex vertex(Vector3 p, uint32_t color) {
    return SceneVertex{static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z), color};
}

void addLine(SceneLists& scene, Vector3 a, Vector3 b, uint32_t color) {
    scene.lines.push_back(vertex(a, color));
    scene.lines.push_back(vertex(b, color));
}

// Closed rectangle of the outer footprint at one height.
void addFootprint(SceneLists& scene, const BoxModel3d& model, double y, uint32_t color) {
    const double hw = model.width / 2.0;
    const double hd = model.depth / 2.0;
    const Vector3 corners[4]{{-hw, y, -hd}, {hw, y, -hd}, {hw, y, hd}, {-hw, y, hd}};
    for (int i = 0; i < 4; ++i) addLine(scene, corners[i], corners[(i + 1) % 4], color);
}

}  // namespace

uint32_t opaqueColor(Rgb color) {
    return 0xFF000000u | (uint32_t{color.r} << 16) | (uint32_t{color.g} << 8) | uint32_t{color.b};
}

uint32_t shadeColor(Rgb color, Vector3 normal, double factor) {
    const double lightLength = std::sqrt(0.35 * 0.35 + 0.85 * 0.85 + 0.45 * 0.45);
    const Vector3 light{-0.35 / lightLength, 0.85 / lightLength, -0.45 / lightLength};
    const double length = std::sqrt(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z);
    const Vector3 n = length < kShortNormal ? Vector3{0, 0, 1} : Vector3{normal.x / length, normal.y / length, normal.z / length};
    const double s = light.x * n.x + light.y * n.y + light.z * n.z;
    const double f = std::clamp((std::max(s, 0.0) * 0.5 + 0.55) * factor, 0.25, 1.25);
    auto channel = [f](uint8_t c) { return static_cast<uint8_t>(std::min(std::trunc(c * f), 255.0)); };
    return opaqueColor(Rgb{channel(color.r), channel(color.g), channel(color.b)});
}

Vector3 scenePoint(const BoxModel3d& model, PanelKind kind, double u, double v, double d) {
    const Point3 p = placePanelPoint(model, kind, u, v, d);
    return Vector3{p.x, p.z, p.y};
}

bool appendPanelMesh(const BoxModel3d& model, PanelKind kind, Rgb fill, SceneLists& scene) {
    Polygon2 polygon = polygonFromPath(panelFor(model, kind).path);
    cleanPolygon(polygon);
    if (polygon.size() < 3) return true;
    if (signedArea(polygon) < 0.0) std::reverse(polygon.begin(), polygon.end());

    const double t = model.thickness;
    const Vector3 normal = panelNormal(kind);
    const uint32_t front = shadeColor(fill, normal, 1.1);
    const uint32_t back = shadeColor(fill, Vector3{-normal.x, -normal.y, -normal.z}, 0.88);
    const uint32_t side = shadeColor(fill, normal, 0.82);
    const uint32_t edge = opaqueColor(kEdge);
    auto at = [&](std::size_t i, double d) { return scenePoint(model, kind, polygon[i].x, polygon[i].y, d); };

    std::vector<Triangle> triangles;
    const bool cut = triangulatePolygon(polygon, triangles);
    if (cut) {
        for (const Triangle& tri : triangles) {
            for (uint32_t i : {tri[0], tri[1], tri[2]}) scene.triangles.push_back(vertex(at(i, 0.0), front));
            for (uint32_t i : {tri[2], tri[1], tri[0]}) scene.triangles.push_back(vertex(at(i, t), back));
        }
    }
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vector3 a0 = at(i, 0.0);
        const Vector3 b0 = at((i + 1) % n, 0.0);
        const Vector3 a1 = at(i, t);
        const Vector3 b1 = at((i + 1) % n, t);
        for (Vector3 p : {a0, b0, b1, a0, b1, a1}) scene.triangles.push_back(vertex(p, side));
        addLine(scene, a0, b0, edge);
        addLine(scene, a1, b1, edge);
        if (i % 4 == 0) addLine(scene, a0, a1, edge);
    }
    return cut;
}

void buildScene(const BoxModel3d& model, SceneLists& scene) {
    scene.triangles.clear();
    scene.lines.clear();
    scene.triangles.reserve(24000);
    scene.lines.reserve(16000);
    const double w = model.width;
    const double d = model.depth;
    const double t = model.thickness;

    const uint32_t grid = opaqueColor(kGrid);
    const double g = 0.95 * std::max(w, d);
    const double floorY = -0.45 * t;
    for (int i = -4; i <= 4; ++i) {
        const double o = i * g / 4.0;
        addLine(scene, Vector3{o, floorY, -g}, Vector3{o, floorY, g}, grid);
        addLine(scene, Vector3{-g, floorY, o}, Vector3{g, floorY, o}, grid);
    }

    appendPanelMesh(model, PanelKind::Base, Rgb{226, 224, 205}, scene);
    appendPanelMesh(model, PanelKind::FrontWall, Rgb{236, 232, 207}, scene);
    appendPanelMesh(model, PanelKind::BackWall, Rgb{220, 232, 238}, scene);
    appendPanelMesh(model, PanelKind::LeftWall, Rgb{230, 238, 220}, scene);
    appendPanelMesh(model, PanelKind::RightWall, Rgb{224, 235, 245}, scene);
    if (model.parameters.includeLid) appendPanelMesh(model, PanelKind::Lid, Rgb{244, 240, 220}, scene);

    const uint32_t footprint = opaqueColor(kFootprint);
    addFootprint(scene, model, t, footprint);
    addFootprint(scene, model, model.wallTop, footprint);

    const uint32_t divider = opaqueColor(kDivider);
    const double top = model.wallTop;
    const double zf = -d / 2.0 + t;
    const double zb = d / 2.0 - t;
    for (const double x : model.widthDividerX) {
        addLine(scene, Vector3{x, t, zf}, Vector3{x, top, zf}, divider);
        addLine(scene, Vector3{x, t, zb}, Vector3{x, top, zb}, divider);
        addLine(scene, Vector3{x, top, zf}, Vector3{x, top, zb}, divider);
    }
    const double xl = -w / 2.0 + t;
    const double xr = w / 2.0 - t;
    for (const double z : model.depthDividerY) {
        addLine(scene, Vector3{xl, t, z}, Vector3{xl, top, z}, divider);
        addLine(scene, Vector3{xr, t, z}, Vector3{xr, top, z}, divider);
        addLine(scene, Vector3{xl, top, z}, Vector3{xr, top, z}, divider);
    }
}
