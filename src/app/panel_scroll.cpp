#include "app/panel_scroll.h"

#include <algorithm>

int32_t maxPanelScroll(int32_t contentHeight, int32_t clientHeight) {
    return std::max(0, contentHeight - std::max(1, clientHeight));
}

int32_t clampPanelScroll(int32_t target, int32_t contentHeight, int32_t clientHeight) {
    return std::clamp(target, 0, maxPanelScroll(contentHeight, clientHeight));
}

int32_t wheelScrollTarget(int32_t position, int32_t wheelDelta) {
    // Integer division truncates toward zero, so a partial notch of a fine wheel moves nothing.
    return position - (wheelDelta / kWheelDelta) * kPanelWheelStep;
}

int32_t scrollRequestTarget(ScrollRequest request, const ScrollBarState& bar) {
    switch (request) {
    case ScrollRequest::LineUp: return bar.position - kPanelLineStep;
    case ScrollRequest::LineDown: return bar.position + kPanelLineStep;
    case ScrollRequest::PageUp: return bar.position - bar.page;
    case ScrollRequest::PageDown: return bar.position + bar.page;
    case ScrollRequest::ThumbTrack: return bar.trackPosition;
    case ScrollRequest::Top: return bar.minimum;
    case ScrollRequest::Bottom: return bar.maximum;
    case ScrollRequest::Other: break;
    }
    return bar.position;
}
