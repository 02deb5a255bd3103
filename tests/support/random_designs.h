#pragma once
// Random box designs for property tests and fuzz targets. The draws come from a source of numbers,
// so a seeded engine (tests) and fuzz input (fuzz targets) share one generator.
#include "model/box_parameters.h"
#include "model/design_options.h"

#include <algorithm>
#include <iterator>

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

// How the random designs draw an option: a length from low..high (high may follow the options drawn
// before it), a count from low..high, a flag or choice on with the chance high; zeroChance draws
// a length or count as 0 first.
struct OptionDraw {
    const char* option;
    double low;
    double high;
    double zeroChance = 0;
    double (*highOf)(const BoxParameters&) = nullptr;
};

// Plausible sizes with every feature in play: lids, router bits that mostly fit a divider slot,
// dividers in both directions, base slots. The order is fixed, so seeds and corpora keep their
// designs; an option not listed is drawn after these, over a range its kind suggests.
inline const OptionDraw kOptionDraws[] = {
    {"materialThickness", 1, 12},
    {"dimensionMode", 0, 0.5},
    {"inputWidth", 20, 600},
    {"inputHeight", 15, 400},
    {"inputDepth", 20, 600},
    {"includeLid", 0, 0.5},
    {"fingerCountWidth", 1, 12},
    {"fingerCountDepth", 1, 12},
    {"fingerCountHeight", 1, 8},
    {"kerf", 0, 0.3},
    {"clearance", 0, 0.5},
    {"spacing", 0, 30, 0.1},
    {"cutMode", 0, 0.5},
    {"toolDiameter", 0.3, 0, 0, [](const BoxParameters& p) { return 1.2 * (p.materialThickness + p.clearance); }},
    {"widthDividerCount", 1, 6, 0.4},
    {"depthDividerCount", 1, 6, 0.4},
    {"addDividerBaseSlots", 0, 0.6},
};

template <typename Draws>
double drawOption(Draws& draw, const DesignOption& option, const OptionDraw& how, const BoxParameters& before) {
    if (how.zeroChance > 0 && draw.chance(how.zeroChance)) return 0;
    switch (option.kind) {
    case OptionKind::Length: return draw.uniform(how.low, how.highOf ? how.highOf(before) : how.high);
    case OptionKind::Count: return draw.integer(static_cast<int32_t>(how.low), static_cast<int32_t>(how.high));
    case OptionKind::Flag:
    case OptionKind::Choice:
    case OptionKind::Size: break;
    }
    return draw.chance(how.high) ? 1 : 0;
}

// The listed options in their order, then `between` (a draw of the caller's that seeds made before
// later options hold right there), then the options added since.
template <typename Draws, typename Between>
BoxParameters drawDesign(Draws& draw, Between&& between) {
    BoxParameters p;
    for (const OptionDraw& how : kOptionDraws) {
        const DesignOption& option = *findDesignOption(how.option);
        option.access.set(p, drawOption(draw, option, how, p));
    }
    between();
    for (const DesignOption& option : designOptions()) {
        const auto drawsThis = [&](const OptionDraw& how) { return how.option == std::string(option.projectKey); };
        const bool listed = std::any_of(std::begin(kOptionDraws), std::end(kOptionDraws), drawsThis);
        if (listed) continue;
        // A sheet now and then, from a small laser's bed to a large router's.
        if (option.kind == OptionKind::Size) {
            if (!draw.chance(0.3)) continue;
            option.access.set(p, draw.uniform(150, 1500));
            option.second.set(p, draw.uniform(150, 1000));
            continue;
        }
        const double usual = option.access.get(BoxParameters{});
        const double high = option.kind == OptionKind::Length ? 2 * usual : 0.5;
        OptionDraw how{option.projectKey, 0, high};
        if (option.kind == OptionKind::Count)
            how = {option.projectKey, double(option.panel.listedLow), double(option.panel.listedHigh)};
        option.access.set(p, drawOption(draw, option, how, p));
    }
    return p;
}

template <typename Draws>
BoxParameters drawDesign(Draws& draw) {
    return drawDesign(draw, [] {});
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
