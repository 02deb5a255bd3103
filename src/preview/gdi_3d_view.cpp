#include "preview/gdi_3d_view.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "preview/arc_sweep.h"
#include "preview/zoom_hint.h"

namespace {

constexpr Rgb kFrame{170, 170, 170};
constexpr Rgb kText{70, 70, 70};
constexpr double kFaceOffset = 0.35;  // joints sit this far off their face so the face does not hide them

Point3 operator+(Point3 a, Point3 b) { return Point3{a.x + b.x, a.y + b.y, a.z + b.z}; }

// Rotation and projection of one paint.
class Projector {
public:
    Projector(const Gdi3dFit& fit, const PreviewViewState& view)
        : fit_(fit), rotation_(view.yaw, view.pitch), factor_(fit.scale * view.zoom), panX_(view.panX), panY_(view.panY) {}

    PixelPoint project(Point3 p) const {
        const Point3 r = rotation_.apply(p);
        return PixelPoint{truncToPixel((r.x + fit_.extent) * factor_ + 0.5) + fit_.originX + panX_,
                          truncToPixel((r.y + fit_.extent) * factor_ + 0.5) + fit_.originY + panY_};
    }

private:
    Gdi3dFit fit_;
    ViewRotation rotation_;
    double factor_;
    int32_t panX_;
    int32_t panY_;
};

void drawLine(Canvas& canvas, const Projector& projector, Point3 a, Point3 b) {
    canvas.moveTo(projector.project(a));
    canvas.lineTo(projector.project(b));
}

void drawPolyline3d(Canvas& canvas, const Projector& projector, const std::vector<Point3>& points) {
    if (points.empty()) return;
    canvas.moveTo(projector.project(points.front()));
    for (std::size_t i = 1; i < points.size(); ++i) canvas.lineTo(projector.project(points[i]));
}

void drawQuad(Canvas& canvas, const std::array<PixelPoint, 4>& corners, Rgb color) {
    OwnedCanvasObject brush(canvas, canvas.createSolidBrush(color));
    ScopedCanvasSelection selection(canvas, brush.get());
    canvas.polygon(corners);
}

void drawQuad3d(Canvas& canvas, const Projector& projector, const std::array<Point3, 4>& corners, Rgb color) {
    drawQuad(canvas, {projector.project(corners[0]), projector.project(corners[1]), projector.project(corners[2]),
                      projector.project(corners[3])},
             color);
}

std::wstring fixed(double value, int precision) {
    char buffer[400];  // any finite double in fixed notation
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc()) return L"?";
    return std::wstring(buffer, result.ptr);
}

// Where one panel lies on the box's faces, 0.35 mm outside, and which way its thickness runs.
struct JointFace {
    const Piece* panel = nullptr;
    int kind = 0;  // 0 base, 1 lid, 2 front, 3 back, 4 left, 5 right
    double z1 = 0.0;
};

struct JointPens {
    CanvasObject outline = 0;
    CanvasObject dogbone = 0;
    CanvasObject depth = 0;
};

void drawPanelJoints(Canvas& canvas, const Projector& projector, const BoxModel3d& model, const JointFace& face,
                     const JointPens& pens) {
    const double t = model.thickness;
    const double x0 = -model.width / 2.0;
    const double x1 = model.width / 2.0;
    const double y0 = -model.depth / 2.0;
    const double y1 = model.depth / 2.0;
    const double z0 = -model.height / 2.0;
    const double z1 = face.z1;
    auto map = [&](Point2 p) -> Point3 {
        switch (face.kind) {
            case 0: return Point3{x0 + p.x, y0 + p.y, z0 + kFaceOffset};
            case 1: return Point3{x0 + p.x, y0 + p.y, z1 + kFaceOffset};
            case 2: return Point3{x0 + t + p.x, y0 - kFaceOffset, z1 - p.y};
            case 3: return Point3{x0 + t + p.x, y1 + kFaceOffset, z1 - p.y};
            case 4: return Point3{x0 - kFaceOffset, y0 + p.x, z1 - p.y};
            default: return Point3{x1 + kFaceOffset, y0 + p.x, z1 - p.y};
        }
    };
    static constexpr std::array<Point3, 6> kDirections{Point3{0, 0, 1},  Point3{0, 0, -1}, Point3{0, 1, 0},
                                                       Point3{0, -1, 0}, Point3{1, 0, 0},  Point3{-1, 0, 0}};
    const Point3 direction = kDirections[static_cast<std::size_t>(face.kind)];
    const Point3 e{direction.x * t, direction.y * t, direction.z * t};
    auto selectPen = [&](CanvasObject pen) {
        if (pen != 0) canvas.select(pen);
    };

    std::vector<PixelPoint> front;
    std::vector<PixelPoint> back;
    for (const PathSegment& segment : face.panel->path) {
        if (segment.kind == SegmentKind::Line) {
            const Point3 p1 = map(segment.start);
            const Point3 p2 = map(segment.end);
            const Point3 q1 = p1 + e;
            const Point3 q2 = p2 + e;
            selectPen(pens.depth);
            drawLine(canvas, projector, p1, q1);
            drawLine(canvas, projector, p2, q2);
            drawLine(canvas, projector, q1, q2);
            selectPen(pens.outline);
            drawLine(canvas, projector, p1, p2);
            continue;
        }
        const ArcSweep sweep = arcSweep(segment);
        const int32_t steps = arcStepCount(sweep.sweep, segment.radius, 1.5, 10, 10, 80);
        front.clear();
        back.clear();
        for (int32_t i = 0; i <= steps; ++i) {
            const Point3 a = map(arcPoint(segment, sweep.startAngle + sweep.sweep * i / steps));
            front.push_back(projector.project(a));
            back.push_back(projector.project(a + e));
        }
        selectPen(pens.depth);
        canvas.polyline(back);
        canvas.moveTo(front.front());
        canvas.lineTo(back.front());
        canvas.moveTo(front.back());
        canvas.lineTo(back.back());
        selectPen(pens.dogbone);
        canvas.polyline(front);
    }
}

void drawJoints(Canvas& canvas, const Projector& projector, const BoxModel3d& model, int32_t dpi) {
    OwnedCanvasObject outline(canvas, canvas.createPen(PenStyle::Solid, 1, Rgb{0, 92, 0}));
    OwnedCanvasObject dogbone(canvas, canvas.createPen(PenStyle::Solid, scaledToDpi(2, dpi), Rgb{0, 80, 210}));
    OwnedCanvasObject depth(canvas, canvas.createPen(PenStyle::Dot, 1, Rgb{70, 115, 70}));
    ScopedCanvasSelection selection(canvas, outline.get());
    const JointPens pens{outline.get(), dogbone.get(), depth.get()};
    const double top = model.height / 2.0;
    const double wallTop = top - model.lidInset;
    std::vector<JointFace> faces{{&model.base, 0, top},          {&model.frontWall, 2, wallTop},
                                 {&model.frontWall, 3, wallTop}, {&model.sideWall, 4, wallTop},
                                 {&model.sideWall, 5, wallTop}};
    if (model.parameters.includeLid) faces.push_back(JointFace{&model.base, 1, top});
    for (const JointFace& face : faces) drawPanelJoints(canvas, projector, model, face, pens);
}

}  // namespace

Gdi3dFit fitGdi3d(const ClientRect& client, const BoxParameters& derived, int32_t dpi) {
    const double w = derived.outerWidth;
    const double d = derived.outerDepth;
    const double h = derived.outerHeight;
    const double t = derived.materialThickness;
    const double margin = std::max(1.5 * derived.toolDiameter, 2.5 * t);
    Gdi3dFit fit;
    fit.extent = 0.62 * std::sqrt(w * w + d * d + h * h) + 3.0 * margin + 4.0 * t;
    const int32_t edge = scaledToDpi(54, dpi);
    const double availableWidth = std::max((client.right - client.left) - 2 * edge, 1);
    const double availableHeight = std::max((client.bottom - client.top) - edge - scaledToDpi(84, dpi), 1);
    const double span = std::max(2.0 * fit.extent, 1.0);
    fit.scale = std::min(availableWidth / span, availableHeight / span);
    fit.originX = client.left + edge + truncToPixel((availableWidth - fit.scale * span) / 2.0);
    fit.originY = client.top + edge + truncToPixel((availableHeight - fit.scale * span) / 2.0);
    return fit;
}

ViewRotation::ViewRotation(double yawDegrees, double pitchDegrees)
    : cosYaw(std::cos(yawDegrees * std::numbers::pi / 180.0)),
      sinYaw(std::sin(yawDegrees * std::numbers::pi / 180.0)),
      cosPitch(std::cos(pitchDegrees * std::numbers::pi / 180.0)),
      sinPitch(std::sin(pitchDegrees * std::numbers::pi / 180.0)) {}

Point3 ViewRotation::apply(Point3 p) const {
    const double t = p.x * sinYaw + p.y * cosYaw;
    return Point3{p.x * cosYaw - p.y * sinYaw, -(t * sinPitch + p.z * cosPitch), t * cosPitch - p.z * sinPitch};
}

Point3 rotateForView(Point3 p, double yawDegrees, double pitchDegrees) {
    return ViewRotation(yawDegrees, pitchDegrees).apply(p);
}

std::vector<BoxFace> sortedBoxFaces(const std::array<Point3, 8>& rotatedCorners, bool includeLid) {
    std::vector<BoxFace> faces{
        {{0, 1, 2, 3}, Rgb{228, 228, 220}, 0.0, true}, {{0, 1, 5, 4}, Rgb{235, 232, 210}, 0.0, true},
        {{1, 2, 6, 5}, Rgb{225, 235, 245}, 0.0, true}, {{2, 3, 7, 6}, Rgb{220, 230, 238}, 0.0, true},
        {{3, 0, 4, 7}, Rgb{232, 238, 220}, 0.0, true}, {{4, 5, 6, 7}, Rgb{245, 240, 220}, 0.0, includeLid}};
    for (BoxFace& face : faces) {
        double sum = 0.0;
        for (uint32_t corner : face.corners) sum += rotatedCorners[corner].z;
        face.depth = sum / 4.0;
    }
    std::stable_sort(faces.begin(), faces.end(), [](const BoxFace& a, const BoxFace& b) { return a.depth < b.depth; });
    return faces;
}

std::wstring gdi3dTitle(const BoxParameters& derived) {
    return L"Vista 3D rotativa detallada - " + fixed(derived.outerWidth, 0) + L" x " + fixed(derived.outerHeight, 0) +
           L" x " + fixed(derived.outerDepth, 0) + L" mm - espesor " + fixed(derived.materialThickness, 2) + L" mm";
}

void drawGdi3dView(Canvas& canvas, const ClientRect& client, const BoxParameters& parameters,
                   const PreviewViewState& view, const std::wstring& invalidText) {
    const double zoom = view.zoom, yaw = view.yaw, pitch = view.pitch;
    const int32_t textX = client.left + scaledToDpi(10, view.dpi);
    paintBackdrop(canvas, client, kFrame);

    const std::optional<BoxModel3d> built = buildBoxModel(parameters);
    canvas.setTransparentBackground();
    canvas.setTextColor(kText);
    if (!built) {
        ScopedCanvasSelection font(canvas, canvas.stockObject(StockObject::TitleFont));
        canvas.textOut(PixelPoint{textX, client.top + scaledToDpi(10, view.dpi)},
                       invalidText.empty() ? std::wstring(L"3D preview: invalid parameters.") : invalidText);
        return;
    }
    const BoxModel3d& model = *built;
    const double hw = model.width / 2.0;
    const double hd = model.depth / 2.0;
    const double hh = model.height / 2.0;
    const double t = model.thickness;
    const double xi0 = -hw + t;
    const double xi1 = hw - t;
    const double yi0 = -hd + t;
    const double yi1 = hd - t;
    const double zi0 = -hh + t;
    const double zl = hh - t;
    const std::array<Point3, 8> corners{Point3{-hw, -hd, -hh}, Point3{hw, -hd, -hh}, Point3{hw, hd, -hh},
                                        Point3{-hw, hd, -hh},  Point3{-hw, -hd, hh}, Point3{hw, -hd, hh},
                                        Point3{hw, hd, hh},    Point3{-hw, hd, hh}};
    std::array<Point3, 8> rotated;
    for (std::size_t i = 0; i < corners.size(); ++i) rotated[i] = rotateForView(corners[i], yaw, pitch);
    const Projector projector(fitGdi3d(client, model.parameters, view.dpi), view);
    std::array<PixelPoint, 8> screen;
    for (std::size_t i = 0; i < corners.size(); ++i) screen[i] = projector.project(corners[i]);

    {
        OwnedCanvasObject edgePen(canvas, canvas.createPen(PenStyle::Solid, 1, Rgb{55, 55, 55}));
        OwnedCanvasObject axisPen(canvas, canvas.createPen(PenStyle::Solid, 1, Rgb{80, 120, 160}));
        OwnedCanvasObject lidPen(canvas, canvas.createPen(PenStyle::Dot, 1, Rgb{120, 120, 120}));
        OwnedCanvasObject dividerPen(canvas, canvas.createPen(PenStyle::Dot, 1, Rgb{50, 130, 80}));
        ScopedCanvasSelection pen(canvas, edgePen.get());
        auto selectPen = [&](CanvasObject object) {
            if (object != 0) canvas.select(object);
        };

        for (const BoxFace& face : sortedBoxFaces(rotated, model.parameters.includeLid)) {
            const std::array<PixelPoint, 4> quad{screen[face.corners[0]], screen[face.corners[1]],
                                                 screen[face.corners[2]], screen[face.corners[3]]};
            if (face.filled) {
                drawQuad(canvas, quad, face.color);
            } else {
                const std::array<PixelPoint, 5> closed{quad[0], quad[1], quad[2], quad[3], quad[0]};
                canvas.polyline(closed);
            }
        }

        if (xi1 > xi0 && yi1 > yi0 && hh > zi0) {
            const std::array<std::pair<std::array<Point3, 4>, Rgb>, 9> inside{{
                {{Point3{xi0, yi0, zi0}, Point3{xi1, yi0, zi0}, Point3{xi1, yi1, zi0}, Point3{xi0, yi1, zi0}},
                 Rgb{238, 238, 224}},
                {{Point3{xi0, yi0, zi0}, Point3{xi1, yi0, zi0}, Point3{xi1, yi0, hh}, Point3{xi0, yi0, hh}},
                 Rgb{232, 236, 224}},
                {{Point3{xi1, yi1, zi0}, Point3{xi0, yi1, zi0}, Point3{xi0, yi1, hh}, Point3{xi1, yi1, hh}},
                 Rgb{225, 235, 242}},
                {{Point3{xi0, yi1, zi0}, Point3{xi0, yi0, zi0}, Point3{xi0, yi0, hh}, Point3{xi0, yi1, hh}},
                 Rgb{232, 238, 220}},
                {{Point3{xi1, yi0, zi0}, Point3{xi1, yi1, zi0}, Point3{xi1, yi1, hh}, Point3{xi1, yi0, hh}},
                 Rgb{225, 235, 245}},
                {{Point3{-hw, -hd, hh}, Point3{hw, -hd, hh}, Point3{xi1, yi0, hh}, Point3{xi0, yi0, hh}},
                 Rgb{244, 240, 220}},
                {{Point3{hw, hd, hh}, Point3{-hw, hd, hh}, Point3{xi0, yi1, hh}, Point3{xi1, yi1, hh}},
                 Rgb{232, 238, 224}},
                {{Point3{-hw, hd, hh}, Point3{-hw, -hd, hh}, Point3{xi0, yi0, hh}, Point3{xi0, yi1, hh}},
                 Rgb{238, 242, 226}},
                {{Point3{hw, -hd, hh}, Point3{hw, hd, hh}, Point3{xi1, yi1, hh}, Point3{xi1, yi0, hh}},
                 Rgb{230, 238, 246}},
            }};
            for (const auto& [quad, color] : inside) drawQuad3d(canvas, projector, quad, color);
        }

        static constexpr std::array<std::pair<int, int>, 12> kEdges{
            {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}}};
        for (const auto& [from, to] : kEdges) {
            canvas.moveTo(screen[static_cast<std::size_t>(from)]);
            canvas.lineTo(screen[static_cast<std::size_t>(to)]);
        }

        drawJoints(canvas, projector, model, view.dpi);

        if (xi1 > xi0 && yi1 > yi0 && zl > -hh) {
            selectPen(lidPen.get());
            drawPolyline3d(canvas, projector,
                           {Point3{xi0, yi0, zl}, Point3{xi1, yi0, zl}, Point3{xi1, yi1, zl}, Point3{xi0, yi1, zl},
                            Point3{xi0, yi0, zl}});
        }

        selectPen(dividerPen.get());
        for (const double x : model.widthDividerX) {
            drawPolyline3d(canvas, projector,
                           {Point3{x, yi0, zi0}, Point3{x, yi1, zi0}, Point3{x, yi1, zl}, Point3{x, yi0, zl},
                            Point3{x, yi0, zi0}});
        }
        for (const double y : model.depthDividerY) {
            drawPolyline3d(canvas, projector,
                           {Point3{xi0, y, zi0}, Point3{xi1, y, zi0}, Point3{xi1, y, zl}, Point3{xi0, y, zl},
                            Point3{xi0, y, zi0}});
        }

        selectPen(axisPen.get());
        const double axis = 0.35 * std::min({model.width, model.depth, model.height});
        drawLine(canvas, projector, corners[0], corners[0] + Point3{axis, 0, 0});
        drawLine(canvas, projector, corners[0], corners[0] + Point3{0, axis, 0});
        drawLine(canvas, projector, corners[0], corners[0] + Point3{0, 0, axis});
    }

    canvas.setTransparentBackground();
    canvas.setTextColor(kText);
    ScopedCanvasSelection font(canvas, canvas.stockObject(StockObject::TitleFont));
    const int32_t textRight = client.right - scaledToDpi(10, view.dpi);
    canvas.textOut(PixelPoint{textX, client.top + scaledToDpi(10, view.dpi)}, gdi3dTitle(model.parameters));
    textOutBefore(canvas, PixelPoint{textX, client.bottom - scaledToDpi(38, view.dpi)}, textRight,
                  formatZoomHint(L"Zoom %d%% | Izquierdo: rotar sin auto-zoom | Derecho/central: mover | "
                                 L"Rueda: zoom | Doble clic: ajustar",
                                 zoomPercent(zoom), 300));
    textOutBefore(canvas, PixelPoint{textX, client.bottom - scaledToDpi(20, view.dpi)}, textRight,
                  L"Angulos 3D: yaw " + fixed(yaw, 0) + L"\u00B0  pitch " + fixed(pitch, 0) +
                      L"\u00B0 | Verde: encastres con espesor | Azul: dogbones con profundidad");
}
