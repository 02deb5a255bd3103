#pragma once
// Every tolerance of the program, in one place. Lengths are millimetres, areas square millimetres,
// angles as stated.

// No length of a design may exceed this: beyond it the plan's coordinates lose the fractions of a
// millimetre the tolerances below work in. Validation refuses longer ones.
inline constexpr double kLongestLength = 100000.0;

// Two points this close or closer are the same point: outlines keep one of them, and a divider slot
// this close to its neighbour or to the divider's end is left out.
inline constexpr double kPointTolerance = 0.0001;

// Segments this short or shorter are dropped from cut paths; vectors this short count as zero.
inline constexpr double kLengthTolerance = 0.000001;

// A corner whose edges turn by less than this cross product (mm²) is not concave: no dogbone.
inline constexpr double kConcaveTurn = 0.0001;

// Slack (radians) when telling whether a sweep from an arc's start to its end passes a corner.
inline constexpr double kArcSweepSlack = 0.0001;

// Below this share of the radius squared, a dogbone's direction is worked out from its angles.
inline constexpr double kNearlyDegenerateArc = 0.001;

// An SVG arc turning more than half a circle by this many degrees gets the large-arc flag; a
// dogbone's exact half turn must not, whatever the rounding.
inline constexpr double kHalfTurnSlack = 0.000001;

// Panels cut for the GPU view: repeated points, short edges and straight vertices.
inline constexpr double kPolygonDuplicate = 0.001;
inline constexpr double kPolygonShortEdge = 0.0005;
inline constexpr double kPolygonStraightness = 1e-8;  // cross product per unit of the edges' lengths
inline constexpr double kPolygonInside = 1e-7;        // cross product (mm²) still inside a triangle
// The search grid over a panel's vertices: no cell is thinner, and a triangle reaches this far
// past its corners into neighbouring cells.
inline constexpr double kGridCellMinimum = 1e-9;
inline constexpr double kGridReach = 1e-6;

// A face normal this short is no direction: the face is lit as if it faced up.
inline constexpr double kShortNormal = 1e-6;

// A zoom this small or smaller is taken as no zoom by the 3D camera; an aspect ratio too.
inline constexpr double kSmallestZoom = 0.01;

// A wheel step that changes the zoom by less than this changes nothing.
inline constexpr double kZoomStep = 0.0001;
