#pragma once
// Where a cut-path arc starts and how far it turns, shared by every preview that flattens arcs.
#include "model/cut_path.h"

struct ArcSweep {
    double startAngle = 0.0;  // radians in [0, 2*pi), from the centre to the arc's start
    double sweep = 0.0;       // radians; positive counter-clockwise, zero or negative clockwise
};

// Angles of start and end about the centre, the end unwound in the arc's direction.
ArcSweep arcSweep(const PathSegment& arc);

// Point of the arc's circle at the given angle (radians), in the arc's frame (mm).
Point2 arcPoint(const PathSegment& arc, double angle);

// Steps for flattening: base + trunc(|sweep| * length scale / divisor), held to [minimum, maximum].
int32_t arcStepCount(double sweep, double lengthScale, double divisor, int32_t base, int32_t minimum,
                     int32_t maximum);
