#pragma once
// A panel's cut path as a simple polygon, cleaned and cut into triangles for the GPU view.
#include <array>
#include <cstdint>
#include <vector>

#include "model/cut_path.h"

using Polygon2 = std::vector<Point2>;
using Triangle = std::array<uint32_t, 3>;  // indices into the polygon

// The path's points in order, arcs cut into 8..72 steps; repeats within 0.001 mm and a closing point
// equal to the first are left out. Empty when fewer than 3 points remain.
Polygon2 polygonFromPath(const CutPath& path);

// Drops near-duplicates (0.0005 mm), then, in at most 12 passes, vertices on a short edge or on the
// straight line through their neighbours. A vertex where the outline folds back stays.
void cleanPolygon(Polygon2& polygon);

// Half the cross-product sum; positive when the polygon runs counter-clockwise (y up).
double signedArea(const Polygon2& polygon);

// Ear clipping of a counter-clockwise polygon. False (triangles partial) when it cannot be cut.
bool triangulatePolygon(const Polygon2& polygon, std::vector<Triangle>& triangles);
