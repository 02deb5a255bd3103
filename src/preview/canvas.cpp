#include "preview/canvas.h"

#include <cmath>

void paintBackdrop(Canvas& canvas, const ClientRect& client, Rgb frame) {
    {
        OwnedCanvasObject brush(canvas, canvas.createSolidBrush(kPreviewBackground));
        if (brush.get() != 0) canvas.fillRect(client, brush.get());
    }
    OwnedCanvasObject framePen(canvas, canvas.createPen(PenStyle::Solid, 1, frame));
    ScopedCanvasSelection pen(canvas, framePen.get());
    ScopedCanvasSelection hollow(canvas, canvas.stockObject(StockObject::HollowBrush));
    canvas.rectangle(client.left, client.top, client.right - 1, client.bottom - 1);
}

void textOutBefore(Canvas& canvas, PixelPoint at, int32_t right, const std::wstring& text) {
    const int32_t room = right - at.x;
    if (canvas.textWidth(text) <= room) return canvas.textOut(at, text);
    std::wstring cut = text;
    while (!cut.empty() && canvas.textWidth(cut + L"\u2026") > room) cut.pop_back();
    canvas.textOut(at, cut + L"\u2026");
}

int32_t truncToPixel(double value) {
    // Far beyond any screen, yet leaves room for adding origins and pans without overflow.
    constexpr double kLimit = 1.0e9;
    if (std::isnan(value)) return 0;
    if (value > kLimit) return static_cast<int32_t>(kLimit);
    if (value < -kLimit) return static_cast<int32_t>(-kLimit);
    return static_cast<int32_t>(value);
}

int32_t scaledToDpi(int32_t pixelsAt96, int32_t dpi) {
    return static_cast<int32_t>(std::lround(static_cast<double>(pixelsAt96) * dpi / kBaseDpi));
}
