#pragma once
// Box designs decoded from fuzz input: mostly plausible values, so that many designs are accepted,
// and now and then any bit pattern, count or enumeration value.
#include "model/box_parameters.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace fuzz_design {

// Mostly plausible lengths, so that many designs are accepted; sometimes any bit pattern.
inline double length(FuzzedDataProvider& input) {
    static constexpr double kSpecial[] = {0.0, -0.0, -1.0, 1e-300, 5e-324, 1e-7, 1e7, 1e15, 1e300,
                                          HUGE_VAL, -HUGE_VAL, NAN};
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: return input.ConsumeFloatingPointInRange(0.0, 50.0);
    case 1: return input.ConsumeFloatingPointInRange(0.0, 1000.0);
    case 2: return input.PickValueInArray(kSpecial);
    default: {
        const uint64_t bits = input.ConsumeIntegral<uint64_t>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

inline int32_t count(FuzzedDataProvider& input) {
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(-1, 12) : input.ConsumeIntegral<int32_t>();
}

template <typename Enum>
Enum choice(FuzzedDataProvider& input) {
    return static_cast<Enum>(input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(0, 1)
                                                 : input.ConsumeIntegral<int32_t>());
}

// Consumes the design from the end of the input, field by field in declaration order.
inline BoxParameters design(FuzzedDataProvider& input) {
    BoxParameters p;
    p.inputWidth = length(input);
    p.inputHeight = length(input);
    p.inputDepth = length(input);
    p.outerWidth = length(input);  // overwritten by validation
    p.dimensionMode = choice<DimensionMode>(input);
    p.materialThickness = length(input);
    p.fingerCountWidth = count(input);
    p.fingerCountDepth = count(input);
    p.fingerCountHeight = count(input);
    p.kerf = length(input);
    p.clearance = length(input);
    p.spacing = length(input);
    p.includeLid = input.ConsumeBool();
    p.cutMode = choice<CutMode>(input);
    p.toolDiameter = length(input);
    p.widthDividerCount = count(input);
    p.depthDividerCount = count(input);
    p.addDividerBaseSlots = input.ConsumeBool();
    return p;
}

// One line with every field, for the report of a failed invariant.
inline std::string describe(const BoxParameters& p) {
    char text[1024];
    std::snprintf(text, sizeof text,
                  "design %.17g x %.17g x %.17g mode %d t %.17g fingers %d/%d/%d kerf %.17g clearance %.17g "
                  "spacing %.17g lid %d cut %d tool %.17g dividers %d/%d slots %d",
                  p.inputWidth, p.inputHeight, p.inputDepth, static_cast<int>(p.dimensionMode), p.materialThickness,
                  p.fingerCountWidth, p.fingerCountDepth, p.fingerCountHeight, p.kerf, p.clearance, p.spacing,
                  p.includeLid, static_cast<int>(p.cutMode), p.toolDiameter, p.widthDividerCount,
                  p.depthDividerCount, p.addDividerBaseSlots);
    return text;
}

}  // namespace fuzz_design
