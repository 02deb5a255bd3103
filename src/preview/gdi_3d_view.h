#pragma once
// The 3D view drawn with plain 2D primitives: an orthographic, rotating picture of the assembled
// box whose scale depends only on the box's size, so rotating never zooms. Frame: the box model's,
// moved down by H/2 so the box is centred on the origin.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/box_parameters.h"
#include "preview/box_model_3d.h"
#include "preview/canvas.h"
#include "preview/preview_view_state.h"

// Fit of the box's bounding sphere into the client rectangle less 54 px margins (84 at the bottom) at 96 DPI.
struct Gdi3dFit {
    double extent = 0.0;  // E, mm: 0.62 x space diagonal + 3 x dogbone margin + 4t
    double scale = 1.0;   // pixels per mm at zoom 1
    int32_t originX = 0;
    int32_t originY = 0;
};

// One outer face of the box: corner indices into the eight box corners, in drawing order.
struct BoxFace {
    std::array<uint32_t, 4> corners{};
    Rgb color;
    double depth = 0.0;  // mean rotated Z; larger is nearer
    bool filled = true;
};

Gdi3dFit fitGdi3d(const ClientRect& client, const BoxParameters& derived, int32_t dpi);

// Yaw about the vertical, then pitch, with the sines computed once.
struct ViewRotation {
    ViewRotation(double yawDegrees, double pitchDegrees);
    Point3 apply(Point3 p) const;
    double cosYaw, sinYaw, cosPitch, sinPitch;
};

// Yaw about the vertical, then pitch (degrees); Z of the result is the depth, larger nearer.
Point3 rotateForView(Point3 p, double yawDegrees, double pitchDegrees);

// The six faces farthest first (stable for equal depths), from the eight rotated corners.
std::vector<BoxFace> sortedBoxFaces(const std::array<Point3, 8>& rotatedCorners, bool includeLid);

// "Vista 3D rotativa detallada - W x H x D mm - espesor t mm".
std::wstring gdi3dTitle(const BoxParameters& derived);

// Paints the whole 3D view, or the invalid text when the design is refused. Leaves the canvas's
// selections as found.
void drawGdi3dView(Canvas& canvas, const ClientRect& client, const BoxParameters& parameters,
                   const PreviewViewState& view, const std::wstring& invalidText);
