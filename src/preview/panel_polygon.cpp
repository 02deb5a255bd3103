#include "preview/panel_polygon.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/tolerances.h"
#include "preview/arc_sweep.h"

namespace {

double distance(Point2 a, Point2 b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y)); }

// Cross product of (q - p) and (r - p): positive when p, q, r turn left.
double turn(Point2 p, Point2 q, Point2 r) { return (r.y - p.y) * (q.x - p.x) - (r.x - p.x) * (q.y - p.y); }

// A vertex with a vanishing edge or lying straight between its neighbours.
bool isDegenerate(Point2 p, Point2 q, Point2 r) {
    const double in = distance(p, q);
    const double out = distance(q, r);
    if (in <= kPolygonShortEdge || out <= kPolygonShortEdge) return true;
    return std::abs(turn(p, q, r)) <= kPolygonStraightness * std::max(in * out, 1.0);
}

bool isConvex(Point2 p, Point2 q, Point2 r) {
    return turn(p, q, r) > kPolygonStraightness * std::max(distance(p, q) * distance(q, r), 1.0);
}

// Inside or on the border of the triangle, other than at its corners. A vertex touching the cut
// line of an ear blocks it too: clipping there would lay a triangle over the outside.
bool blocksEar(Point2 x, Point2 p, Point2 q, Point2 r) {
    if (turn(p, q, x) < -kPolygonInside || turn(q, r, x) < -kPolygonInside || turn(r, p, x) < -kPolygonInside)
        return false;
    return distance(x, p) > kPolygonShortEdge && distance(x, q) > kPolygonShortEdge && distance(x, r) > kPolygonShortEdge;
}

// The reflex vertices bucketed on a uniform grid over the polygon's box, so that the vertices
// near an ear can be found without visiting all of them.
class VertexGrid {
public:
    explicit VertexGrid(const Polygon2& points) : points_(points) {
        if (points.empty()) return;
        minX_ = maxX_ = points[0].x;
        minY_ = maxY_ = points[0].y;
        for (Point2 p : points) {
            minX_ = std::min(minX_, p.x);
            maxX_ = std::max(maxX_, p.x);
            minY_ = std::min(minY_, p.y);
            maxY_ = std::max(maxY_, p.y);
        }
        side_ = std::max<std::size_t>(1, static_cast<std::size_t>(std::sqrt(static_cast<double>(points.size()))));
        cellWidth_ = std::max((maxX_ - minX_) / static_cast<double>(side_), kGridCellMinimum);
        cellHeight_ = std::max((maxY_ - minY_) / static_cast<double>(side_), kGridCellMinimum);
        cells_.resize(side_ * side_);
    }

    void add(uint32_t v) { cells_[cellOf(v)].push_back(v); }

    void remove(uint32_t v) {
        std::vector<uint32_t>& cell = cells_[cellOf(v)];
        cell.erase(std::remove(cell.begin(), cell.end(), v), cell.end());
    }

    // Calls visit(v) for the vertices in every cell the triangle touches, row by row over the
    // triangle's own width in that row; stops and returns true when visit does.
    template <typename Visit>
    bool anyNear(Point2 a, Point2 b, Point2 c, Visit visit) const {
        if (cells_.empty()) return false;
        const double low = std::min({a.y, b.y, c.y}) - kGridReach;
        const double high = std::max({a.y, b.y, c.y}) + kGridReach;
        const std::array<Point2, 3> corners{a, b, c};
        for (std::size_t r = row(low), last = row(high); r <= last; ++r) {
            const double stripLow = std::max(low, minY_ + static_cast<double>(r) * cellHeight_);
            const double stripHigh = std::min(high, minY_ + static_cast<double>(r + 1) * cellHeight_);
            double left = std::numeric_limits<double>::infinity();
            double right = -left;
            auto include = [&](double x) {
                left = std::min(left, x);
                right = std::max(right, x);
            };
            for (std::size_t i = 0; i < 3; ++i) {
                const Point2 p = corners[i];
                const Point2 q = corners[(i + 1) % 3];
                if (p.y >= stripLow && p.y <= stripHigh) include(p.x);
                if (p.y == q.y) continue;
                for (double y : {stripLow, stripHigh}) {
                    if ((y - p.y) * (y - q.y) <= 0.0) include(p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y));
                }
            }
            if (left > right) continue;
            for (std::size_t col = column(left - kGridReach), end = column(right + kGridReach); col <= end; ++col) {
                for (uint32_t v : cells_[r * side_ + col]) {
                    if (visit(v)) return true;
                }
            }
        }
        return false;
    }

private:
    std::size_t cellOf(uint32_t v) const { return row(points_[v].y) * side_ + column(points_[v].x); }
    std::size_t column(double x) const { return cell(x, minX_, cellWidth_); }
    std::size_t row(double y) const { return cell(y, minY_, cellHeight_); }
    std::size_t cell(double value, double origin, double size) const {
        const double index = std::floor((value - origin) / size);
        if (!(index > 0.0)) return 0;
        return std::min(static_cast<std::size_t>(std::min(index, 1e9)), side_ - 1);
    }

    const Polygon2& points_;
    double minX_ = 0.0, maxX_ = 0.0, minY_ = 0.0, maxY_ = 0.0;
    double cellWidth_ = 1.0, cellHeight_ = 1.0;
    std::size_t side_ = 1;
    std::vector<std::vector<uint32_t>> cells_;
};

// Ear clipping state: the remaining vertices as a ring, which of them are not convex (only those
// can lie inside an ear of a simple polygon), and what is known of each vertex's ear. A vertex that
// is no ear remembers the vertex blocking it, so only the statuses a change can affect are
// recomputed, and the search for the next ear resumes where the last one was cut: outlines with
// thousands of points stay fast.
class EarClipper {
public:
    explicit EarClipper(const Polygon2& polygon) : points_(polygon), nearby_(polygon) {
        const auto n = static_cast<uint32_t>(points_.size());
        next_.resize(n);
        previous_.resize(n);
        for (uint32_t i = 0; i < n; ++i) {
            next_[i] = i + 1 == n ? 0 : i + 1;
            previous_[i] = i == 0 ? n - 1 : i - 1;
        }
        remaining_ = n;
        reflex_.assign(n, false);
        status_.assign(n, Status::Unknown);
        blocker_.assign(n, kNone);
        blockedBy_.resize(n);
        if (n >= 3) {
            for (uint32_t v = 0; v < n; ++v) {
                reflex_[v] = !convexAt(v);
                if (reflex_[v]) nearby_.add(v);
            }
        }
    }

    bool run(std::vector<Triangle>& triangles) {
        const std::size_t n = points_.size();
        if (n < 3) return false;
        int64_t removals = 0;
        uint32_t cursor = 0;
        while (remaining_ > 3) {
            const uint32_t ear = findEar(cursor);
            if (ear != kNone) {
                triangles.push_back(Triangle{previous_[ear], ear, next_[ear]});
                cursor = previous_[ear];
                remove(ear);
                continue;
            }
            const uint32_t degenerate = findDegenerate();
            if (degenerate == kNone) break;
            cursor = previous_[degenerate];
            remove(degenerate);
            forgetAllStatuses();
            ++removals;
        }
        if (remaining_ == 3) {
            const uint32_t a = head_;
            const uint32_t b = next_[a];
            const uint32_t c = next_[b];
            if (turn(points_[a], points_[b], points_[c]) > kPolygonStraightness) {
                triangles.push_back(Triangle{a, b, c});
            } else {
                ++removals;
            }
        }
        const int64_t expected = static_cast<int64_t>(n) - removals - 2;
        return remaining_ == 3 && expected > 0 && static_cast<int64_t>(triangles.size()) == expected;
    }

private:
    enum class Status : int8_t { Unknown, Ear, NotEar };
    static constexpr uint32_t kNone = static_cast<uint32_t>(-1);

    bool convexAt(uint32_t v) const { return isConvex(points_[previous_[v]], points_[v], points_[next_[v]]); }

    // Works out whether v is an ear; a blocked one remembers its blocker.
    Status evaluate(uint32_t q) {
        const uint32_t p = previous_[q];
        const uint32_t r = next_[q];
        blocker_[q] = kNone;
        if (reflex_[q]) return Status::NotEar;
        const Point2 a = points_[p];
        const Point2 b = points_[q];
        const Point2 c = points_[r];
        const bool blocked = nearby_.anyNear(a, b, c, [&](uint32_t v) {
            if (v == p || v == q || v == r || !blocksEar(points_[v], a, b, c)) return false;
            blocker_[q] = v;
            blockedBy_[v].push_back(q);
            return true;
        });
        return blocked ? Status::NotEar : Status::Ear;
    }

    // One round of the ring from start; the first ear met, or kNone.
    uint32_t findEar(uint32_t start) {
        uint32_t v = start;
        for (uint32_t step = 0; step < remaining_; ++step, v = next_[v]) {
            if (status_[v] == Status::Unknown) status_[v] = evaluate(v);
            if (status_[v] == Status::Ear) return v;
        }
        return kNone;
    }

    uint32_t findDegenerate() const {
        uint32_t v = head_;
        for (uint32_t step = 0; step < remaining_; ++step, v = next_[v]) {
            if (isDegenerate(points_[previous_[v]], points_[v], points_[next_[v]])) return v;
        }
        return kNone;
    }

    // Takes a vertex out of the ring. Its neighbours get new triangles; a neighbour that stops
    // being reflex may unblock the ears it blocked, and one that becomes reflex may block any ear.
    void remove(uint32_t v) {
        const uint32_t before = previous_[v];
        const uint32_t after = next_[v];
        next_[before] = after;
        previous_[after] = before;
        if (head_ == v) head_ = after;
        --remaining_;
        if (reflex_[v]) {
            reflex_[v] = false;
            nearby_.remove(v);
            unblock(v);
        }
        for (uint32_t neighbour : {before, after}) {
            status_[neighbour] = Status::Unknown;
            const bool reflex = !convexAt(neighbour);
            if (reflex_[neighbour] == reflex) continue;
            reflex_[neighbour] = reflex;
            if (reflex) {
                nearby_.add(neighbour);
                forgetAllStatuses();
            } else {
                nearby_.remove(neighbour);
                unblock(neighbour);
            }
        }
    }

    void unblock(uint32_t blocker) {
        for (uint32_t v : blockedBy_[blocker]) {
            if (status_[v] == Status::NotEar && blocker_[v] == blocker) status_[v] = Status::Unknown;
        }
        blockedBy_[blocker].clear();
    }

    void forgetAllStatuses() { std::fill(status_.begin(), status_.end(), Status::Unknown); }

    const Polygon2& points_;
    VertexGrid nearby_;  // the remaining reflex vertices
    std::vector<uint32_t> next_;
    std::vector<uint32_t> previous_;
    uint32_t head_ = 0;
    uint32_t remaining_ = 0;
    std::vector<bool> reflex_;
    std::vector<Status> status_;
    std::vector<uint32_t> blocker_;
    std::vector<std::vector<uint32_t>> blockedBy_;  // vertices whose ear a vertex blocks
};

}  // namespace

Polygon2 polygonFromPath(const CutPath& path) {
    Polygon2 polygon;
    if (path.empty()) return polygon;
    auto add = [&polygon](Point2 p) {
        if (polygon.empty() || distance(polygon.back(), p) >= kPolygonDuplicate) polygon.push_back(p);
    };
    add(path.front().start);
    for (const PathSegment& segment : path) {
        if (segment.kind == SegmentKind::Line) {
            add(segment.end);
            continue;
        }
        const ArcSweep sweep = arcSweep(segment);
        const int32_t steps = arcStepCount(sweep.sweep, segment.radius, 1.5, 8, 8, 72);
        for (int32_t i = 1; i <= steps; ++i) add(arcPoint(segment, sweep.startAngle + sweep.sweep * i / steps));
    }
    if (polygon.size() > 1 && distance(polygon.back(), polygon.front()) < kPolygonDuplicate) polygon.pop_back();
    if (polygon.size() < 3) polygon.clear();
    return polygon;
}

void cleanPolygon(Polygon2& polygon) {
    Polygon2 kept;
    kept.reserve(polygon.size());
    for (Point2 p : polygon) {
        if (kept.empty() || distance(kept.back(), p) > kPolygonShortEdge) kept.push_back(p);
    }
    if (kept.size() > 1 && distance(kept.back(), kept.front()) <= kPolygonShortEdge) kept.pop_back();

    for (int pass = 0; pass < 12 && kept.size() >= 3; ++pass) {
        const std::size_t n = kept.size();
        Polygon2 survivors;
        survivors.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            const Point2 p = kept[(i + n - 1) % n];
            const Point2 q = kept[i];
            const Point2 r = kept[(i + 1) % n];
            const double in = distance(p, q);
            const double out = distance(q, r);
            const bool shortEdge = in <= kPolygonShortEdge || out <= kPolygonShortEdge;
            const double dot = (q.x - p.x) * (r.x - q.x) + (q.y - p.y) * (r.y - q.y);
            const bool straight =
                std::abs(turn(p, q, r)) <= kPolygonStraightness * std::max(in * out, 1.0) && dot >= -kPolygonStraightness;
            if (!shortEdge && !straight) survivors.push_back(q);
        }
        const bool dropped = survivors.size() != n;
        kept = std::move(survivors);
        if (!dropped) break;
    }
    polygon = std::move(kept);
}

double signedArea(const Polygon2& polygon) {
    double sum = 0.0;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2 a = polygon[i];
        const Point2 b = polygon[(i + 1) % n];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2.0;
}

bool triangulatePolygon(const Polygon2& polygon, std::vector<Triangle>& triangles) {
    return EarClipper(polygon).run(triangles);
}
