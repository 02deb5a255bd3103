#pragma once
// The angle an arc segment turns through when followed from its start to its end.
#include "model/cut_path.h"

// Degrees in [0, 360): positive when the arc runs counter-clockwise, negative when clockwise.
inline double signedSweepDegrees(const PathSegment& arc) {
    const auto [first, second] = arcAnglesDegrees(arc);
    double sweep = second - first;
    if (sweep < 0) sweep += 360.0;
    return arc.counterClockwise ? sweep : -sweep;
}
