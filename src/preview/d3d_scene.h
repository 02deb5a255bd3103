#pragma once
// The GPU view's scene as two plain vertex lists (triangles and lines), rebuilt every frame.
// Scene frame, left-handed: x right, y up, z away from the camera; the origin is the centre of
// the base's underside (the box model's frame with its depth as z and its height as y).
#include <cstdint>
#include <vector>

#include "preview/box_model_3d.h"
#include "preview/canvas.h"

// Position plus diffuse colour, laid out as the fixed-function vertex format expects.
struct SceneVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    uint32_t color = 0;  // A8R8G8B8
};
static_assert(sizeof(SceneVertex) == 16);

struct SceneLists {
    std::vector<SceneVertex> triangles;  // three vertices per triangle
    std::vector<SceneVertex> lines;      // two vertices per line
};

struct Vector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Opaque A8R8G8B8.
uint32_t opaqueColor(Rgb color);

// Fill colour lit from the upper left front: factor k x (0.55 + half the light on the normal).
uint32_t shadeColor(Rgb color, Vector3 normal, double factor);

// The scene point of a panel point (u, v) at thickness d.
Vector3 scenePoint(const BoxModel3d& model, PanelKind kind, double u, double v, double d);

// Appends one panel as a slab of thickness t: front and back triangles, sides, and edge lines.
// False when its outline could not be triangulated (sides and lines are still added).
bool appendPanelMesh(const BoxModel3d& model, PanelKind kind, Rgb fill, SceneLists& scene);

// Floor grid, the panels, the wall footprint and the dividers, into cleared lists.
void buildScene(const BoxModel3d& model, SceneLists& scene);
