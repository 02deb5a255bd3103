#pragma once
// A canvas that draws nothing and records every primitive with the pen, brush, font and text state
// it was drawn with, and checks the object rules (no leaks, nothing deleted while selected).
#include "preview/canvas.h"

#include <optional>
#include <string>
#include <vector>

enum class CanvasObjectKind : int32_t { Pen = 0, Brush = 1, Font = 2 };

struct RecordedPen {
    PenStyle style = PenStyle::Solid;
    int32_t width = 1;
    Rgb color;
    friend bool operator==(const RecordedPen&, const RecordedPen&) = default;
};

enum class RecordedFont : int32_t { SurfaceDefault = 0, DefaultGui = 1 };

enum class RecordedKind : int32_t { Line, Polyline, Polygon, FillRect, Rectangle, Text };

struct RecordedPrimitive {
    RecordedKind kind = RecordedKind::Line;
    std::vector<PixelPoint> points;  // line: from, to; rectangle and fill: two corners
    RecordedPen pen;                 // pen selected when drawn
    std::optional<Rgb> brush;        // brush used; empty for the hollow brush
    std::wstring text;
    Rgb textColor;
    bool transparentText = false;
    RecordedFont font = RecordedFont::SurfaceDefault;
};

class RecordingCanvas final : public Canvas {
public:
    RecordingCanvas();

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

    const std::vector<RecordedPrimitive>& primitives() const { return primitives_; }
    // Broken object rules seen so far, in words; empty when all were kept.
    const std::vector<std::string>& faults() const { return faults_; }
    // Created objects not yet deleted.
    int32_t liveObjects() const;
    // True when the pen, brush and font selected are those of a fresh surface.
    bool selectionsAtStart() const;
    // Drops the recording, keeping objects and selections.
    void clearRecording() { primitives_.clear(); }

private:
    struct Object {
        CanvasObjectKind kind = CanvasObjectKind::Pen;
        bool stock = false;
        bool deleted = false;
        RecordedPen pen;
        std::optional<Rgb> brush;
        RecordedFont font = RecordedFont::SurfaceDefault;
    };

    const Object* lookUp(CanvasObject object, const char* operation);
    RecordedPrimitive stateNow(RecordedKind kind) const;

    std::vector<Object> objects_;  // handle = index + 1
    CanvasObject pen_ = 0;
    CanvasObject brush_ = 0;
    CanvasObject font_ = 0;
    PixelPoint position_;
    Rgb textColor_;
    bool transparent_ = false;
    std::vector<RecordedPrimitive> primitives_;
    std::vector<std::string> faults_;
};
