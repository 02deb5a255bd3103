#pragma once
// Lengths as the panel shows them, in its display unit.
#include "model/piece_set.h"

#include <string>

// valueMm in millimetres or inches, at most 4 decimals, trailing zeros cut, never "-0".
std::wstring lengthText(double valueMm, bool inches);

// The plan's overall size with its unit: "424 x 374 mm", "16.6929 x 14.7244 in".
std::wstring planSizeText(const PlanExtent& plan, bool inches);
