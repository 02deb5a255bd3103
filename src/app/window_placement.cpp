#include "app/window_placement.h"

#include <algorithm>

namespace {

int64_t overlapArea(const PixelRect& a, const PixelRect& b) {
    const int64_t width = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const int64_t height = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return width > 0 && height > 0 ? width * height : 0;
}

bool showsEnoughOn(const PixelRect& window, const PixelRect& area) {
    const int32_t width = std::min(window.x + window.width, area.x + area.width) - std::max(window.x, area.x);
    const int32_t height = std::min(window.y + window.height, area.y + area.height) - std::max(window.y, area.y);
    // The title bar must be reachable: the window's top may not sit above the work area.
    return width >= std::min(kMinimumVisible, window.width) && height >= std::min(kMinimumVisible, window.height) &&
           window.y >= area.y;
}

// size cut to the area, centred on it when centre, else moved just enough to lie inside it.
PixelRect fitInto(PixelRect window, const PixelRect& area, bool centre) {
    window.width = std::min(window.width, area.width);
    window.height = std::min(window.height, area.height);
    if (centre) {
        window.x = area.x + (area.width - window.width) / 2;
        window.y = area.y + (area.height - window.height) / 2;
    } else {
        window.x = std::clamp(window.x, area.x, area.x + area.width - window.width);
        window.y = std::clamp(window.y, area.y, area.y + area.height - window.height);
    }
    return window;
}

}  // namespace

PixelRect startupWindowRect(const PixelRect& stored, const std::vector<PixelRect>& workAreas) {
    if (workAreas.empty()) return stored;
    if (stored.width <= 0 || stored.height <= 0) {
        return fitInto({0, 0, kFirstStartWidth, kFirstStartHeight}, workAreas.front(), true);
    }
    if (std::any_of(workAreas.begin(), workAreas.end(), [&](const PixelRect& area) { return showsEnoughOn(stored, area); })) {
        return stored;
    }
    const auto best = std::max_element(workAreas.begin(), workAreas.end(), [&](const PixelRect& a, const PixelRect& b) {
        return overlapArea(stored, a) < overlapArea(stored, b);
    });
    return fitInto(stored, *best, false);  // the first, the primary, when none overlaps
}
