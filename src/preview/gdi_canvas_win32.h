#pragma once
// The canvas on a real GDI device context.
#include <windows.h>

#include <vector>

#include "preview/canvas.h"
#include "preview/gdi_objects_win32.h"

class GdiCanvas final : public Canvas {
public:
    // Draws on dc, which the caller owns and which must outlive the canvas; texts in the interface
    // font scaled to dpi (0: as made for the screen).
    explicit GdiCanvas(HDC dc, int32_t dpi = 0) : dc_(dc), dpi_(dpi) {}

    CanvasObject createPen(PenStyle style, int32_t width, Rgb color) override;
    CanvasObject createSolidBrush(Rgb color) override;
    CanvasObject stockObject(StockObject which) override;
    CanvasObject select(CanvasObject object) override;
    void deleteObject(CanvasObject object) override;
    void moveTo(PixelPoint p) override;
    void lineTo(PixelPoint p) override;
    void polyline(std::span<const PixelPoint> points) override;
    void polygon(std::span<const PixelPoint> points) override;
    void fillRect(const ClientRect& rect, CanvasObject brush) override;
    void rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void setTextColor(Rgb color) override;
    void setTransparentBackground() override;
    void textOut(PixelPoint at, const std::wstring& text) override;
    int32_t textWidth(const std::wstring& text) override;

private:
    const std::vector<POINT>& toPoints(std::span<const PixelPoint> points);
    CanvasObject titleFont();

    HDC dc_;
    int32_t dpi_;                // 0: the screen's
    OwnedFont guiFont_;          // the interface font at dpi_, made when first asked for
    OwnedFont titleFont_;        // the title font at dpi_ (other than 96), made when first asked for
    std::vector<POINT> points_;  // reused between calls
};
