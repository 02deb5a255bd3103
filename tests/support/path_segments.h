#pragma once
// Hand-built cut-path segments for tests.
#include "model/cut_path.h"

inline PathSegment lineSegment(Point2 start, Point2 end) {
    PathSegment segment;
    segment.start = start;
    segment.end = end;
    return segment;
}

inline PathSegment arcSegment(Point2 start, Point2 end, Point2 center, double radius, bool counterClockwise) {
    PathSegment segment;
    segment.kind = SegmentKind::Arc;
    segment.start = start;
    segment.end = end;
    segment.center = center;
    segment.radius = radius;
    segment.counterClockwise = counterClockwise;
    return segment;
}
