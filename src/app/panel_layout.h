#pragma once
// Where the main window's parts go, in client pixels: the control panel in a strip on the left, the
// preview and the status line beside it.
#include <cstdint>

struct PixelRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The panel's strip: controls, their margins and the scroll bar. The wheel left of it scrolls the panel.
inline constexpr int32_t kPanelStripWidth = 326;
// Room kept below the lowest control of the panel.
inline constexpr int32_t kPanelBottomMargin = 10;

// The panel's scroll bar, the whole client height at the strip's right edge.
PixelRect panelScrollBarRect(int32_t clientHeight);
// The preview, 12 px from the strip, the top and the right, above the status line.
PixelRect previewRect(int32_t clientWidth, int32_t clientHeight);
// The status line under the preview, 22 px high.
PixelRect statusLineRect(int32_t clientWidth, int32_t clientHeight);
