#pragma once
// The 2D cut plan: every piece's placed cut path fitted into the client rectangle, with labels,
// a title and the zoom hint line. Plan y grows downwards on the screen, as on the plan.
#include <span>
#include <string>
#include <vector>

#include "model/piece_set.h"
#include "model/sheet_layout.h"
#include "preview/canvas.h"
#include "preview/preview_view_state.h"

// Extent of the plan in mm; 0..100 in both axes when the set contributes no point.
struct PlanBounds {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 100.0;
    double maxY = 100.0;
};

// The plan fitted into a client rectangle at zoom 1 and no pan.
struct PlanFit {
    double minX = 0.0;    // mm
    double minY = 0.0;    // mm
    double scale = 1.0;   // pixels per mm
    int32_t originX = 0;  // screen pixel of (minX, minY)
    int32_t originY = 0;
};

// Where the plan lands on the screen at a zoom and pan.
struct PlanView {
    PlanFit fit;
    double zoom = 1.0;
    int32_t panX = 0;
    int32_t panY = 0;
};

// A sheet under its pieces: its rectangle on the view (mm) and the title written above it.
struct SheetFrame {
    PlanBounds box;
    std::wstring title;
};

// The sheets side by side in order, a tenth of a sheet's width apart: their pieces moved onto the one
// view and each sheet's frame, titled "<sheetWord> 2 <ofWord> 3".
struct SheetView {
    PieceSet pieces;
    std::vector<SheetFrame> frames;
};
SheetView sheetView(const std::vector<Sheet>& sheets, SheetSize size, const std::wstring& sheetWord,
                    const std::wstring& ofWord);

// Start and end of every placed segment, plus the whole circle of every arc, and every sheet's frame.
PlanBounds planBounds(const PieceSet& pieces, std::span<const SheetFrame> sheets = {});

// Centres the plan in the rectangle less 24 px left, right and top and 48 px at the bottom (at 96 DPI).
PlanFit fitPlan(const ClientRect& client, const PieceSet& pieces, int32_t dpi = kBaseDpi,
                std::span<const SheetFrame> sheets = {});

// Screen pixel of a plan point in mm.
PixelPoint mapPlanPoint(const PlanView& view, Point2 p);

// The arc (plan coordinates) as 9 to 97 screen points, about one per 4 px of its drawn length.
std::vector<PixelPoint> planArcPolyline(const PlanView& view, const PathSegment& arc);

// Paints the whole cut plan; the texts are already translated. Leaves the canvas's selections as found.
void paintCutPlan(Canvas& canvas, const ClientRect& client, const PieceSet& pieces, const PreviewViewState& view,
                  const PreviewTexts& texts, std::span<const SheetFrame> sheets = {});
