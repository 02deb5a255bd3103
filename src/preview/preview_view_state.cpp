#include "preview/preview_view_state.h"

#include <algorithm>
#include <cmath>

#include "model/tolerances.h"
#include "preview/plan_preview.h"

RenderMode renderModeFromIndex(int32_t index) {
    if (index == 1) return RenderMode::Gdi;
    if (index == 2) return RenderMode::Direct3D9;
    return RenderMode::Automatic;
}

void fitView(PreviewViewState& state) {
    const PreviewViewState initial;
    state.zoom = initial.zoom;
    state.panX = initial.panX;
    state.panY = initial.panY;
    state.panning = false;
    state.rotating = false;
    state.yaw = initial.yaw;
    state.pitch = initial.pitch;
}

bool beginRotate(PreviewViewState& state, int32_t x, int32_t y) {
    if (!state.show3D) return false;
    state.rotating = true;
    state.lastMouseX = x;
    state.lastMouseY = y;
    return true;
}

void beginPan(PreviewViewState& state, int32_t x, int32_t y) {
    state.panning = true;
    state.lastMouseX = x;
    state.lastMouseY = y;
}

bool endRotate(PreviewViewState& state) {
    const bool wasRotating = state.rotating;
    state.rotating = false;
    return wasRotating;
}

bool endPan(PreviewViewState& state) {
    const bool wasPanning = state.panning;
    state.panning = false;
    return wasPanning;
}

bool dragTo(PreviewViewState& state, int32_t x, int32_t y) {
    // 64-bit steps: a runaway pan saturates instead of overflowing.
    const int64_t dx = static_cast<int64_t>(x) - state.lastMouseX;
    const int64_t dy = static_cast<int64_t>(y) - state.lastMouseY;
    if (state.rotating) {
        state.yaw -= dx * 0.45;
        state.pitch = std::clamp(state.pitch - dy * 0.35, -89.0, 89.0);
        while (state.yaw >= 360.0) state.yaw -= 360.0;
        while (state.yaw < 0.0) state.yaw += 360.0;
    } else if (state.panning) {
        state.panX = truncToPixel(static_cast<double>(state.panX + dx));
        state.panY = truncToPixel(static_cast<double>(state.panY + dy));
    } else {
        return false;
    }
    state.lastMouseX = x;
    state.lastMouseY = y;
    return true;
}

bool zoomAt(PreviewViewState& state, int32_t wheelDelta, int32_t mx, int32_t my, const ClientRect& client,
            const PieceSet& pieces, std::span<const SheetFrame> sheets) {
    const double old = state.zoom;
    const double next = std::clamp(wheelDelta > 0 ? old * 1.15 : old / 1.15, 0.2, 8.0);
    if (std::abs(next - old) <= kZoomStep) return false;
    const double ratio = next / old;
    if (state.show3D) {
        state.panX = truncToPixel(mx - (mx - state.panX) * ratio);
        state.panY = truncToPixel(my - (my - state.panY) * ratio);
    } else {
        const PlanFit fit = fitPlan(client, pieces, state.dpi, sheets);
        state.panX = truncToPixel((mx - fit.originX) - (static_cast<double>(mx) - state.panX - fit.originX) * ratio);
        state.panY = truncToPixel((my - fit.originY) - (static_cast<double>(my) - state.panY - fit.originY) * ratio);
    }
    state.zoom = next;
    return true;
}
