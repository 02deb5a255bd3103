#include "app/panel_layout.h"

#include <algorithm>

namespace {
constexpr int32_t kMargin = 12;
constexpr int32_t kScrollBarWidth = 14;
constexpr int32_t kPreviewX = kPanelStripWidth + 10;
constexpr int32_t kStatusHeight = 22;
constexpr int32_t kStatusTextRoom = 8;  // the client edge and a little air above and below the text
constexpr int32_t kStatusGap = 8;

// The lengths of the right-hand column at the area's DPI.
struct ColumnLengths {
    int32_t margin, previewX, statusHeight, statusGap;
};

ColumnLengths columnLengths(const ClientArea& area) {
    const int32_t dpi = area.dpi;
    const int32_t statusHeight =
        std::max(scaledToDpi(kStatusHeight, dpi), area.statusTextHeight + scaledToDpi(kStatusTextRoom, dpi));
    return {scaledToDpi(kMargin, dpi), scaledToDpi(kPreviewX, dpi), statusHeight, scaledToDpi(kStatusGap, dpi)};
}
}  // namespace

PixelRect scaledRect(const PixelRect& at96, int32_t dpi) {
    return {scaledToDpi(at96.x, dpi), scaledToDpi(at96.y, dpi), scaledToDpi(at96.width, dpi),
            scaledToDpi(at96.height, dpi)};
}

int32_t panelStripWidth(int32_t dpi) { return scaledToDpi(kPanelStripWidth, dpi); }

PixelRect panelScrollBarRect(const ClientArea& area) {
    const int32_t width = scaledToDpi(kScrollBarWidth, area.dpi);
    return {panelStripWidth(area.dpi) - width, 0, width, area.height};
}

PixelRect previewRect(const ClientArea& area) {
    const ColumnLengths c = columnLengths(area);
    return {c.previewX, c.margin, std::max(1, area.width - c.previewX - c.margin),
            std::max(1, area.height - c.margin - c.statusGap - c.statusHeight - c.margin)};
}

PixelRect statusLineRect(const ClientArea& area) {
    const ColumnLengths c = columnLengths(area);
    return {c.previewX, std::max(c.margin, area.height - c.statusHeight - c.margin),
            std::max(1, area.width - c.previewX - c.margin), c.statusHeight};
}
