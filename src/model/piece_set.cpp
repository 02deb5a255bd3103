#include "model/piece_set.h"

#include <algorithm>

namespace {

CutPath pathFor(const Outline& outline, bool cnc, double toolDiameter) {
    return cnc ? dogbonePath(outline, toolDiameter) : laserPath(outline);
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

}  // namespace

Piece buildFingerPanel(const std::wstring& name, const EdgeCounts& counts, const EdgeStyles& styles, bool cnc,
                       double width, double height, double t, double clearance, double toolDiameter,
                       const EdgeInsetList& insets) {
    Piece piece;
    piece.name = name;
    piece.width = width;
    piece.height = height;
    piece.labelled = true;
    piece.outline = panelOutline(counts, styles, width, height, t, clearance, insets);
    piece.path = pathFor(piece.outline, cnc, toolDiameter);
    return piece;
}

Piece buildDivider(const std::wstring& name, int32_t slotCount, SlotSide side, bool cnc, double length,
                   double height, double t, double clearance, double toolDiameter) {
    Piece piece;
    piece.name = name;
    piece.width = length;
    piece.height = height;
    piece.labelled = true;
    piece.outline = dividerOutline(slotCount, side, length, height, t, clearance);
    piece.path = pathFor(piece.outline, cnc, toolDiameter);
    return piece;
}

Piece buildSlotCutout(const std::wstring& name, bool cnc, double x, double y, double width, double height,
                      double toolDiameter) {
    Piece piece;
    piece.name = name;
    piece.x = x;
    piece.y = y;
    piece.width = width;
    piece.height = height;
    piece.innerCut = true;
    piece.outline = rectangleOutline(width, height);
    piece.path = pathFor(piece.outline, cnc, toolDiameter);
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
    const double t = p.materialThickness;
    const double c = p.clearance;
    const double s = p.spacing;
    const double outerWidth = p.outerWidth;
    const double outerDepth = p.outerDepth;
    const double innerWidth = std::max(outerWidth - 2 * t, 0.0);
    const double innerDepth = std::max(outerDepth - 2 * t, 0.0);
    const double wall = std::max(wallHeight(p), 0.0);
    const int32_t fw = p.fingerCountWidth;
    const int32_t fd = p.fingerCountDepth;
    const int32_t fh = p.fingerCountHeight;
    const int32_t widthDividers = p.widthDividerCount;
    const int32_t depthDividers = p.depthDividerCount;
    const bool cnc = p.cutMode == CutMode::CncRouter;
    const EdgeStyle lidStyle = p.includeLid ? EdgeStyle::Tabs : EdgeStyle::Plain;
    constexpr EdgeStyle tabs = EdgeStyle::Tabs;
    constexpr EdgeStyle notches = EdgeStyle::Notches;

    const auto panel = [&](const wchar_t* name, const EdgeCounts& counts, const EdgeStyles& styles, double width,
                           double height, const EdgeInsetList& insets) {
        return buildFingerPanel(name, counts, styles, cnc, width, height, t, c, p.toolDiameter, insets);
    };
    const EdgeInsetList noInsets{};
    // The sides stand on the base's first and last t along the width edges.
    const EdgeInsetList baseInsets{{{t, t}, {0, 0}, {t, t}, {0, 0}}};
    const EdgeCounts baseCounts{fw, fd, fw, fd};
    const EdgeStyles baseStyles{notches, notches, notches, notches};
    const EdgeCounts frontCounts{fw, fh, fw, fh};
    const EdgeStyles frontStyles{lidStyle, tabs, tabs, tabs};
    const EdgeCounts sideCounts{fd, fh, fd, fh};
    const EdgeStyles sideStyles{lidStyle, notches, tabs, notches};

    // Pieces built from the same arguments are built once and copied.
    const auto renamed = [](Piece piece, const wchar_t* name) {
        piece.name = name;
        return piece;
    };
    Piece base = panel(L"Base", baseCounts, baseStyles, outerWidth, outerDepth, baseInsets);
    normalizePiece(base);
    Piece back = panel(L"Atras", frontCounts, frontStyles, innerWidth, wall, noInsets);
    Piece front = renamed(back, L"Frente");
    normalizePiece(back);
    rotatePiece(front, 2);
    Piece left = panel(L"Lateral izquierdo", sideCounts, sideStyles, std::max(outerDepth, 0.0), wall, noInsets);
    Piece right = renamed(left, L"Lateral derecho");
    rotatePiece(left, 1);
    rotatePiece(right, -1);

    // Every wall's bottom edge faces the base, as the box folds up.
    left.x = 0;
    base.x = left.width + s;
    base.y = back.height + s;
    back.x = base.x + (base.width - back.width) / 2;
    back.y = 0;
    front.x = base.x + (base.width - front.width) / 2;
    front.y = base.y + base.height + s;
    left.y = base.y + (base.height - left.height) / 2;
    right.x = base.x + base.width + s;
    right.y = base.y + (base.height - right.height) / 2;
    double nextColumn = right.x + right.width + s;
    const double columnLimit = back.height + base.height + front.height + 2 * s;

    const bool baseSlots = p.addDividerBaseSlots && (widthDividers > 0 || depthDividers > 0);
    const size_t dividerCount = static_cast<size_t>(widthDividers) + static_cast<size_t>(depthDividers);
    PieceSet pieces;
    pieces.reserve(6 + (baseSlots ? 2 : 1) * dividerCount);
    const double baseX = base.x;
    const double baseY = base.y;
    const double baseHeight = base.height;
    // The lid is built exactly like the base.
    Piece lid = p.includeLid ? renamed(base, L"Tapa") : Piece{};
    pieces.push_back(std::move(back));
    pieces.push_back(std::move(left));
    pieces.push_back(std::move(base));
    pieces.push_back(std::move(right));
    pieces.push_back(std::move(front));

    if (baseSlots) {
        // Each cut-out sits in the base right under the divider that stands in it.
        const double slotWidth = t + c;
        for (int32_t i = 1; i <= widthDividers; ++i) {
            const double center = innerWidth * i / (widthDividers + 1.0) + t;
            pieces.push_back(buildSlotCutout(L"Ranura base ancho", cnc, baseX + center - slotWidth / 2, baseY + t,
                                             slotWidth, innerDepth, p.toolDiameter));
        }
        for (int32_t j = 1; j <= depthDividers; ++j) {
            const double center = innerDepth * j / (depthDividers + 1.0) + t;
            pieces.push_back(buildSlotCutout(L"Ranura base profundidad", cnc, baseX + t, baseY + center - slotWidth / 2,
                                             innerWidth, slotWidth, p.toolDiameter));
        }
    }

    if (p.includeLid) {
        lid.x = nextColumn;
        lid.y = baseY + (baseHeight - lid.height) / 2;
        nextColumn = lid.x + lid.width + s;
        pieces.push_back(std::move(lid));
    }

    if (widthDividers > 0) {
        Piece divider = buildDivider(L"Divisor ancho", depthDividers, depthDividers > 0 ? SlotSide::Top : SlotSide::None,
                                     cnc, innerDepth, wall, t, c, p.toolDiameter);
        normalizePiece(divider);
        pieces.insert(pieces.end(), static_cast<size_t>(widthDividers), divider);
    }
    if (depthDividers > 0) {
        Piece divider = buildDivider(L"Divisor profundidad", widthDividers,
                                     widthDividers > 0 ? SlotSide::Bottom : SlotSide::None, cnc, innerWidth, wall, t, c,
                                     p.toolDiameter);
        normalizePiece(divider);
        pieces.insert(pieces.end(), static_cast<size_t>(depthDividers), divider);
    }

    // Dividers stack in columns no taller than the column of walls and base.
    double columnX = nextColumn;
    double columnY = 0;
    double columnWidth = 0;
    for (size_t k = pieces.size() - dividerCount; k < pieces.size(); ++k) {
        Piece& divider = pieces[k];
        if (columnY > 0 && columnY + divider.height > columnLimit) {
            columnX += columnWidth + s;
            columnY = 0;
            columnWidth = 0;
        }
        divider.x = columnX;
        divider.y = columnY;
        columnY += divider.height + s;
        columnWidth = std::max(columnWidth, divider.width);
    }
    return pieces;
}

CutPath placedPath(const Piece& piece) {
    CutPath path = piece.path;
    movePath(path, piece.x, piece.y);
    return path;
}

const char* layerForSegment(const Piece& piece, const PathSegment& segment) {
    if (segment.kind == SegmentKind::Arc) return "DOGBONES";
    if (piece.innerCut) return "CUT_INNER";
    if (piece.name.find(L"Divisor") != std::wstring::npos) return "DIVIDERS";
    if (piece.name.find(L"Ranura") != std::wstring::npos) return "CUT_INNER";
    return "CUT_OUTER";
}
