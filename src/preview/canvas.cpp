#include "preview/canvas.h"

#include <cmath>

int32_t truncToPixel(double value) {
    // Far beyond any screen, yet leaves room for adding origins and pans without overflow.
    constexpr double kLimit = 1.0e9;
    if (std::isnan(value)) return 0;
    if (value > kLimit) return static_cast<int32_t>(kLimit);
    if (value < -kLimit) return static_cast<int32_t>(-kLimit);
    return static_cast<int32_t>(value);
}
