#include "model/cut_path.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;

// Plain square root: millimetre values never come near hypot's overflow range, and it is much faster.
double length(Point2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

Point2 unit(Point2 v) {
    const double l = length(v);
    if (l <= kLengthTolerance) return {0, 0};
    return {v.x / l, v.y / l};
}

bool isZero(Point2 v) { return std::fabs(v.x) < kLengthTolerance && std::fabs(v.y) < kLengthTolerance; }

Point2 plus(Point2 p, Point2 v, double scale) { return {p.x + v.x * scale, p.y + v.y * scale}; }

PathSegment line(Point2 start, Point2 end) {
    PathSegment segment;
    segment.start = start;
    segment.end = end;
    return segment;
}

void appendLineIfLong(CutPath& path, Point2 start, Point2 end) {
    if (length({end.x - start.x, end.y - start.y}) > kLengthTolerance) path.push_back(line(start, end));
}

// Angle difference brought into [0, 2pi).
double sweep(double from, double to) {
    double delta = to - from;
    while (delta < 0) delta += kTwoPi;
    while (delta >= kTwoPi) delta -= kTwoPi;
    return delta;
}

double degreesInTurn(double radians) {
    double degrees = radians * 180.0 / kPi;
    while (degrees < 0) degrees += 360.0;
    while (degrees >= 360.0) degrees -= 360.0;
    return degrees;
}

// Whether the outline turns inwards at p, between q and r; sigma makes the test independent of the
// outline's winding.
bool isConcave(Point2 q, Point2 p, Point2 r, double sigma) {
    const double turn = sigma * ((p.x - q.x) * (r.y - p.y) - (p.y - q.y) * (r.x - p.x));
    return turn < -kConcaveTurn;
}

// The arc that lets a round bit reach the concave corner p, or none for a convex or degenerate one.
// shareQ and shareR are the parts of the edges to q and r it may use: half an edge whose far end
// has a dogbone too, so that the two never cross.
std::optional<PathSegment> dogboneAt(Point2 q, Point2 p, Point2 r, double sigma, double bitRadius, double shareQ,
                                     double shareR) {
    if (!isConcave(q, p, r, sigma)) return std::nullopt;
    const Point2 toQ{q.x - p.x, q.y - p.y};
    const Point2 toR{r.x - p.x, r.y - p.y};
    const double dq = length(toQ) * shareQ;
    const double dr = length(toR) * shareR;
    if (dq <= kLengthTolerance || dr <= kLengthTolerance) return std::nullopt;
    const Point2 a = unit(toQ);
    const Point2 b = unit(toR);
    if (isZero(a) || isZero(b)) return std::nullopt;
    const Point2 bisector = unit({a.x + b.x, a.y + b.y});
    if (isZero(bisector)) return std::nullopt;
    // 0.95 keeps both ends of the arc inside their edges; narrow fingers get a smaller arc.
    const double d = std::min(std::min(dq, dr) / std::sqrt(2.0) * 0.95, bitRadius);
    if (d <= kLengthTolerance) return std::nullopt;
    PathSegment arc;
    arc.kind = SegmentKind::Arc;
    arc.start = plus(p, a, std::sqrt(2.0) * d);
    arc.end = plus(p, b, std::sqrt(2.0) * d);
    arc.center = plus(p, bisector, d);
    arc.radius = d;
    // The corner is the arc's midpoint (start and end mirror each other across centre-corner), so the
    // side of the corner seen from centre->start gives the direction without three atan2 calls; only
    // nearly degenerate arcs need the full angle comparison.
    const double side = ((arc.start.x - arc.center.x) * (p.y - arc.center.y) -
                         (arc.start.y - arc.center.y) * (p.x - arc.center.x)) / (d * d);
    arc.counterClockwise =
        std::fabs(side) > kNearlyDegenerateArc ? side > 0 : arcIsCounterClockwise(arc.start, arc.end, p, arc.center);
    return arc;
}

}  // namespace

CutPath laserPath(const Outline& outline) {
    CutPath path;
    const size_t n = outline.size();
    if (n < 2) return path;
    path.reserve(n);
    for (size_t i = 0; i < n; ++i) appendLineIfLong(path, outline[i], outline[(i + 1) % n]);
    return path;
}

CutPath dogbonePath(const Outline& outline, double toolDiameter, bool hole) {
    const size_t n = outline.size();
    if (n < 4 || !(toolDiameter > 0)) return laserPath(outline);

    double twiceArea = 0;
    for (size_t i = 0; i < n; ++i) {
        const Point2 p = outline[i];
        const Point2 next = outline[(i + 1) % n];
        twiceArea += p.x * next.y - p.y * next.x;
    }
    // A hole's corners turn against the material around it, so its winding counts the other way.
    const double sigma = (twiceArea >= 0) != hole ? 1.0 : -1.0;
    const double radius = toolDiameter * 0.5;

    std::vector<bool> concave(n);
    for (size_t i = 0; i < n; ++i)
        concave[i] = isConcave(outline[(i + n - 1) % n], outline[i], outline[(i + 1) % n], sigma);
    const auto dogboneOf = [&](size_t i) {
        const size_t before = (i + n - 1) % n;
        const size_t after = (i + 1) % n;
        return dogboneAt(outline[before], outline[i], outline[after], sigma, radius, concave[before] ? 0.5 : 1.0,
                         concave[after] ? 0.5 : 1.0);
    };

    CutPath path;
    path.reserve(2 * n);
    const std::optional<PathSegment> first = dogboneOf(0);
    std::optional<PathSegment> current = first;
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        const std::optional<PathSegment> next = j == 0 ? first : dogboneOf(j);
        appendLineIfLong(path, current ? current->end : outline[i], next ? next->start : outline[j]);
        if (next) path.push_back(*next);
        current = next;
    }
    return path;
}

bool arcIsCounterClockwise(Point2 start, Point2 end, Point2 corner, Point2 center) {
    const double startAngle = std::atan2(start.y - center.y, start.x - center.x);
    const double endAngle = std::atan2(end.y - center.y, end.x - center.x);
    const double cornerAngle = std::atan2(corner.y - center.y, corner.x - center.x);
    return sweep(startAngle, endAngle) + kArcSweepSlack >= sweep(startAngle, cornerAngle);
}

std::pair<double, double> arcAnglesDegrees(const PathSegment& arc) {
    const double first = degreesInTurn(std::atan2(arc.start.y - arc.center.y, arc.start.x - arc.center.x));
    const double second = degreesInTurn(std::atan2(arc.end.y - arc.center.y, arc.end.x - arc.center.x));
    if (arc.counterClockwise) return {first, second};
    return {second, first};
}

double signedSweepDegrees(const PathSegment& arc) {
    const auto [first, second] = arcAnglesDegrees(arc);
    double sweep = second - first;
    if (sweep < 0) sweep += 360.0;
    return arc.counterClockwise ? sweep : -sweep;
}
