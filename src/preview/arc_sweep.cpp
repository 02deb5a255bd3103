#include "preview/arc_sweep.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double intoFullTurn(double angle) {
    while (angle < 0.0) angle += kTwoPi;
    while (angle >= kTwoPi) angle -= kTwoPi;
    return angle;
}
}  // namespace

ArcSweep arcSweep(const PathSegment& arc) {
    const double start = intoFullTurn(std::atan2(arc.start.y - arc.center.y, arc.start.x - arc.center.x));
    double end = intoFullTurn(std::atan2(arc.end.y - arc.center.y, arc.end.x - arc.center.x));
    if (arc.counterClockwise) {
        while (start > end) end += kTwoPi;
    } else {
        while (end > start) end -= kTwoPi;
    }
    return ArcSweep{start, end - start};
}

Point2 arcPoint(const PathSegment& arc, double angle) {
    return Point2{arc.center.x + arc.radius * std::cos(angle), arc.center.y + arc.radius * std::sin(angle)};
}

int32_t arcStepCount(double sweep, double lengthScale, double divisor, int32_t base, int32_t minimum,
                     int32_t maximum) {
    const double steps = base + std::trunc(std::abs(sweep) * lengthScale / divisor);
    if (!(steps >= minimum)) return minimum;  // also catches NaN
    return static_cast<int32_t>(std::min(steps, static_cast<double>(maximum)));
}
