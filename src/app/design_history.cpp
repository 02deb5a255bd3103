#include "app/design_history.h"

#include "model/design_options.h"

bool sameDesign(const BoxParameters& a, const BoxParameters& b) {
    for (const DesignOption& option : designOptions())
        if (!sameValue(option, a, b)) return false;
    return true;
}

void DesignHistory::record(const BoxParameters& design) {
    if (current_ && sameDesign(*current_, design)) return;
    if (current_) {
        undo_.push_back(*current_);
        if (undo_.size() > kMaxSteps) undo_.pop_front();
        redo_.clear();
    }
    current_ = design;
}

void DesignHistory::rebase(const BoxParameters& design) { current_ = design; }

std::optional<BoxParameters> DesignHistory::undo() { return step(undo_, redo_); }

std::optional<BoxParameters> DesignHistory::redo() { return step(redo_, undo_); }

std::optional<BoxParameters> DesignHistory::step(std::deque<BoxParameters>& from, std::deque<BoxParameters>& to) {
    if (from.empty() || !current_) return std::nullopt;
    to.push_back(*current_);
    current_ = from.back();
    from.pop_back();
    return current_;
}
