#pragma once
// The largest design, shared by tests and benchmarks.
#include "model/box_parameters.h"

// The defaults with fingers 10/10/10, a 3 mm router bit, a lid and 20 x 20 dividers with base slots:
// 86 pieces, the largest design the timing aims are set for.
inline BoxParameters heavyDesign() {
    BoxParameters p;
    p.fingerCountWidth = p.fingerCountDepth = p.fingerCountHeight = 10;
    p.cutMode = CutMode::CncRouter;
    p.toolDiameter = 3.0;
    p.includeLid = true;
    p.widthDividerCount = p.depthDividerCount = 20;
    p.addDividerBaseSlots = true;
    return p;
}
