#pragma once
// SVG of the cut plan, for cutters and viewers that take SVG.
#include "model/piece_set.h"

#include <string>
#include <vector>

// Plan coordinates unchanged (mm, y downwards as on the plan); width and height in mm, viewBox
// the plan's bounds. One <g> per piece with a unique id from its name, holding one closed <path>
// of its placed path: lines as L, dogbone arcs as A, closed with Z; no fill, stroke 0.1 mm,
// black for parts and blue for inner cut-outs. With a page, the drawing is the page (origin at its
// corner), so a laser program places it on its bed as it is.
std::string buildSvg(const PieceSet& pieces, SheetSize page = {});

// A unique XML id from a piece name: ASCII letters and digits lower-cased, other runs as "-",
// "-2", "-3"... appended to repeats. used holds the ids taken so far and receives the new one.
std::string svgPieceId(const std::wstring& name, std::vector<std::string>& used);
