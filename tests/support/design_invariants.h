#pragma once
// What every generated design must keep for the box to be cut and assembled, checked against the
// pieces themselves rather than the generator's formulas.
#include "model/piece_set.h"

#include <string>
#include <vector>

// The broken invariants of a validated design's piece set, in words; empty when it keeps them all.
// A cuttable set has closed finite paths of real segments inside each piece's box, in a router path
// one dogbone at each concave corner and none elsewhere, pieces apart by the spacing and cut-outs
// inside the base's walls. An assembling one (checked when asked) also has tabs facing notches of
// the same spans along every joint (base, corners, lid), one slot per crossing divider, and slots
// over their base cut-outs.
std::vector<std::string> designFaults(const BoxParameters& validated, const PieceSet& pieces,
                                      bool assembles = true);
