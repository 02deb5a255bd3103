#pragma once
// Hand-built cut-path segments and pieces for tests.
#include "model/piece_set.h"

#include <string>

inline PathSegment lineSegment(Point2 start, Point2 end) { return {SegmentKind::Line, start, end, {}, 0, false}; }

inline PathSegment arcSegment(Point2 start, Point2 end, Point2 center, double radius, bool counterClockwise) {
    return {SegmentKind::Arc, start, end, center, radius, counterClockwise};
}

// A 4 x 2 rectangle whose right edge is a half circle of radius 1 bulging outwards (counter-
// clockwise) or inwards, placed at (x, y).
inline Piece bulgedPiece(const std::wstring& name, double x, double y, bool counterClockwise = true) {
    const CutPath path{lineSegment({0, 0}, {4, 0}), arcSegment({4, 0}, {4, 2}, {4, 1}, 1, counterClockwise),
                       lineSegment({4, 2}, {0, 2}), lineSegment({0, 2}, {0, 0})};
    return {name, PieceKind::Wall, x, y, 5, 2, {}, path, {}};
}
