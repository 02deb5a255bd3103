#include "model/outline.h"

#include <algorithm>
#include <cmath>

namespace {

// Plain square root: millimetre values never come near hypot's overflow range, and it is much faster.
double distance(Point2 a, Point2 b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

Point2 along(Point2 origin, Point2 direction, double length) {
    return {origin.x + direction.x * length, origin.y + direction.y * length};
}

}  // namespace

void appendPointIfDistinct(Outline& outline, Point2 p) {
    if (!outline.empty() && distance(outline.back(), p) <= kPointTolerance) return;
    outline.push_back(p);
}

void appendFingerEdge(Outline& outline, const EdgeLine& line, const EdgeJoint& joint, const Joinery& joinery) {
    const Point2 start = line.start, end = line.end, normal = line.normal;
    if (outline.empty()) outline.push_back(start);
    if (joint.style == EdgeStyle::Plain) {
        appendPointIfDistinct(outline, end);
        return;
    }
    const double length = distance(start, end);
    if (length <= kPointTolerance) return;
    const double a = std::max(joint.insets.start, 0.0);
    const double b = std::max(joint.insets.end, 0.0);
    if (a + b >= length) {
        appendPointIfDistinct(outline, end);
        return;
    }
    const Point2 u{(end.x - start.x) / length, (end.y - start.y) / length};
    const Point2 fingerStart = along(start, u, a);
    const Point2 fingerEnd = along(end, u, -b);
    appendPointIfDistinct(outline, fingerStart);

    // 64-bit so that any int32 count gives the right segment count.
    const int64_t segments = 2 * static_cast<int64_t>(joint.count) + 1;
    if (segments > 0) {
        const double s = distance(fingerStart, fingerEnd) / static_cast<double>(segments);
        const double t = joinery.thickness;
        const double lift = joint.style == EdgeStyle::Tabs ? t : -(t + joinery.clearance);
        const Point2 offset{normal.x * lift, normal.y * lift};
        const auto boundary = [&](int64_t k) { return along(fingerStart, u, static_cast<double>(k) * s); };
        for (int64_t k = 0; k < segments; ++k) {
            const Point2 next = boundary(k + 1);
            if (k % 2 == 1) {
                const Point2 here = boundary(k);
                appendPointIfDistinct(outline, {here.x + offset.x, here.y + offset.y});
                appendPointIfDistinct(outline, {next.x + offset.x, next.y + offset.y});
            }
            appendPointIfDistinct(outline, next);
        }
    }
    appendPointIfDistinct(outline, end);
}

Outline panelOutline(const PanelShape& panel, const Joinery& joinery) {
    const double width = panel.width, height = panel.height;
    const EdgeLine lines[4] = {
        {{0, 0}, {width, 0}, {0, -1}},
        {{width, 0}, {width, height}, {1, 0}},
        {{width, height}, {0, height}, {0, 1}},
        {{0, height}, {0, 0}, {-1, 0}},
    };
    Outline outline;
    size_t expected = 0;
    for (const EdgeJoint& edge : panel.edges) expected += 4 * static_cast<size_t>(std::clamp(edge.count, 0, 4096)) + 4;
    outline.reserve(expected);
    for (int i = 0; i < 4; ++i) appendFingerEdge(outline, lines[i], panel.edges[i], joinery);
    // Keep a point only when it is farther than the tolerance from the last one kept.
    size_t kept = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        if (kept == 0 || distance(outline[kept - 1], outline[i]) > kPointTolerance) outline[kept++] = outline[i];
    }
    outline.resize(kept);
    if (outline.size() > 1 && distance(outline.back(), outline.front()) < kPointTolerance) outline.pop_back();
    return outline;
}

Outline rectangleOutline(double width, double height) {
    return {{0, 0}, {width, 0}, {width, height}, {0, height}};
}

std::vector<double> dividerSlotCenters(int32_t count, double length) {
    std::vector<double> centers;
    if (count <= 0) return centers;
    centers.reserve(static_cast<size_t>(count));
    const double n = static_cast<double>(count);
    for (int32_t i = 1; i <= count; ++i) centers.push_back(static_cast<double>(i) * length / (n + 1.0));
    return centers;
}

namespace {

// The divider with its slots cut down from y = 0.
Outline topSlottedOutline(const DividerShape& divider, double slotWidth, double slotDepth) {
    const double length = divider.length, height = divider.height;
    Outline outline{{0, 0}};
    double previousRight = 0.0;
    for (double center : dividerSlotCenters(divider.slotCount, length)) {
        const double left = std::max(center - slotWidth / 2, 0.0);
        const double right = std::min(center + slotWidth / 2, length);
        // A slot touching its neighbour or the far end would split the divider.
        if (previousRight + kPointTolerance >= left || right >= length - kPointTolerance) continue;
        appendPointIfDistinct(outline, {left, 0});
        appendPointIfDistinct(outline, {left, slotDepth});
        appendPointIfDistinct(outline, {right, slotDepth});
        appendPointIfDistinct(outline, {right, 0});
        previousRight = right;
    }
    appendPointIfDistinct(outline, {length, 0});
    appendPointIfDistinct(outline, {length, height});
    appendPointIfDistinct(outline, {0, height});
    return outline;
}

// The divider with its slots cut up from y = H.
Outline bottomSlottedOutline(const DividerShape& divider, double slotWidth, double slotDepth) {
    const double length = divider.length, height = divider.height;
    Outline outline{{0, 0}};
    appendPointIfDistinct(outline, {length, 0});
    appendPointIfDistinct(outline, {length, height});
    double previousLeft = length;
    std::vector<double> centers = dividerSlotCenters(divider.slotCount, length);
    std::reverse(centers.begin(), centers.end());
    for (double center : centers) {
        const double right = std::min(center + slotWidth / 2, length);
        const double left = std::max(center - slotWidth / 2, 0.0);
        if (right >= previousLeft - kPointTolerance || left <= kPointTolerance) continue;
        appendPointIfDistinct(outline, {right, height});
        appendPointIfDistinct(outline, {right, height - slotDepth});
        appendPointIfDistinct(outline, {left, height - slotDepth});
        appendPointIfDistinct(outline, {left, height});
        previousLeft = left;
    }
    appendPointIfDistinct(outline, {0, height});
    return outline;
}

}  // namespace

Outline dividerOutline(const DividerShape& divider, const Joinery& joinery) {
    const double t = joinery.thickness, height = divider.height;
    const double slotWidth = t + joinery.clearance;
    // Half the height so crossing dividers meet, but at least t and at most H - t while that exceeds t.
    const double limit = height - t > t ? height - t : t;
    const double half = std::max(height * 0.5, t);
    const double slotDepth = half > limit ? limit : half;
    switch (divider.side) {
    case SlotSide::Top:
        return topSlottedOutline(divider, slotWidth, slotDepth);
    case SlotSide::Bottom:
        return bottomSlottedOutline(divider, slotWidth, slotDepth);
    case SlotSide::None:
        break;
    }
    return rectangleOutline(divider.length, height);
}

std::optional<Outline> offsetOutline(const Outline& outline, double by) {
    return offsetOutline(outline, std::vector<double>(outline.size(), by));
}

std::optional<Outline> offsetOutline(const Outline& outline, std::span<const double> by) {
    const size_t n = outline.size();
    if (n < 3 || by.size() != n) return std::nullopt;
    double twiceArea = 0;
    for (size_t i = 0; i < n; ++i) {
        const Point2 p = outline[i];
        const Point2 next = outline[(i + 1) % n];
        twiceArea += p.x * next.y - p.y * next.x;
    }
    // The right-hand normal points out of a counter-clockwise outline.
    const double sigma = twiceArea >= 0 ? 1.0 : -1.0;
    // Edge i's unit direction; the outlines' edges mostly run along an axis, which needs no root.
    const auto direction = [&](size_t i) -> Point2 {
        const Point2 a = outline[i];
        const Point2 b = outline[(i + 1) % n];
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        if (dy == 0) return {dx > 0 ? 1.0 : dx < 0 ? -1.0 : 0.0, 0};
        if (dx == 0) return {0, dy > 0 ? 1.0 : -1.0};
        const double length = std::sqrt(dx * dx + dy * dy);
        return {dx / length, dy / length};
    };
    const auto normalOf = [&](Point2 d) { return Point2{sigma * d.y, -sigma * d.x}; };
    Outline moved(n);
    Point2 before = normalOf(direction(n - 1));
    for (size_t i = 0; i < n; ++i) {
        const Point2 after = normalOf(direction(i));
        if (after.x == 0 && after.y == 0) return std::nullopt;
        const double a = by[(i + n - 1) % n];
        const double b = by[i];
        // Where the two moved edges meet: (X - p) . before = a and (X - p) . after = b. Edges in line
        // meet only when moved alike; an edge folding back has no meeting point.
        const double det = before.x * after.y - before.y * after.x;
        Point2 shift;
        if (std::fabs(det) > kLengthTolerance) {
            shift = {(a * after.y - b * before.y) / det, (before.x * b - after.x * a) / det};
        } else if (before.x * after.x + before.y * after.y > 0 && a == b) {
            shift = {a * after.x, a * after.y};
        } else {
            return std::nullopt;
        }
        moved[i] = {outline[i].x + shift.x, outline[i].y + shift.y};
        before = after;
    }
    for (size_t i = 0; i < n; ++i) {
        const Point2 d = direction(i);
        const Point2 a = moved[i];
        const Point2 b = moved[(i + 1) % n];
        if ((b.x - a.x) * d.x + (b.y - a.y) * d.y <= kPointTolerance) return std::nullopt;
    }
    return moved;
}
