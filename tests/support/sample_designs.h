#pragma once
// Designs shared by tests and benchmarks.
#include "model/box_parameters.h"

#include <string>
#include <utility>
#include <vector>

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

// One design of each kind the formats treat differently: laser, router, lid, dividers with slots,
// inside measures.
inline std::vector<std::pair<std::string, BoxParameters>> sampleDesigns() {
    BoxParameters cnc, lid, internal;
    cnc.cutMode = lid.cutMode = CutMode::CncRouter;
    lid.includeLid = true;
    internal.dimensionMode = DimensionMode::Internal;
    internal.inputWidth = 101.6, internal.inputHeight = 50.8, internal.inputDepth = 76.2;
    internal.fingerCountWidth = 4, internal.fingerCountDepth = 3, internal.fingerCountHeight = 2;
    return {{"defaults", BoxParameters{}}, {"cnc", cnc}, {"lid", lid}, {"heavy", heavyDesign()}, {"internal", internal}};
}
