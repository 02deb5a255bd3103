#pragma once
// Camera and matrices of the GPU view, in the row-vector, left-handed convention of Direct3D 9.
#include <array>
#include <cstdint>

#include "preview/box_model_3d.h"
#include "preview/preview_view_state.h"

// Row-major 4 x 4 (element [row * 4 + column]), the layout of a Direct3D 9 matrix.
using Matrix4 = std::array<float, 16>;

struct SceneTransforms {
    Matrix4 world{};
    Matrix4 view{};
    Matrix4 projection{};
};

// E: 0.62 x space diagonal + 6t (mm).
double sceneExtent(const BoxModel3d& model);

// max(1.2 E, 2.65 E / zoom); zoom 0.01 or less counts as 1.
double cameraDistance(double extent, double zoom);

// World rotation (yaw about y, then pitch about x, degrees), look-at from (0, 0, -dist) with the pan
// (360 px = E at zoom 1) added to the view translation, and a pi/4 perspective for the client size.
SceneTransforms sceneTransforms(double extent, const PreviewViewState& view, int32_t width, int32_t height);

// Row vector times matrix, with the perspective divide.
std::array<double, 3> transformPoint(const Matrix4& m, double x, double y, double z);

Matrix4 multiply(const Matrix4& a, const Matrix4& b);
