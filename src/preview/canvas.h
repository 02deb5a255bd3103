#pragma once
// A small drawing surface with GDI's object rules: a painter creates pens and brushes, selects
// them (getting back what was selected before), restores that selection and deletes what it
// created. Coordinates are device pixels, y down.
#include <cstdint>
#include <span>
#include <string>

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Client rectangle in pixels; right and bottom are exclusive.
struct ClientRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const ClientRect&, const ClientRect&) = default;
};

enum class PenStyle : int32_t { Solid = 0, Dot = 1 };
// DefaultGuiFont: the interface font; TitleFont: the bolder font the previews' titles are written in.
// Both at the canvas's DPI.
enum class StockObject : int32_t { HollowBrush = 0, DefaultGuiFont = 1, TitleFont = 2 };

// Opaque handle of a pen, brush or font of one canvas; 0 is the empty handle.
using CanvasObject = std::uintptr_t;

class Canvas {
public:
    virtual ~Canvas() = default;

    // A new pen or brush, owned by the caller until deleteObject; 0 on failure.
    virtual CanvasObject createPen(PenStyle style, int32_t width, Rgb color) = 0;
    virtual CanvasObject createSolidBrush(Rgb color) = 0;
    // A shared object that is never deleted.
    virtual CanvasObject stockObject(StockObject which) = 0;
    // Selects a pen, brush or font; returns the object of the same kind selected before (0 on failure).
    virtual CanvasObject select(CanvasObject object) = 0;
    // Deletes a created object that is no longer selected.
    virtual void deleteObject(CanvasObject object) = 0;

    virtual void moveTo(PixelPoint p) = 0;
    // Line from the current position with the current pen; the end pixel is not drawn.
    virtual void lineTo(PixelPoint p) = 0;
    // Open chain through the points with the current pen; the current position is unchanged.
    virtual void polyline(std::span<const PixelPoint> points) = 0;
    // Closed polygon filled with the current brush and outlined with the current pen.
    virtual void polygon(std::span<const PixelPoint> points) = 0;
    // Fills left..right-1 x top..bottom-1 with the brush, whatever is selected.
    virtual void fillRect(const ClientRect& rect, CanvasObject brush) = 0;
    // GDI Rectangle: outlined with the current pen, filled with the current brush.
    virtual void rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;

    virtual void setTextColor(Rgb color) = 0;
    virtual void setTransparentBackground() = 0;
    // Text with its top-left corner at the point, in the selected font.
    virtual void textOut(PixelPoint at, const std::wstring& text) = 0;
    // Width in pixels of the text in the selected font.
    virtual int32_t textWidth(const std::wstring& text) = 0;
};

// Deletes a created object when it goes out of scope.
class OwnedCanvasObject {
public:
    OwnedCanvasObject(Canvas& canvas, CanvasObject object) : canvas_(canvas), object_(object) {}
    ~OwnedCanvasObject() {
        if (object_ != 0) canvas_.deleteObject(object_);
    }
    OwnedCanvasObject(const OwnedCanvasObject&) = delete;
    OwnedCanvasObject& operator=(const OwnedCanvasObject&) = delete;
    CanvasObject get() const { return object_; }

private:
    Canvas& canvas_;
    CanvasObject object_;
};

// Selects an object and puts the previous one back when it goes out of scope. Declare it after
// the OwnedCanvasObject it selects, so the selection is undone before the object is deleted.
class ScopedCanvasSelection {
public:
    ScopedCanvasSelection(Canvas& canvas, CanvasObject object)
        : canvas_(canvas), previous_(object != 0 ? canvas.select(object) : 0) {}
    ~ScopedCanvasSelection() {
        if (previous_ != 0) canvas_.select(previous_);
    }
    ScopedCanvasSelection(const ScopedCanvasSelection&) = delete;
    ScopedCanvasSelection& operator=(const ScopedCanvasSelection&) = delete;

private:
    Canvas& canvas_;
    CanvasObject previous_;
};

// Fills client with the background and outlines it with a one-pixel frame.
// Every preview's background, whichever engine paints it.
inline constexpr Rgb kPreviewBackground{250, 250, 250};

// The preview's background over the client, framed in the given colour.
void paintBackdrop(Canvas& canvas, const ClientRect& client, Rgb frame);

// Writes text at `at` in the selected font, cut with an ellipsis so that it ends before `right`.
void textOutBefore(Canvas& canvas, PixelPoint at, int32_t right, const std::wstring& text);

// Truncates toward zero, as a C cast would, with out-of-range and NaN values held to a safe range.
int32_t truncToPixel(double value);

// Layout lengths are written for 96 DPI (100%) and scaled to the DPI of the window they are shown in.
inline constexpr int32_t kBaseDpi = 96;

// pixelsAt96 at dpi, rounded half away from zero as MulDiv does.
int32_t scaledToDpi(int32_t pixelsAt96, int32_t dpi);
