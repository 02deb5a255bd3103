#pragma once
// A small test cut for a new material: a tongue and a comb of notches that tell the machine's true kerf
// (laser), and slots that tell the clearance, each notch and slot with its value engraved beside it.
#include "model/piece_set.h"

// The test fits in this much sheet (mm).
inline constexpr double kFitTestWidth = 120;
inline constexpr double kFitTestHeight = 60;

// The test pieces for the design's thickness, kerf, clearance and cut mode, laid out from (0, 0):
// in laser mode a row with the comb (notch i fits the tongue snugly when the true kerf is
// k + kFitTestSteps[i]) and the tongue, then in both modes a plate with five slots of the thickness
// plus clearance + kFitTestSteps[i]. Values below 0 become 0. Throws std::runtime_error with a fixed
// Spanish message when the design is refused, the test does not fit kFitTestWidth x kFitTestHeight,
// or the bit cannot enter a slot.
PieceSet fitTestPieces(BoxParameters design);

inline constexpr double kFitTestSteps[] = {-0.10, -0.05, 0.0, 0.05, 0.10};
