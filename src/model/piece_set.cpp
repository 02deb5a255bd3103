#include "model/piece_set.h"

#include "model/piece_labels.h"

#include <algorithm>
#include <optional>
#include <span>
#include <stdexcept>

namespace {

// A cut-out's material lies outside it, so its compensated path moves inwards.
CutPath pathFor(const Outline& outline, PieceKind kind, const Cutter& cutter) {
    const bool hole = kind == PieceKind::BaseCutout;
    if (cutter.mode == CutMode::CncRouter) return dogbonePath(outline, cutter.toolDiameter, hole);
    if (cutter.kerfOffset <= 0) return laserPath(outline);
    const double by = hole ? -cutter.kerfOffset : cutter.kerfOffset;
    const std::optional<Outline> moved = offsetOutline(outline, by);
    if (!moved) throw std::runtime_error(kKerfTooWideMessage);  // validation's bound should have said so
    return laserPath(*moved);
}

// A named piece with its outline and the path the cutter follows; width and height in mm.
Piece builtPiece(const std::wstring& name, PieceKind kind, double width, double height, Outline outline,
                 const Cutter& cutter) {
    Piece piece;
    piece.name = name;
    piece.kind = kind;
    piece.width = width;
    piece.height = height;
    piece.outline = std::move(outline);
    piece.path = pathFor(piece.outline, kind, cutter);
    return piece;
}

Point2 turned(Point2 p, int turn) {
    switch (turn) {
    case 1:
        return {p.y, -p.x};
    case -1:
        return {-p.y, p.x};
    case 2:
        return {-p.x, -p.y};
    default:
        return p;
    }
}

void movePath(CutPath& path, double dx, double dy) {
    for (PathSegment& segment : path) {
        segment.start = {segment.start.x + dx, segment.start.y + dy};
        segment.end = {segment.end.x + dx, segment.end.y + dy};
        segment.center = {segment.center.x + dx, segment.center.y + dy};
    }
}

struct Bounds {
    Point2 min;
    Point2 max;

    void add(Point2 p) {
        min = {std::min(min.x, p.x), std::min(min.y, p.y)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y)};
    }
};

// The lowest x and y of the outline's points.
Point2 outlineOrigin(const Outline& outline) {
    Point2 origin = outline.empty() ? Point2{} : outline.front();
    for (const Point2& p : outline) origin = {std::min(origin.x, p.x), std::min(origin.y, p.y)};
    return origin;
}

Piece renamed(Piece piece, const wchar_t* name) {
    piece.name = name;
    return piece;
}

struct Walls {
    Piece back, left, base, right, front;
};

// The base and the four walls, each turned so that its bottom edge faces the base as the box folds
// up. Pieces built from the same arguments are built once and copied.
Walls buildWalls(const BoxParameters& p) {
    const BoxPanels panels = boxPanels(p);
    const Joinery joinery = joineryOf(p);
    const Cutter cutter = cutterOf(p);
    Walls w;
    w.base = buildFingerPanel(L"Base", PieceKind::Base, panels.base, joinery, cutter);
    normalizePiece(w.base);
    w.back = buildFingerPanel(L"Atras", PieceKind::Wall, panels.frontWall, joinery, cutter);
    w.front = renamed(w.back, L"Frente");
    normalizePiece(w.back);
    rotatePiece(w.front, 2);
    w.left = buildFingerPanel(L"Lateral izquierdo", PieceKind::Wall, panels.sideWall, joinery, cutter);
    w.right = renamed(w.left, L"Lateral derecho");
    rotatePiece(w.left, 1);
    rotatePiece(w.right, -1);
    return w;
}

// Where the next column of pieces starts on the plan, and how tall a column may grow.
struct Columns {
    double nextX = 0;
    double limit = 0;
};

// The walls around the base, each a spacing s from it and centred on its side. A wall whose box
// outgrows the base's (a router bit's larger dogbones) pushes its neighbours out by that much, so
// that no two walls meet at a corner of the base.
Columns placeAroundBase(Walls& w, double s) {
    const double wider = std::max(0.0, std::max(w.back.width, w.front.width) - w.base.width) / 2;
    const double taller = std::max(0.0, std::max(w.left.height, w.right.height) - w.base.height) / 2;
    w.left.x = 0;
    w.base.x = w.left.width + s + wider;
    w.base.y = w.back.height + s + taller;
    w.back.x = w.base.x + (w.base.width - w.back.width) / 2;
    w.back.y = 0;
    w.front.x = w.base.x + (w.base.width - w.front.width) / 2;
    w.front.y = w.base.y + w.base.height + s + taller;
    w.left.y = w.base.y + (w.base.height - w.left.height) / 2;
    w.right.x = w.base.x + w.base.width + s + wider;
    w.right.y = w.base.y + (w.base.height - w.right.height) / 2;
    return {w.right.x + w.right.width + s, w.back.height + w.base.height + w.front.height + 2 * s};
}

// A slot cut out of the base right under each divider that stands in it.
void appendBaseCutouts(PieceSet& pieces, const BoxParameters& p, Point2 base) {
    const double t = p.materialThickness, slotWidth = t + p.clearance;
    const double innerWidth = std::max(p.outerWidth - 2 * t, 0.0), innerDepth = std::max(p.outerDepth - 2 * t, 0.0);
    const Cutter cutter = cutterOf(p);
    for (double center : dividerSlotCenters(p.widthDividerCount, innerWidth))
        pieces.push_back(buildSlotCutout(L"Ranura base ancho", {base.x + (center + t) - slotWidth / 2, base.y + t},
                                         slotWidth, innerDepth, cutter));
    for (double center : dividerSlotCenters(p.depthDividerCount, innerDepth))
        pieces.push_back(buildSlotCutout(L"Ranura base profundidad", {base.x + t, base.y + (center + t) - slotWidth / 2},
                                         innerWidth, slotWidth, cutter));
}

// The dividers, as tall as the walls: across the depth, slotted on top for the ones across the width,
// which are slotted below.
void appendDividers(PieceSet& pieces, const BoxParameters& p) {
    const double t = p.materialThickness, wall = std::max(wallHeight(p), 0.0);
    const double innerWidth = std::max(p.outerWidth - 2 * t, 0.0), innerDepth = std::max(p.outerDepth - 2 * t, 0.0);
    const int32_t nw = p.widthDividerCount, nd = p.depthDividerCount;
    const struct {
        const wchar_t* name;
        int32_t copies;
        DividerShape shape;
    } kinds[] = {{L"Divisor ancho", nw, {innerDepth, wall, nd, nd > 0 ? SlotSide::Top : SlotSide::None}},
                 {L"Divisor profundidad", nd, {innerWidth, wall, nw, nw > 0 ? SlotSide::Bottom : SlotSide::None}}};
    for (const auto& kind : kinds) {
        if (kind.copies <= 0) continue;
        Piece divider = buildDivider(kind.name, kind.shape, joineryOf(p), cutterOf(p));
        normalizePiece(divider);
        pieces.insert(pieces.end(), static_cast<size_t>(kind.copies), divider);
    }
}

// Dividers stack in columns no taller than the column of walls and base.
void stackDividerColumns(std::span<Piece> dividers, Columns columns, double s) {
    double columnX = columns.nextX, columnY = 0, columnWidth = 0;
    for (Piece& divider : dividers) {
        if (columnY > 0 && columnY + divider.height > columns.limit) {
            columnX += columnWidth + s;
            columnY = 0;
            columnWidth = 0;
        }
        divider.x = columnX;
        divider.y = columnY;
        columnY += divider.height + s;
        columnWidth = std::max(columnWidth, divider.width);
    }
}

}  // namespace

Joinery joineryOf(const BoxParameters& p) { return {p.materialThickness, p.clearance}; }

Cutter cutterOf(const BoxParameters& p) {
    const bool compensated = p.compensateKerf && p.cutMode == CutMode::Laser;
    return {p.cutMode, p.toolDiameter, compensated ? p.kerf / 2 : 0.0};
}

BoxPanels boxPanels(const BoxParameters& p) {
    const double t = p.materialThickness;
    const double wall = std::max(wallHeight(p), 0.0);
    const int32_t fw = p.fingerCountWidth, fd = p.fingerCountDepth, fh = p.fingerCountHeight;
    const EdgeStyle lid = p.includeLid ? EdgeStyle::Tabs : EdgeStyle::Plain;
    constexpr EdgeStyle tabs = EdgeStyle::Tabs, notches = EdgeStyle::Notches;
    // The sides stand on the base's first and last t along the width edges.
    return {
        {p.outerWidth, p.outerDepth, {{{fw, notches, {t, t}}, {fd, notches, {}}, {fw, notches, {t, t}}, {fd, notches, {}}}}},
        {std::max(p.outerWidth - 2 * t, 0.0), wall, {{{fw, lid, {}}, {fh, tabs, {}}, {fw, tabs, {}}, {fh, tabs, {}}}}},
        {std::max(p.outerDepth, 0.0), wall, {{{fd, lid, {}}, {fh, notches, {}}, {fd, tabs, {}}, {fh, notches, {}}}}},
    };
}

Piece buildFingerPanel(const std::wstring& name, PieceKind kind, const PanelShape& panel, const Joinery& joinery,
                       const Cutter& cutter) {
    return builtPiece(name, kind, panel.width, panel.height, panelOutline(panel, joinery), cutter);
}

Piece buildDivider(const std::wstring& name, const DividerShape& divider, const Joinery& joinery, const Cutter& cutter) {
    return builtPiece(name, PieceKind::Divider, divider.length, divider.height, dividerOutline(divider, joinery), cutter);
}

Piece buildSlotCutout(const std::wstring& name, Point2 at, double width, double height, const Cutter& cutter) {
    Piece piece = builtPiece(name, PieceKind::BaseCutout, width, height, rectangleOutline(width, height), cutter);
    // A router's dogbones reach past the slot's corners: the box holds them, the slot stays at `at`.
    normalizePiece(piece);
    const Point2 origin = outlineOrigin(piece.outline);
    piece.x = at.x - origin.x;
    piece.y = at.y - origin.y;
    return piece;
}

void rotatePiece(Piece& piece, int turn) {
    for (Point2& p : piece.outline) p = turned(p, turn);
    for (PathSegment& segment : piece.path) {
        segment.start = turned(segment.start, turn);
        segment.end = turned(segment.end, turn);
        segment.center = turned(segment.center, turn);
    }
    normalizePiece(piece);
}

void normalizePiece(Piece& piece) {
    Bounds box = piece.outline.empty() ? Bounds{{0, 0}, {piece.width, piece.height}}
                                       : Bounds{piece.outline.front(), piece.outline.front()};
    for (const Point2& p : piece.outline) box.add(p);
    for (const PathSegment& segment : piece.path) {
        box.add(segment.start);
        box.add(segment.end);
        if (segment.kind == SegmentKind::Arc) {
            // The whole circle: cheap, and never smaller than the arc.
            box.add({segment.center.x - segment.radius, segment.center.y - segment.radius});
            box.add({segment.center.x + segment.radius, segment.center.y + segment.radius});
        }
    }
    for (Point2& p : piece.outline) p = {p.x - box.min.x, p.y - box.min.y};
    movePath(piece.path, -box.min.x, -box.min.y);
    piece.width = box.max.x - box.min.x;
    piece.height = box.max.y - box.min.y;
}

PieceSet generatePieces(BoxParameters parameters) {
    validateParameters(parameters);
    const BoxParameters& p = parameters;
    Walls walls = buildWalls(p);
    Columns columns = placeAroundBase(walls, p.spacing);

    const size_t dividerCount = static_cast<size_t>(p.widthDividerCount) + static_cast<size_t>(p.depthDividerCount);
    PieceSet pieces;
    pieces.reserve(6 + (p.addDividerBaseSlots && dividerCount > 0 ? 2 : 1) * dividerCount);
    for (Piece* wall : {&walls.back, &walls.left, &walls.base, &walls.right, &walls.front}) pieces.push_back(std::move(*wall));
    const Piece base = pieces[2];
    // A compensated base's outline starts half a kerf into its box.
    const Point2 baseOrigin = outlineOrigin(base.outline);
    if (p.addDividerBaseSlots) appendBaseCutouts(pieces, p, {base.x + baseOrigin.x, base.y + baseOrigin.y});
    if (p.includeLid) {
        // The lid is built exactly like the base, beside the right wall.
        Piece lid = renamed(base, L"Tapa");
        lid.kind = PieceKind::Lid;
        lid.x = columns.nextX;
        lid.y = base.y + (base.height - lid.height) / 2;
        columns.nextX = lid.x + lid.width + p.spacing;
        pieces.push_back(std::move(lid));
    }
    appendDividers(pieces, p);
    stackDividerColumns(std::span(pieces).last(dividerCount), columns, p.spacing);
    if (p.engraveLabels) engravePieceNames(pieces);
    return pieces;
}

CutPath placedPath(const Piece& piece) {
    CutPath path = piece.path;
    movePath(path, piece.x, piece.y);
    return path;
}

bool isLabelled(const Piece& piece) { return piece.kind != PieceKind::BaseCutout; }

bool isInnerCut(const Piece& piece) { return piece.kind == PieceKind::BaseCutout; }

Layer pieceLayer(const Piece& piece) {
    switch (piece.kind) {
    case PieceKind::Divider: return Layer::Dividers;
    case PieceKind::BaseCutout: return Layer::CutInner;
    case PieceKind::Wall:
    case PieceKind::Base:
    case PieceKind::Lid: break;
    }
    return Layer::CutOuter;
}

Layer layerForSegment(const Piece& piece, const PathSegment& segment) {
    return segment.kind == SegmentKind::Arc ? Layer::Dogbones : pieceLayer(piece);
}

PlanExtent planExtent(const PieceSet& pieces) {
    if (pieces.empty()) return {};
    PlanExtent extent{pieces[0].x, pieces[0].y, pieces[0].x + pieces[0].width, pieces[0].y + pieces[0].height};
    for (const Piece& p : pieces) {
        extent.minX = std::min(extent.minX, p.x);
        extent.minY = std::min(extent.minY, p.y);
        extent.maxX = std::max(extent.maxX, p.x + p.width);
        extent.maxY = std::max(extent.maxY, p.y + p.height);
    }
    return extent;
}
