#pragma once
// The largest design, shared by tests and benchmarks.
#include "model/box_parameters.h"

// The defaults with fingers 10/10/10, a 3 mm router bit, a lid and 20 x 20 dividers with base slots:
// 86 pieces, the largest design the timing aims are set for.
inline BoxParameters heavyDesign() {
    return {.fingerCountWidth = 10, .fingerCountDepth = 10, .fingerCountHeight = 10, .includeLid = true,
            .cutMode = CutMode::CncRouter, .toolDiameter = 3.0, .widthDividerCount = 20, .depthDividerCount = 20,
            .addDividerBaseSlots = true};
}
