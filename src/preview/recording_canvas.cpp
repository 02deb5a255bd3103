#include "preview/recording_canvas.h"

namespace {
constexpr CanvasObject kSurfacePen = 1;
constexpr CanvasObject kSurfaceBrush = 2;
constexpr CanvasObject kSurfaceFont = 3;
constexpr CanvasObject kHollowBrush = 4;
constexpr CanvasObject kGuiFont = 5;
}  // namespace

RecordingCanvas::RecordingCanvas() {
    Object pen{CanvasObjectKind::Pen, true, false, RecordedPen{PenStyle::Solid, 1, Rgb{0, 0, 0}}, {}, {}};
    Object brush{CanvasObjectKind::Brush, true, false, {}, Rgb{255, 255, 255}, {}};
    Object surfaceFont{CanvasObjectKind::Font, true, false, {}, {}, RecordedFont::SurfaceDefault};
    Object hollow{CanvasObjectKind::Brush, true, false, {}, std::nullopt, {}};
    Object guiFont{CanvasObjectKind::Font, true, false, {}, {}, RecordedFont::DefaultGui};
    objects_ = {pen, brush, surfaceFont, hollow, guiFont};
    pen_ = kSurfacePen;
    brush_ = kSurfaceBrush;
    font_ = kSurfaceFont;
}

CanvasObject RecordingCanvas::createPen(PenStyle style, int32_t width, Rgb color) {
    objects_.push_back(Object{CanvasObjectKind::Pen, false, false, RecordedPen{style, width, color}, {}, {}});
    return objects_.size();
}

CanvasObject RecordingCanvas::createSolidBrush(Rgb color) {
    objects_.push_back(Object{CanvasObjectKind::Brush, false, false, {}, color, {}});
    return objects_.size();
}

CanvasObject RecordingCanvas::stockObject(StockObject which) {
    return which == StockObject::HollowBrush ? kHollowBrush : kGuiFont;
}

const RecordingCanvas::Object* RecordingCanvas::lookUp(CanvasObject object, const char* operation) {
    if (object == 0 || object > objects_.size()) {
        faults_.push_back(std::string(operation) + " of an unknown object");
        return nullptr;
    }
    const Object& found = objects_[object - 1];
    if (found.deleted) {
        faults_.push_back(std::string(operation) + " of a deleted object");
        return nullptr;
    }
    return &found;
}

CanvasObject RecordingCanvas::select(CanvasObject object) {
    const Object* found = lookUp(object, "select");
    if (found == nullptr) return 0;
    CanvasObject& slot = found->kind == CanvasObjectKind::Pen     ? pen_
                         : found->kind == CanvasObjectKind::Brush ? brush_
                                                                  : font_;
    const CanvasObject previous = slot;
    slot = object;
    return previous;
}

void RecordingCanvas::deleteObject(CanvasObject object) {
    const Object* found = lookUp(object, "delete");
    if (found == nullptr) return;
    if (found->stock) {
        faults_.push_back("delete of a stock object");
        return;
    }
    if (object == pen_ || object == brush_ || object == font_) {
        faults_.push_back("delete of a selected object");
        return;
    }
    objects_[object - 1].deleted = true;
}

RecordedPrimitive RecordingCanvas::stateNow(RecordedKind kind) const {
    RecordedPrimitive primitive;
    primitive.kind = kind;
    primitive.pen = objects_[pen_ - 1].pen;
    primitive.brush = objects_[brush_ - 1].brush;
    primitive.textColor = textColor_;
    primitive.transparentText = transparent_;
    primitive.font = objects_[font_ - 1].font;
    return primitive;
}

void RecordingCanvas::moveTo(PixelPoint p) { position_ = p; }

void RecordingCanvas::lineTo(PixelPoint p) {
    RecordedPrimitive primitive = stateNow(RecordedKind::Line);
    primitive.points = {position_, p};
    primitives_.push_back(std::move(primitive));
    position_ = p;
}

void RecordingCanvas::polyline(std::span<const PixelPoint> points) {
    RecordedPrimitive primitive = stateNow(RecordedKind::Polyline);
    primitive.points.assign(points.begin(), points.end());
    primitives_.push_back(std::move(primitive));
}

void RecordingCanvas::polygon(std::span<const PixelPoint> points) {
    RecordedPrimitive primitive = stateNow(RecordedKind::Polygon);
    primitive.points.assign(points.begin(), points.end());
    primitives_.push_back(std::move(primitive));
}

void RecordingCanvas::fillRect(const ClientRect& rect, CanvasObject brush) {
    const Object* found = lookUp(brush, "fill");
    if (found == nullptr) return;
    RecordedPrimitive primitive = stateNow(RecordedKind::FillRect);
    primitive.brush = found->brush;
    primitive.points = {PixelPoint{rect.left, rect.top}, PixelPoint{rect.right, rect.bottom}};
    primitives_.push_back(std::move(primitive));
}

void RecordingCanvas::rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    RecordedPrimitive primitive = stateNow(RecordedKind::Rectangle);
    primitive.points = {PixelPoint{left, top}, PixelPoint{right, bottom}};
    primitives_.push_back(std::move(primitive));
}

void RecordingCanvas::setTextColor(Rgb color) { textColor_ = color; }

void RecordingCanvas::setTransparentBackground() { transparent_ = true; }

void RecordingCanvas::textOut(PixelPoint at, const std::wstring& text) {
    RecordedPrimitive primitive = stateNow(RecordedKind::Text);
    primitive.points = {at};
    primitive.text = text;
    primitives_.push_back(std::move(primitive));
}

int32_t RecordingCanvas::liveObjects() const {
    int32_t live = 0;
    for (const Object& object : objects_) {
        if (!object.stock && !object.deleted) ++live;
    }
    return live;
}

bool RecordingCanvas::selectionsAtStart() const {
    return pen_ == kSurfacePen && brush_ == kSurfaceBrush && font_ == kSurfaceFont;
}
