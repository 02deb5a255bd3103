#pragma once
// The random-design generator's draws taken from fuzz input: mostly within the generator's ranges,
// now and then any value at all (special doubles, raw bit patterns, any count).
#include "fuzz_check.h"
#include "support/random_designs.h"

#include <cstring>

class FuzzDraws {
public:
    explicit FuzzDraws(FuzzedDataProvider& input) : input_(input) {}

    // Used up input gives the range's low end, so short inputs still make plausible designs.
    double uniform(double low, double high) {
        static constexpr double kSpecial[] = {0.0,  -0.0, -1.0,     1e-300, 5e-324,    1e-7, 0.01,
                                              1e5,  1e15, 1e300, HUGE_VAL, -HUGE_VAL, NAN};
        // A range drawn from earlier wild values may be empty or not a range at all.
        if (!(low <= high) || !std::isfinite(high)) high = low = 1.0;
        const int kind = input_.ConsumeIntegralInRange(0, 7);
        wild_ = wild_ || kind >= 5;
        switch (kind) {
        case 5: return input_.ConsumeFloatingPointInRange(0.0, 1000.0);
        case 6: return input_.PickValueInArray(kSpecial);
        case 7: {
            const uint64_t bits = input_.ConsumeIntegral<uint64_t>();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        default: return input_.ConsumeFloatingPointInRange(low, high);
        }
    }
    int32_t integer(int32_t low, int32_t high) {
        const int kind = input_.ConsumeIntegralInRange(0, 7);
        wild_ = wild_ || kind >= 6;
        switch (kind) {
        case 6: return input_.ConsumeIntegralInRange<int32_t>(-1, 1001);
        case 7: return input_.ConsumeIntegral<int32_t>();
        default: return input_.ConsumeIntegralInRange(low, high);
        }
    }
    bool chance(double) { return input_.ConsumeBool(); }
    // True once any draw left the generator's ranges.
    bool wild() const { return wild_; }

private:
    FuzzedDataProvider& input_;
    bool wild_ = false;
};
