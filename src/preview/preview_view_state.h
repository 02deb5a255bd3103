#pragma once
// Zoom, pan, rotation and drag state of the preview window, and the mouse operations on it.
// The window procedure only dispatches to these and repaints when they say so.
#include <cstdint>
#include <span>
#include <string>

#include "model/piece_set.h"
#include "preview/canvas.h"

struct SheetFrame;  // plan_preview.h

// The 3D engine choice, also its persisted number and combo-box index.
enum class RenderMode : int32_t { Automatic = 0, Gdi = 1, Direct3D9 = 2 };

// 1 is GDI, 2 is Direct3D 9, anything else Automatic.
RenderMode renderModeFromIndex(int32_t index);

// Interface texts of the preview, already looked up in the current language.
struct PreviewTexts {
    std::wstring title2d;          // "preview.2dTitle"
    std::wstring noPieces;         // "preview.noPieces"
    std::wstring zoomHintFormat;   // "preview.zoomHintFormat"
    std::wstring invalid3d;        // "preview.3dInvalid"
    std::wstring d3dNotAvailable;  // "status.d3dNotAvailable"
    std::wstring planSize;         // the plan's size in the panel's unit, shown top right of the plan
};

struct PreviewViewState {
    double zoom = 1.0;     // on top of the fitted scale, 0.2 .. 8.0
    int32_t panX = 0;      // pixels added after projection
    int32_t panY = 0;
    bool panning = false;  // right or middle button drag
    bool rotating = false; // left button drag, 3D view only
    int32_t lastMouseX = 0;
    int32_t lastMouseY = 0;
    double yaw = 35.0;     // degrees, [0, 360)
    double pitch = -22.0;  // degrees, [-89, 89]
    bool show3D = false;
    RenderMode renderMode = RenderMode::Automatic;
    int32_t dpi = kBaseDpi;  // of the window painted in: margins, text places and wide pens scale with it
};

// Back to zoom 1, no pan, no drag, yaw 35 and pitch -22; show3D and renderMode stay.
void fitView(PreviewViewState& state);

// Left button down at client (x, y): starts rotating in the 3D view; false (nothing) in 2D.
bool beginRotate(PreviewViewState& state, int32_t x, int32_t y);
// Right or middle button down at client (x, y).
void beginPan(PreviewViewState& state, int32_t x, int32_t y);
// Button up: true when that drag was in progress and has now ended (release the capture).
bool endRotate(PreviewViewState& state);
bool endPan(PreviewViewState& state);

// Mouse moved to client (x, y): rotates (0.45 and 0.35 degrees per pixel) or pans; true to repaint.
bool dragTo(PreviewViewState& state, int32_t x, int32_t y);

// One wheel step at client (mx, my): x1.15 forward, /1.15 otherwise, kept within 0.2..8.0. The 2D
// view keeps the plan point under the cursor still (the plan fitted into client). True to repaint.
bool zoomAt(PreviewViewState& state, int32_t wheelDelta, int32_t mx, int32_t my, const ClientRect& client,
            const PieceSet& pieces, std::span<const SheetFrame> sheets = {});
