#pragma once
// Finger-jointed panel outlines and slotted divider outlines, in a panel's own frame (mm).
// Outlines are ordered, implicitly closed point lists: the first point is never repeated.
#include "model/tolerances.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct Point2 {
    double x = 0.0;
    double y = 0.0;
};

using Outline = std::vector<Point2>;

enum class EdgeStyle : int32_t { Plain = 0, Tabs = 1, Notches = 2 };
enum class SlotSide : int32_t { None = 0, Top = 1, Bottom = 2 };

// The sheet (t) and the play its joints get (c): tabs stand out by t, notches and slots are t + c.
struct Joinery {
    double thickness = 0.0;
    double clearance = 0.0;
};

// Straight stretch (mm) kept at the start and end of an edge before its fingers begin.
struct EdgeInsets {
    double start = 0.0;
    double end = 0.0;
};

// One edge's joint: how many fingers, standing out or cut in, over the edge less its insets.
struct EdgeJoint {
    int32_t count = 0;
    EdgeStyle style = EdgeStyle::Plain;
    EdgeInsets insets;
};

// A straight edge from start to end, with its outward unit normal.
struct EdgeLine {
    Point2 start;
    Point2 end;
    Point2 normal;
};

// A W x H panel and its four edges: top (y = 0), right, bottom (y = H), left, walked clockwise on screen.
struct PanelShape {
    double width = 0.0;
    double height = 0.0;
    std::array<EdgeJoint, 4> edges{};
};

// An L x H divider with slotCount slots cut into one long side.
struct DividerShape {
    double length = 0.0;
    double height = 0.0;
    int32_t slotCount = 0;
    SlotSide side = SlotSide::None;
};

// Appends p unless the outline is non-empty and its last point is within kPointTolerance.
void appendPointIfDistinct(Outline& outline, Point2 p);

// Appends the edge's points after its start: 2n + 1 equal stretches, every second one a finger.
void appendFingerEdge(Outline& outline, const EdgeLine& line, const EdgeJoint& joint, const Joinery& joinery);

// Cleaned closed outline of the panel.
Outline panelOutline(const PanelShape& panel, const Joinery& joinery);

// (0,0), (W,0), (W,H), (0,H).
Outline rectangleOutline(double width, double height);

// The closed outline with every edge moved outwards (by > 0, mm) or inwards (by < 0) along its
// normal, either winding, corners mitred; nullopt when an edge would vanish or turn around, as the
// bottom of a notch no wider than twice `by` does.
std::optional<Outline> offsetOutline(const Outline& outline, double by);

// The same with edge i (from point i to the next) moved by by[i].
std::optional<Outline> offsetOutline(const Outline& outline, std::span<const double> by);

// i * L / (n + 1) for i = 1..n, ascending: where n dividers stand along a length L.
std::vector<double> dividerSlotCenters(int32_t count, double length);

// Divider outline: slots t + c wide and about half the height deep, from y = 0 (Top) or y = H (Bottom);
// a slot touching its neighbour or an end is left out.
Outline dividerOutline(const DividerShape& divider, const Joinery& joinery);
