#pragma once
// Undo and redo of the panel's design: each regeneration that changes the design is one step.
#include "model/box_parameters.h"

#include <cstddef>
#include <deque>
#include <optional>

// Designs are compared field by field; lengths in millimetres as the panel read them.
bool sameDesign(const BoxParameters& a, const BoxParameters& b);

class DesignHistory {
public:
    static constexpr size_t kMaxSteps = 100;

    // The design just regenerated. The first one is the starting point; a later one that differs
    // from the current design makes the current one an undo step and forgets the redo steps.
    void record(const BoxParameters& design);
    // The current design replaced without a step (the same design shown in another unit).
    void rebase(const BoxParameters& design);
    // The design to show instead of the current one; none when there is no step that way.
    std::optional<BoxParameters> undo();
    std::optional<BoxParameters> redo();

private:
    // The current design goes onto to, the last of from becomes current; none when from is empty.
    std::optional<BoxParameters> step(std::deque<BoxParameters>& from, std::deque<BoxParameters>& to);

    std::optional<BoxParameters> current_;
    std::deque<BoxParameters> undo_;  // oldest first
    std::deque<BoxParameters> redo_;  // next last
};
