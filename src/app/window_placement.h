#pragma once
// Where the main window opens: the size and place it was closed with, kept on a screen that still exists.
#include "app/panel_layout.h"

#include <vector>

// The first start's size, where the work area allows it.
inline constexpr int32_t kFirstStartWidth = 1280;
inline constexpr int32_t kFirstStartHeight = 900;
// The smallest client area at 96 DPI: the panel's strip and a useful preview beside it.
inline constexpr int32_t kMinimumClientWidth = kPanelStripWidth + 340;
inline constexpr int32_t kMinimumClientHeight = 420;
// Less of the window than this on every work area (either way, in pixels) counts as lost.
inline constexpr int32_t kMinimumVisible = 120;

// The normal rectangle to open with, in screen pixels. workAreas: each monitor's work area, the primary
// first (none: the stored rectangle as it is). No stored rectangle (zero width or height): the first
// start's size cut to the primary work area, centred on it. A stored rectangle that shows too little
// on every work area is moved, cut to fit, onto the one it overlaps most (the primary when none).
PixelRect startupWindowRect(const PixelRect& stored, const std::vector<PixelRect>& workAreas);
