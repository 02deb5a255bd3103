#include "preview/plan_preview.h"

#include <algorithm>
#include <deque>

#include "model/piece_labels.h"
#include "preview/arc_sweep.h"
#include "preview/zoom_hint.h"

namespace {

constexpr Rgb kFrame{190, 190, 190};
constexpr Rgb kTitleText{90, 90, 90};
constexpr Rgb kLabelText{60, 60, 60};
constexpr Rgb kSheetEdge{150, 150, 150};

void drawZoomHint(Canvas& canvas, const ClientRect& client, const std::wstring& format, const PreviewViewState& state) {
    const std::wstring& effective = format.empty() ? std::wstring(L"Zoom %d%%") : format;
    canvas.setTransparentBackground();
    canvas.setTextColor(kTitleText);
    const int32_t margin = scaledToDpi(10, state.dpi);
    textOutBefore(canvas, PixelPoint{client.left + margin, client.bottom - scaledToDpi(22, state.dpi)},
                  client.right - margin, formatZoomHint(effective, zoomPercent(state.zoom), 256));
}

// In the hint line's font and colour, level with the title, so a maker sees whether the plan fits the bed.
void drawPlanSize(Canvas& canvas, const ClientRect& client, const std::wstring& size, int32_t dpi) {
    canvas.setTransparentBackground();
    canvas.setTextColor(kTitleText);
    const PixelPoint at{client.right - scaledToDpi(10, dpi) - canvas.textWidth(size), client.top + scaledToDpi(8, dpi)};
    canvas.textOut(at, size);
}

// Each sheet as a thin rectangle with its title just above its corner.
void drawSheets(Canvas& canvas, const PlanView& view, std::span<const SheetFrame> sheets, int32_t dpi) {
    if (sheets.empty()) return;
    OwnedCanvasObject pen(canvas, canvas.createPen(PenStyle::Solid, 1, kSheetEdge));
    ScopedCanvasSelection selected(canvas, pen.get());
    ScopedCanvasSelection font(canvas, canvas.stockObject(StockObject::DefaultGuiFont));
    canvas.setTransparentBackground();
    canvas.setTextColor(kTitleText);
    for (const SheetFrame& sheet : sheets) {
        const PixelPoint corners[] = {mapPlanPoint(view, {sheet.box.minX, sheet.box.minY}),
                                      mapPlanPoint(view, {sheet.box.maxX, sheet.box.minY}),
                                      mapPlanPoint(view, {sheet.box.maxX, sheet.box.maxY}),
                                      mapPlanPoint(view, {sheet.box.minX, sheet.box.maxY}),
                                      mapPlanPoint(view, {sheet.box.minX, sheet.box.minY})};
        canvas.polyline(corners);
        canvas.textOut({corners[0].x, corners[0].y - scaledToDpi(16, dpi)}, sheet.title);
    }
}

}  // namespace

SheetView sheetView(const std::vector<Sheet>& sheets, SheetSize size, const std::wstring& sheetWord,
                    const std::wstring& ofWord) {
    SheetView view;
    const double pitch = size.width * 1.1;
    for (size_t i = 0; i < sheets.size(); ++i) {
        const double left = pitch * static_cast<double>(i);
        for (Piece piece : sheets[i].pieces) {
            piece.x += left;
            view.pieces.push_back(std::move(piece));
        }
        const std::wstring title =
            sheetWord + L" " + std::to_wstring(i + 1) + L" " + ofWord + L" " + std::to_wstring(sheets.size());
        view.frames.push_back({{left, 0, left + size.width, size.height}, title});
    }
    return view;
}

PlanBounds planBounds(const PieceSet& pieces, std::span<const SheetFrame> sheets) {
    PlanBounds bounds;
    bool any = false;
    auto widen = [&](double x, double y) {
        if (!any) {
            bounds = PlanBounds{x, y, x, y};
            any = true;
            return;
        }
        bounds.minX = std::min(bounds.minX, x);
        bounds.minY = std::min(bounds.minY, y);
        bounds.maxX = std::max(bounds.maxX, x);
        bounds.maxY = std::max(bounds.maxY, y);
    };
    for (const SheetFrame& sheet : sheets) {
        widen(sheet.box.minX, sheet.box.minY);
        widen(sheet.box.maxX, sheet.box.maxY);
    }
    for (const Piece& piece : pieces) {
        for (const PathSegment& segment : placedPath(piece)) {
            widen(segment.start.x, segment.start.y);
            widen(segment.end.x, segment.end.y);
            if (segment.kind == SegmentKind::Arc) {
                widen(segment.center.x - segment.radius, segment.center.y - segment.radius);
                widen(segment.center.x + segment.radius, segment.center.y + segment.radius);
            }
        }
    }
    return bounds;
}

PlanFit fitPlan(const ClientRect& client, const PieceSet& pieces, int32_t dpi, std::span<const SheetFrame> sheets) {
    const PlanBounds bounds = planBounds(pieces, sheets);
    const int32_t margin = scaledToDpi(24, dpi);
    const double availableWidth = std::max((client.right - client.left) - 2 * margin, 1);
    const double availableHeight = std::max((client.bottom - client.top) - 3 * margin, 1);
    const double spanX = std::max(bounds.maxX - bounds.minX, 1.0);
    const double spanY = std::max(bounds.maxY - bounds.minY, 1.0);
    PlanFit fit;
    fit.minX = bounds.minX;
    fit.minY = bounds.minY;
    fit.scale = std::min(availableWidth / spanX, availableHeight / spanY);
    fit.originX = client.left + margin + truncToPixel((availableWidth - fit.scale * spanX) / 2.0);
    fit.originY = client.top + margin + truncToPixel((availableHeight - fit.scale * spanY) / 2.0);
    return fit;
}

PixelPoint mapPlanPoint(const PlanView& view, Point2 p) {
    const double factor = view.fit.scale * view.zoom;
    return PixelPoint{truncToPixel((p.x - view.fit.minX) * factor + 0.5) + view.fit.originX + view.panX,
                      truncToPixel((p.y - view.fit.minY) * factor + 0.5) + view.fit.originY + view.panY};
}

std::vector<PixelPoint> planArcPolyline(const PlanView& view, const PathSegment& arc) {
    const ArcSweep sweep = arcSweep(arc);
    const int32_t steps = arcStepCount(sweep.sweep, arc.radius * view.fit.scale * view.zoom, 4.0, 8, 8, 96);
    std::vector<PixelPoint> points;
    points.reserve(static_cast<std::size_t>(steps) + 1);
    for (int32_t i = 0; i <= steps; ++i) {
        points.push_back(mapPlanPoint(view, arcPoint(arc, sweep.startAngle + sweep.sweep * i / steps)));
    }
    return points;
}

void paintCutPlan(Canvas& canvas, const ClientRect& client, const PieceSet& pieces, const PreviewViewState& state,
                  const PreviewTexts& texts, std::span<const SheetFrame> sheets) {
    const int32_t textX = client.left + scaledToDpi(10, state.dpi);
    paintBackdrop(canvas, client, kFrame);
    canvas.setTransparentBackground();
    canvas.setTextColor(kTitleText);
    {
        ScopedCanvasSelection font(canvas, canvas.stockObject(StockObject::TitleFont));
        canvas.textOut(PixelPoint{textX, client.top + scaledToDpi(8, state.dpi)}, texts.title2d);
        if (pieces.empty()) canvas.textOut(PixelPoint{textX, client.top + scaledToDpi(30, state.dpi)}, texts.noPieces);
    }

    const PlanView view{fitPlan(client, pieces, state.dpi, sheets), state.zoom, state.panX, state.panY};
    if (pieces.empty()) {
        drawZoomHint(canvas, client, texts.zoomHintFormat, state);
        return;
    }
    drawSheets(canvas, view, sheets, state.dpi);

    std::deque<OwnedCanvasObject> layerPens;  // by Layer; a deque keeps each where it was made
    for (const LayerStyle& layer : layerStyles(true)) {
        const Rgb colour{layer.previewPen.red, layer.previewPen.green, layer.previewPen.blue};
        layerPens.emplace_back(canvas, canvas.createPen(PenStyle::Solid, 1, colour));
    }
    const CanvasObject arcPen = layerPens[static_cast<size_t>(Layer::Dogbones)].get();
    ScopedCanvasSelection font(canvas, canvas.stockObject(StockObject::DefaultGuiFont));
    canvas.setTransparentBackground();
    canvas.setTextColor(kLabelText);

    for (const Piece& piece : pieces) {
        const CutPath path = placedPath(piece);
        const CanvasObject piecePen = layerPens[static_cast<size_t>(pieceLayer(piece))].get();
        {
            ScopedCanvasSelection pen(canvas, piecePen);
            for (const PathSegment& segment : path) {
                if (segment.kind == SegmentKind::Line) {
                    canvas.moveTo(mapPlanPoint(view, segment.start));
                    canvas.lineTo(mapPlanPoint(view, segment.end));
                } else {
                    if (arcPen != 0) canvas.select(arcPen);
                    canvas.polyline(planArcPolyline(view, segment));
                    if (piecePen != 0) canvas.select(piecePen);
                }
            }
        }
        // An engraved name is drawn as it will be scored, in place of the written one.
        if (!piece.labels.empty()) {
            ScopedCanvasSelection pen(canvas, layerPens[static_cast<size_t>(Layer::Labels)].get());
            for (const PieceLabel& label : piece.labels) {
                for (const Stroke& stroke : placedLabelStrokes(piece, label, false)) {
                    std::vector<PixelPoint> points;
                    for (const Point2 p : stroke) points.push_back(mapPlanPoint(view, p));
                    canvas.polyline(points);
                }
            }
        } else if (isLabelled(piece)) {
            canvas.textOut(mapPlanPoint(view, Point2{piece.x + 4.0, piece.y + 4.0}), piece.name);
        }
    }
    drawZoomHint(canvas, client, texts.zoomHintFormat, state);
    drawPlanSize(canvas, client, texts.planSize, state.dpi);
}
