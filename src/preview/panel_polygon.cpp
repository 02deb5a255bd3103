#include "preview/panel_polygon.h"

#include <algorithm>
#include <cmath>

#include "preview/arc_sweep.h"

namespace {

constexpr double kDuplicate = 0.001;
constexpr double kShortEdge = 0.0005;

double distance(Point2 a, Point2 b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y)); }

// Cross product of (q - p) and (r - p): positive when p, q, r turn left.
double turn(Point2 p, Point2 q, Point2 r) { return (r.y - p.y) * (q.x - p.x) - (r.x - p.x) * (q.y - p.y); }

// A vertex with a vanishing edge or lying straight between its neighbours.
bool isDegenerate(Point2 p, Point2 q, Point2 r) {
    const double in = distance(p, q);
    const double out = distance(q, r);
    if (in <= kShortEdge || out <= kShortEdge) return true;
    return std::abs(turn(p, q, r)) <= 1e-8 * std::max(in * out, 1.0);
}

bool isConvex(Point2 p, Point2 q, Point2 r) {
    return turn(p, q, r) > 1e-8 * std::max(distance(p, q) * distance(q, r), 1.0);
}

// Inside or on the border of the triangle, other than at its corners. A vertex touching the cut
// line of an ear blocks it too: clipping there would lay a triangle over the outside.
bool blocksEar(Point2 x, Point2 p, Point2 q, Point2 r) {
    if (turn(p, q, x) < -1e-7 || turn(q, r, x) < -1e-7 || turn(r, p, x) < -1e-7) return false;
    return distance(x, p) > kShortEdge && distance(x, q) > kShortEdge && distance(x, r) > kShortEdge;
}

// Buckets of vertex indices on a uniform grid over the polygon's box, so that the vertices near
// an ear can be visited without visiting all of them.
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
        cellWidth_ = std::max((maxX_ - minX_) / static_cast<double>(side_), 1e-9);
        cellHeight_ = std::max((maxY_ - minY_) / static_cast<double>(side_), 1e-9);
        cells_.resize(side_ * side_);
    }

    void add(uint32_t v) { cells_[row(points_[v].y) * side_ + column(points_[v].x)].push_back(v); }

    // Calls visit(v) for every vertex added in cells touching the box; stops when it returns true.
    template <typename Visit>
    bool anyIn(double minX, double minY, double maxX, double maxY, Visit visit) const {
        if (cells_.empty()) return false;
        const std::size_t c0 = column(minX), c1 = column(maxX), r0 = row(minY), r1 = row(maxY);
        for (std::size_t r = r0; r <= r1; ++r) {
            for (std::size_t c = c0; c <= c1; ++c) {
                for (uint32_t v : cells_[r * side_ + c]) {
                    if (visit(v)) return true;
                }
            }
        }
        return false;
    }

private:
    std::size_t column(double x) const { return cell(x, minX_, cellWidth_); }
    std::size_t row(double y) const { return cell(y, minY_, cellHeight_); }
    std::size_t cell(double value, double origin, double size) const {
        const double index = std::floor((value - origin) / size);
        if (!(index > 0.0)) return 0;
        return std::min(static_cast<std::size_t>(index), side_ - 1);
    }

    const Polygon2& points_;
    double minX_ = 0.0, maxX_ = 0.0, minY_ = 0.0, maxY_ = 0.0;
    double cellWidth_ = 1.0, cellHeight_ = 1.0;
    std::size_t side_ = 1;
    std::vector<std::vector<uint32_t>> cells_;
};

// Ear clipping state: the remaining vertices in order, which are not convex (only those can lie
// inside an ear of a simple polygon), and what is known of each vertex's ear: a vertex that is no
// ear remembers the vertex blocking it, so only the statuses a change can affect are recomputed.
class EarClipper {
public:
    explicit EarClipper(const Polygon2& polygon) : points_(polygon), nearby_(polygon) {
        const std::size_t n = points_.size();
        order_.resize(n);
        for (uint32_t i = 0; i < n; ++i) order_[i] = i;
        reflex_.assign(n, false);
        status_.assign(n, Status::Unknown);
        blocker_.assign(n, kNoBlocker);
        if (n >= 3) {
            for (std::size_t k = 0; k < n; ++k) {
                reflex_[order_[k]] = !convexAt(k);
                if (reflex_[order_[k]]) nearby_.add(order_[k]);
            }
        }
    }

    bool run(std::vector<Triangle>& triangles) {
        const std::size_t n = points_.size();
        if (n < 3) return false;
        int64_t removals = 0;
        const std::size_t limit = 8 * n * n + 64;
        for (std::size_t iteration = 0; order_.size() > 3 && iteration < limit; ++iteration) {
            const std::size_t ear = findEar();
            if (ear != kNone) {
                triangles.push_back(Triangle{previous(ear), order_[ear], next(ear)});
                removeAt(ear);
                continue;
            }
            const std::size_t degenerate = findDegenerate();
            if (degenerate == kNone) break;
            removeAt(degenerate);
            std::fill(status_.begin(), status_.end(), Status::Unknown);
            ++removals;
        }
        if (order_.size() == 3) {
            if (turn(points_[order_[0]], points_[order_[1]], points_[order_[2]]) > 1e-8) {
                triangles.push_back(Triangle{order_[0], order_[1], order_[2]});
            } else {
                ++removals;
            }
        }
        const int64_t expected = static_cast<int64_t>(n) - removals - 2;
        return order_.size() == 3 && expected > 0 && static_cast<int64_t>(triangles.size()) == expected;
    }

private:
    enum class Status : int8_t { Unknown, Ear, NotEar };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    static constexpr uint32_t kNoBlocker = static_cast<uint32_t>(-1);

    uint32_t previous(std::size_t k) const { return order_[k == 0 ? order_.size() - 1 : k - 1]; }
    uint32_t next(std::size_t k) const { return order_[k + 1 == order_.size() ? 0 : k + 1]; }
    bool convexAt(std::size_t k) const {
        return isConvex(points_[previous(k)], points_[order_[k]], points_[next(k)]);
    }

    // Works out whether the vertex at position k is an ear; a blocked one remembers its blocker.
    Status evaluate(std::size_t k) {
        const uint32_t p = previous(k);
        const uint32_t q = order_[k];
        const uint32_t r = next(k);
        blocker_[q] = kNoBlocker;
        if (reflex_[q]) return Status::NotEar;
        const Point2 a = points_[p];
        const Point2 b = points_[q];
        const Point2 c = points_[r];
        const double minX = std::min({a.x, b.x, c.x});
        const double maxX = std::max({a.x, b.x, c.x});
        const double minY = std::min({a.y, b.y, c.y});
        const double maxY = std::max({a.y, b.y, c.y});
        const bool blocked = nearby_.anyIn(minX, minY, maxX, maxY, [&](uint32_t v) {
            if (!reflex_[v] || v == p || v == q || v == r) return false;
            const Point2 x = points_[v];
            if (x.x < minX || x.x > maxX || x.y < minY || x.y > maxY || !blocksEar(x, a, b, c)) return false;
            blocker_[q] = v;
            return true;
        });
        if (blocked) return Status::NotEar;
        return Status::Ear;
    }

    std::size_t findEar() {
        for (std::size_t k = 0; k < order_.size(); ++k) {
            Status& known = status_[order_[k]];
            if (known == Status::Unknown) known = evaluate(k);
            if (known == Status::Ear) return k;
        }
        return kNone;
    }

    std::size_t findDegenerate() const {
        for (std::size_t k = 0; k < order_.size(); ++k) {
            if (isDegenerate(points_[previous(k)], points_[order_[k]], points_[next(k)])) return k;
        }
        return kNone;
    }

    // Removes a vertex. Its neighbours get new triangles; a neighbour that stops being reflex may
    // unblock the ears it blocked, and one that becomes reflex may block any known ear.
    void removeAt(std::size_t k) {
        const uint32_t removed = order_[k];
        order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(k));
        if (reflex_[removed]) {
            reflex_[removed] = false;  // gone from the grid's point of view too
            unblock(removed);
        }
        const std::size_t before = k == 0 ? order_.size() - 1 : k - 1;
        const std::size_t after = k == order_.size() ? 0 : k;
        for (std::size_t neighbour : {before, after}) {
            const uint32_t v = order_[neighbour];
            const bool reflex = !convexAt(neighbour);
            status_[v] = Status::Unknown;
            if (reflex_[v] == reflex) continue;
            reflex_[v] = reflex;
            if (reflex) {
                nearby_.add(v);
                for (Status& status : status_) {
                    if (status == Status::Ear) status = Status::Unknown;
                }
            } else {
                unblock(v);
            }
        }
    }

    void unblock(uint32_t blocker) {
        for (uint32_t v : order_) {
            if (status_[v] == Status::NotEar && blocker_[v] == blocker) status_[v] = Status::Unknown;
        }
    }

    const Polygon2& points_;
    VertexGrid nearby_;  // reflex vertices, also those no longer reflex (skipped when visited)
    std::vector<uint32_t> order_;
    std::vector<bool> reflex_;
    std::vector<Status> status_;
    std::vector<uint32_t> blocker_;
};

}  // namespace

Polygon2 polygonFromPath(const CutPath& path) {
    Polygon2 polygon;
    if (path.empty()) return polygon;
    auto add = [&polygon](Point2 p) {
        if (polygon.empty() || distance(polygon.back(), p) >= kDuplicate) polygon.push_back(p);
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
    if (polygon.size() > 1 && distance(polygon.back(), polygon.front()) < kDuplicate) polygon.pop_back();
    if (polygon.size() < 3) polygon.clear();
    return polygon;
}

void cleanPolygon(Polygon2& polygon) {
    Polygon2 kept;
    kept.reserve(polygon.size());
    for (Point2 p : polygon) {
        if (kept.empty() || distance(kept.back(), p) > kShortEdge) kept.push_back(p);
    }
    if (kept.size() > 1 && distance(kept.back(), kept.front()) <= kShortEdge) kept.pop_back();

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
            const bool shortEdge = in <= kShortEdge || out <= kShortEdge;
            const double dot = (q.x - p.x) * (r.x - q.x) + (q.y - p.y) * (r.y - q.y);
            const bool straight =
                std::abs(turn(p, q, r)) <= 1e-8 * std::max(in * out, 1.0) && dot >= -1e-8;
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
