#pragma once
// Hand-built pieces and canvas queries shared by the preview tests.
#include <string>
#include <vector>

#include "model/piece_set.h"
#include "preview/recording_canvas.h"
#include "support/path_segments.h"

inline PathSegment lineSegment(double x0, double y0, double x1, double y1) {
    return lineSegment(Point2{x0, y0}, Point2{x1, y1});
}

// A closed rectangular path of w x h from the local origin.
inline CutPath rectanglePath(double w, double h) {
    return {lineSegment(0, 0, w, 0), lineSegment(w, 0, w, h), lineSegment(w, h, 0, h), lineSegment(0, h, 0, 0)};
}

inline Piece handPiece(const std::wstring& name, double x, double y, CutPath path, bool labelled = true,
                       bool innerCut = false) {
    Piece piece;
    piece.name = name;
    piece.x = x;
    piece.y = y;
    piece.labelled = labelled;
    piece.innerCut = innerCut;
    piece.path = std::move(path);
    return piece;
}

inline std::vector<RecordedPrimitive> primitivesOf(const RecordingCanvas& canvas, RecordedKind kind) {
    std::vector<RecordedPrimitive> found;
    for (const RecordedPrimitive& primitive : canvas.primitives()) {
        if (primitive.kind == kind) found.push_back(primitive);
    }
    return found;
}

// Every created object deleted, nothing left selected, no rule broken.
#define EXPECT_CANVAS_CLEAN(canvas)                         \
    do {                                                    \
        EXPECT_EQ((canvas).faults(), std::vector<std::string>{});          \
        EXPECT_EQ((canvas).liveObjects(), 0);               \
        EXPECT_TRUE((canvas).selectionsAtStart());          \
    } while (false)
