#pragma once
// Cut paths: the closed chain of segments a laser or router follows, in a piece's frame (mm).
#include "model/outline.h"

#include <cstdint>
#include <utility>
#include <vector>

enum class SegmentKind : int32_t { Line = 0, Arc = 1 };

struct PathSegment {
    SegmentKind kind = SegmentKind::Line;
    Point2 start;
    Point2 end;
    Point2 center;                  // arcs only
    double radius = 0.0;            // arcs only
    bool counterClockwise = false;  // arcs only: sweep direction in the piece's x/y axes
};

using CutPath = std::vector<PathSegment>;

// The closed chain of lines through the outline's points.
CutPath laserPath(const Outline& outline);

// Lines plus a dogbone arc of at most toolDiameter / 2 at every corner the bit cannot reach: the
// concave ones of a piece, the convex ones of a hole (whose material lies outside it).
CutPath dogbonePath(const Outline& outline, double toolDiameter, bool hole = false);

// True when sweeping counter-clockwise from start to end about center passes corner.
bool arcIsCounterClockwise(Point2 start, Point2 end, Point2 corner, Point2 center);

// Start and end angles in degrees, each in [0, 360), reading counter-clockwise first to second.
std::pair<double, double> arcAnglesDegrees(const PathSegment& arc);

// Degrees the arc turns from its start to its end, in (-360, 360): positive counter-clockwise.
double signedSweepDegrees(const PathSegment& arc);
