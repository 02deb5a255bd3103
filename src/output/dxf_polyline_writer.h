#pragma once
// DXF R12 with one closed POLYLINE per piece, for CAM software that wants closed contours.
#include "model/piece_set.h"

#include <string>

// Same header and tables as buildDxf; each piece's placed path as one closed POLYLINE (66 1, 70 1)
// of VERTEX entities, arcs as bulges, on "CUT_OUTER", "CUT_INNER" or "DIVIDERS". Inner cut-outs come
// first so a cutter frees no part before its holes are cut. Scaled to inches when asked.
std::string buildClosedDxf(const PieceSet& pieces, bool inches);
