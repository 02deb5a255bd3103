#pragma once
// Arithmetic of the scrollable control panel, in client pixels (y grows downward).
#include <cstdint>

// Pixels per scroll-bar line step and per wheel notch; a notch is a wheel delta of 120.
inline constexpr int32_t kPanelLineStep = 24;
inline constexpr int32_t kPanelWheelStep = 60;
inline constexpr int32_t kWheelDelta = 120;

// Largest offset for a panel of contentHeight shown in clientHeight (at least 1 pixel): 0 when it fits.
int32_t maxPanelScroll(int32_t contentHeight, int32_t clientHeight);

// target clamped into [0, maxPanelScroll].
int32_t clampPanelScroll(int32_t target, int32_t contentHeight, int32_t clientHeight);

// Offset asked for by one wheel message: whole notches only, up (smaller offset) for a positive delta.
int32_t wheelScrollTarget(int32_t position, int32_t wheelDelta);

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbTrack, Top, Bottom, Other };

// What a scroll bar reports before a request.
struct ScrollBarState {
    int32_t position = 0;
    int32_t page = 0;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t trackPosition = 0;
};

// Offset asked for by one scroll-bar request, before clamping.
int32_t scrollRequestTarget(ScrollRequest request, const ScrollBarState& bar);
