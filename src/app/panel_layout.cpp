#include "app/panel_layout.h"

#include <algorithm>

namespace {
constexpr int32_t kMargin = 12;
constexpr int32_t kScrollBarWidth = 14;
constexpr int32_t kPreviewX = kPanelStripWidth + 10;
constexpr int32_t kStatusHeight = 22;
constexpr int32_t kStatusGap = 8;
}  // namespace

PixelRect panelScrollBarRect(int32_t clientHeight) {
    return {kPanelStripWidth - kScrollBarWidth, 0, kScrollBarWidth, clientHeight};
}

PixelRect previewRect(int32_t clientWidth, int32_t clientHeight) {
    return {kPreviewX, kMargin, std::max(1, clientWidth - kPreviewX - kMargin),
            std::max(1, clientHeight - kMargin - kStatusGap - kStatusHeight - kMargin)};
}

PixelRect statusLineRect(int32_t clientWidth, int32_t clientHeight) {
    return {kPreviewX, std::max(kMargin, clientHeight - kStatusHeight - kMargin), std::max(1, clientWidth - kPreviewX - kMargin),
            kStatusHeight};
}
