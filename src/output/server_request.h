#pragma once
// The JSON request body that hands the cut geometry to a DXF server.
#include "model/piece_set.h"

#include <string>

// Three decimals, trailing zeros and a trailing point cut, decimal point whatever the locale;
// a value that rounds to zero is "0" (12 -> "12", 3.175 -> "3.175", -0.0001 -> "0").
std::string formatServerNumber(double value);

// One line of JSON, no spaces: the fixed head, one line or arc entity per placed-path segment
// (mm, angles in degrees counter-clockwise from startAngle), then "]}".
std::string buildServerRequestJson(const PieceSet& pieces);
