#pragma once
// Where the main window's parts go, in client pixels: the control panel in a strip on the left, the
// preview and the status line beside it. Lengths are named at 96 DPI and scaled to the window's DPI.
#include <cstdint>

#include "preview/canvas.h"

struct PixelRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The main window's client size and the DPI it is shown at.
struct ClientArea {
    int32_t width = 0;
    int32_t height = 0;
    int32_t dpi = kBaseDpi;
    int32_t statusTextHeight = 0;  // one line of the status line's font, pixels (0: none measured)
};

// The panel's strip: controls, their margins and the scroll bar. The wheel left of it scrolls the panel.
inline constexpr int32_t kPanelStripWidth = 326;
// Room kept below the lowest control of the panel.
inline constexpr int32_t kPanelBottomMargin = 10;

// The panel's strip at dpi, in pixels.
int32_t panelStripWidth(int32_t dpi);
// A rectangle laid out at 96 DPI, at dpi.
PixelRect scaledRect(const PixelRect& at96, int32_t dpi);

// The panel's scroll bar, the whole client height at the strip's right edge.
PixelRect panelScrollBarRect(const ClientArea& area);
// The preview, 12 px from the strip, the top and the right, above the status line.
PixelRect previewRect(const ClientArea& area);
// The status line under the preview: 22 px high at 96 DPI, or its font's line with room around it
// when that is taller.
PixelRect statusLineRect(const ClientArea& area);
