#pragma once
// Small hand-built pieces and designs shared by the output tests.
#include "model/box_parameters.h"
#include "model/piece_set.h"
#include "support/path_segments.h"
#include "support/sample_designs.h"

#include <string>
#include <utility>
#include <vector>

// A 4 x 2 rectangle whose right edge is a half circle of radius 1 bulging outwards (counter-
// clockwise) or inwards, placed at (x, y).
inline Piece bulgedPiece(const std::wstring& name, double x, double y, bool counterClockwise = true) {
    Piece p;
    p.name = name;
    p.x = x;
    p.y = y;
    p.width = 5;
    p.height = 2;
    p.labelled = true;
    p.path = {lineSegment({0, 0}, {4, 0}), arcSegment({4, 0}, {4, 2}, {4, 1}, 1, counterClockwise),
              lineSegment({4, 2}, {0, 2}), lineSegment({0, 2}, {0, 0})};
    return p;
}

// Named designs the format tests run through the model.
inline std::vector<std::pair<std::string, BoxParameters>> sampleDesigns() {
    std::vector<std::pair<std::string, BoxParameters>> designs;
    designs.emplace_back("defaults", BoxParameters{});
    BoxParameters cnc;
    cnc.cutMode = CutMode::CncRouter;
    designs.emplace_back("cnc", cnc);
    BoxParameters lid;
    lid.includeLid = true;
    lid.cutMode = CutMode::CncRouter;
    designs.emplace_back("lid", lid);
    BoxParameters dividers;
    dividers.widthDividerCount = 2;
    dividers.depthDividerCount = 1;
    dividers.addDividerBaseSlots = true;
    dividers.cutMode = CutMode::CncRouter;
    dividers.toolDiameter = 3.0;
    designs.emplace_back("dividers", dividers);
    BoxParameters internal;
    internal.dimensionMode = DimensionMode::Internal;
    internal.inputWidth = 101.6;
    internal.inputHeight = 50.8;
    internal.inputDepth = 76.2;
    internal.fingerCountWidth = 4;
    internal.fingerCountDepth = 3;
    internal.fingerCountHeight = 2;
    designs.emplace_back("internal", internal);
    return designs;
}

