#include "preview/d3d_transforms.h"

#include "model/tolerances.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

Matrix4 identity() {
    Matrix4 m{};
    m[0] = m[5] = m[10] = m[15] = 1.0f;
    return m;
}

Matrix4 rotationY(double angle) {
    Matrix4 m = identity();
    const auto c = static_cast<float>(std::cos(angle));
    const auto s = static_cast<float>(std::sin(angle));
    m[0] = c;
    m[2] = -s;
    m[8] = s;
    m[10] = c;
    return m;
}

Matrix4 rotationX(double angle) {
    Matrix4 m = identity();
    const auto c = static_cast<float>(std::cos(angle));
    const auto s = static_cast<float>(std::sin(angle));
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
    return m;
}

}  // namespace

double sceneExtent(const BoxModel3d& model) {
    const double w = model.width;
    const double d = model.depth;
    const double h = model.height;
    return 0.62 * std::sqrt(w * w + d * d + h * h) + 6.0 * model.thickness;
}

double cameraDistance(double extent, double zoom) {
    if (zoom > kSmallestZoom) return std::max(1.2 * extent, 2.65 * extent / zoom);
    return std::max(1.2 * extent, 2.65 * extent);
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a[row * 4 + k] * b[k * 4 + column];
            m[row * 4 + column] = sum;
        }
    }
    return m;
}

std::array<double, 3> transformPoint(const Matrix4& m, double x, double y, double z) {
    std::array<double, 4> r{};
    for (int column = 0; column < 4; ++column) {
        r[column] = x * m[column] + y * m[4 + column] + z * m[8 + column] + m[12 + column];
    }
    const double w = r[3] != 0.0 ? r[3] : 1.0;
    return {r[0] / w, r[1] / w, r[2] / w};
}

SceneTransforms sceneTransforms(double extent, const PreviewViewState& state, int32_t width, int32_t height) {
    const double zoom = state.zoom, yaw = state.yaw, pitch = state.pitch;
    const int32_t panX = state.panX, panY = state.panY;
    SceneTransforms transforms;
    const double dist = cameraDistance(extent, zoom);
    const double radians = std::numbers::pi / 180.0;
    transforms.world = multiply(rotationY(yaw * radians), rotationX(pitch * radians));

    // Look-at from (0, 0, -dist) to the origin with y up: axes stay, the scene moves dist away.
    transforms.view = identity();
    const double k = (extent / 360.0) / (zoom > kSmallestZoom ? zoom : 1.0);
    transforms.view[12] = static_cast<float>(panX * k);
    transforms.view[13] = static_cast<float>(-panY * k);
    transforms.view[14] = static_cast<float>(dist);

    double aspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    if (aspect <= kSmallestZoom) aspect = 1.0;
    const double yScale = 1.0 / std::tan(std::numbers::pi / 8.0);
    const double zNear = 1.0;
    const double zFar = 5.0 * extent + dist + 1000.0;
    Matrix4& p = transforms.projection;
    p = Matrix4{};
    p[0] = static_cast<float>(yScale / aspect);
    p[5] = static_cast<float>(yScale);
    p[10] = static_cast<float>(zFar / (zFar - zNear));
    p[11] = 1.0f;
    p[14] = static_cast<float>(-zNear * zFar / (zFar - zNear));
    return transforms;
}
