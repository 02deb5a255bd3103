#include "preview/gdi_canvas_win32.h"

namespace {
COLORREF toColorRef(Rgb color) { return RGB(color.r, color.g, color.b); }
HGDIOBJ toHandle(CanvasObject object) { return reinterpret_cast<HGDIOBJ>(object); }
CanvasObject fromHandle(HGDIOBJ handle) { return reinterpret_cast<CanvasObject>(handle); }
}  // namespace

CanvasObject GdiCanvas::createPen(PenStyle style, int32_t width, Rgb color) {
    return fromHandle(CreatePen(style == PenStyle::Dot ? PS_DOT : PS_SOLID, width, toColorRef(color)));
}

CanvasObject GdiCanvas::createSolidBrush(Rgb color) { return fromHandle(CreateSolidBrush(toColorRef(color))); }

CanvasObject GdiCanvas::stockObject(StockObject which) {
    if (which == StockObject::HollowBrush) return fromHandle(GetStockObject(HOLLOW_BRUSH));
    if (which == StockObject::TitleFont) return titleFont();
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    // The stock font is made for the screen's DPI; a window on a screen of another DPI gets it scaled.
    const int screenDpi = dc_ ? GetDeviceCaps(dc_, LOGPIXELSY) : 0;
    if (dpi_ <= 0 || screenDpi <= 0 || dpi_ == screenDpi) return fromHandle(stock);
    LOGFONTW font{};
    if (!guiFont_.get() && GetObjectW(stock, sizeof font, &font)) {
        font.lfHeight = MulDiv(font.lfHeight, dpi_, screenDpi);
        guiFont_.reset(CreateFontIndirectW(&font));
    }
    return fromHandle(guiFont_.get() ? static_cast<HGDIOBJ>(guiFont_.get()) : stock);
}

// The system font a device context starts with is made for 96 DPI whatever the screen's.
CanvasObject GdiCanvas::titleFont() {
    HGDIOBJ stock = GetStockObject(SYSTEM_FONT);
    if (dpi_ <= 0 || dpi_ == kBaseDpi) return fromHandle(stock);
    LOGFONTW font{};
    if (!titleFont_.get() && GetObjectW(stock, sizeof font, &font)) {
        font.lfHeight = MulDiv(font.lfHeight, dpi_, kBaseDpi);
        font.lfWidth = MulDiv(font.lfWidth, dpi_, kBaseDpi);
        titleFont_.reset(CreateFontIndirectW(&font));
    }
    return fromHandle(titleFont_.get() ? static_cast<HGDIOBJ>(titleFont_.get()) : stock);
}

CanvasObject GdiCanvas::select(CanvasObject object) {
    if (dc_ == nullptr || object == 0) return 0;
    HGDIOBJ previous = SelectObject(dc_, toHandle(object));
    return previous == HGDI_ERROR ? 0 : fromHandle(previous);
}

void GdiCanvas::deleteObject(CanvasObject object) {
    if (object != 0) DeleteObject(toHandle(object));
}

void GdiCanvas::moveTo(PixelPoint p) {
    if (dc_ != nullptr) MoveToEx(dc_, p.x, p.y, nullptr);
}

void GdiCanvas::lineTo(PixelPoint p) {
    if (dc_ != nullptr) LineTo(dc_, p.x, p.y);
}

const std::vector<POINT>& GdiCanvas::toPoints(std::span<const PixelPoint> points) {
    points_.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) points_[i] = POINT{points[i].x, points[i].y};
    return points_;
}

void GdiCanvas::polyline(std::span<const PixelPoint> points) {
    if (dc_ == nullptr || points.size() < 2) return;
    const std::vector<POINT>& converted = toPoints(points);
    Polyline(dc_, converted.data(), static_cast<int>(converted.size()));
}

void GdiCanvas::polygon(std::span<const PixelPoint> points) {
    if (dc_ == nullptr || points.size() < 2) return;
    const std::vector<POINT>& converted = toPoints(points);
    Polygon(dc_, converted.data(), static_cast<int>(converted.size()));
}

void GdiCanvas::fillRect(const ClientRect& rect, CanvasObject brush) {
    if (dc_ == nullptr || brush == 0) return;
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    FillRect(dc_, &area, static_cast<HBRUSH>(toHandle(brush)));
}

void GdiCanvas::rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (dc_ != nullptr) Rectangle(dc_, left, top, right, bottom);
}

void GdiCanvas::setTextColor(Rgb color) {
    if (dc_ != nullptr) SetTextColor(dc_, toColorRef(color));
}

void GdiCanvas::setTransparentBackground() {
    if (dc_ != nullptr) SetBkMode(dc_, TRANSPARENT);
}

void GdiCanvas::textOut(PixelPoint at, const std::wstring& text) {
    if (dc_ == nullptr || text.empty()) return;
    TextOutW(dc_, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

int32_t GdiCanvas::textWidth(const std::wstring& text) {
    SIZE size{};
    if (dc_ == nullptr || text.empty() || !GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size))
        return 0;
    return size.cx;
}
