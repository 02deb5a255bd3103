#pragma once
// Random box designs for property tests and fuzz targets. The draws come from a source of numbers,
// so a seeded engine (tests) and fuzz input (fuzz targets) share one generator.
#include "model/box_parameters.h"

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>

// std::mt19937's sequence is fixed by the standard, its distributions are not: they are written here
// so that every platform draws the same designs.
class SeededDraws {
public:
    explicit SeededDraws(uint32_t seed) : engine_(seed) {}
    double uniform(double low, double high) { return low + (high - low) * (engine_() / 4294967296.0); }
    int32_t integer(int32_t low, int32_t high) {
        return low + static_cast<int32_t>(engine_() % static_cast<uint32_t>(high - low + 1));
    }
    bool chance(double probability) { return uniform(0, 1) < probability; }

private:
    std::mt19937 engine_;
};

// A design of plausible sizes with every feature in play: lids, router bits that mostly fit a
// divider slot, dividers in both directions, base slots.
template <typename Draws>
BoxParameters drawDesign(Draws& draw) {
    // One statement per draw: the order of draws is fixed, so seeds and corpora keep their designs.
    BoxParameters p;
    p.materialThickness = draw.uniform(1, 12);
    p.dimensionMode = draw.chance(0.5) ? DimensionMode::Internal : DimensionMode::External;
    p.inputWidth = draw.uniform(20, 600);
    p.inputHeight = draw.uniform(15, 400);
    p.inputDepth = draw.uniform(20, 600);
    p.includeLid = draw.chance(0.5);
    p.fingerCountWidth = draw.integer(1, 12);
    p.fingerCountDepth = draw.integer(1, 12);
    p.fingerCountHeight = draw.integer(1, 8);
    p.kerf = draw.uniform(0, 0.3);
    p.clearance = draw.uniform(0, 0.5);
    p.spacing = draw.chance(0.1) ? 0.0 : draw.uniform(0, 30);
    p.cutMode = draw.chance(0.5) ? CutMode::CncRouter : CutMode::Laser;
    p.toolDiameter = draw.uniform(0.3, 1.2 * (p.materialThickness + p.clearance));
    p.widthDividerCount = draw.chance(0.4) ? 0 : draw.integer(1, 6);
    p.depthDividerCount = draw.chance(0.4) ? 0 : draw.integer(1, 6);
    p.addDividerBaseSlots = draw.chance(0.6);
    return p;
}

// The next drawn design that validation accepts, outer sizes derived.
template <typename Draws>
BoxParameters drawValidDesign(Draws& draw) {
    for (;;) {
        try {
            BoxParameters p = drawDesign(draw);
            validateParameters(p);
            return p;
        } catch (const std::runtime_error&) {}
    }
}
