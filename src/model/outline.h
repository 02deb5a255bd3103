#pragma once
// Finger-jointed panel outlines and slotted divider outlines, in a panel's own frame (mm).
// Outlines are ordered, implicitly closed point lists: the first point is never repeated.
#include <array>
#include <cstdint>
#include <vector>

struct Point2 {
    double x = 0.0;
    double y = 0.0;
};

using Outline = std::vector<Point2>;

enum class EdgeStyle : int32_t { Plain = 0, Tabs = 1, Notches = 2 };
enum class SlotSide : int32_t { None = 0, Top = 1, Bottom = 2 };

// Two points this close or closer (mm) are the same point.
inline constexpr double kPointTolerance = 0.0001;

// Straight stretch (mm) kept at the start and end of an edge before its fingers begin.
struct EdgeInsets {
    double start = 0.0;
    double end = 0.0;
};

// Per-edge arguments of a panel, edges 0..3: top (y = 0), right, bottom (y = H), left.
using EdgeCounts = std::array<int32_t, 4>;
using EdgeStyles = std::array<EdgeStyle, 4>;
using EdgeInsetList = std::array<EdgeInsets, 4>;

// Appends p unless the outline is non-empty and its last point is within kPointTolerance.
void appendPointIfDistinct(Outline& outline, Point2 p);

// Appends the edge S->E; normal is the outward unit normal. Tabs stand out by t,
// notches cut in by t + c; fingers spread over the edge minus its insets.
void appendFingerEdge(Outline& outline, Point2 start, Point2 end, Point2 normal, double t, double c,
                      int32_t count, EdgeStyle style, double startInset, double endInset);

// Cleaned closed outline of a W x H panel; edge i gets counts[i], styles[i], insets[i].
Outline panelOutline(const EdgeCounts& counts, const EdgeStyles& styles, double width, double height,
                     double t, double c, const EdgeInsetList& insets);

// (0,0), (W,0), (W,H), (0,H).
Outline rectangleOutline(double width, double height);

// i * L / (n + 1) for i = 1..n, ascending.
std::vector<double> dividerSlotCenters(int32_t count, double length);

// L x H divider with slots of width w and depth d cut down from y = 0.
Outline topSlottedOutline(int32_t count, double slotWidth, double slotDepth, double length, double height);
// L x H divider with slots of width w and depth d cut up from y = H.
Outline bottomSlottedOutline(int32_t count, double slotWidth, double slotDepth, double length, double height);
// Divider outline: slot width t + c, slot depth about half the height.
Outline dividerOutline(int32_t count, SlotSide side, double length, double height, double t, double c);
