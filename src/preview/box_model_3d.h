#pragma once
// The assembled box both 3D views show: the three distinct panels, built as the cut plan builds
// them, and where a panel point lands. Model frame (mm): x along the width, y along the depth
// (front wall at -D/2), z up from the underside of the base at 0.
#include <optional>
#include <vector>

#include "model/box_parameters.h"
#include "model/piece_set.h"

struct Point3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

struct BoxModel3d {
    BoxParameters parameters;  // the validated copy, outer dimensions derived
    double width = 0.0;        // outer W
    double depth = 0.0;        // outer D
    double height = 0.0;       // outer H
    double thickness = 0.0;    // t
    double lidInset = 0.0;     // t when External with a lid, else 0
    double wallTop = 0.0;      // H - lid inset
    double wallHeight = 0.0;   // max(H - t - lid inset, 0)
    Piece base;                // W x D, also the lid
    Piece frontWall;           // max(W - 2t, 0) x Hw, also the back wall
    Piece sideWall;            // max(D, 0) x Hw, left and right
    // Where the dividers stand, as the cut places their slots: x of each width divider, y of each
    // depth divider, in the model frame.
    std::vector<double> widthDividerX;
    std::vector<double> depthDividerY;
};

enum class PanelKind : int32_t { Base = 0, FrontWall = 1, BackWall = 2, LeftWall = 3, RightWall = 4, Lid = 5 };

// Validates a copy and builds its panels; empty when the design is refused.
std::optional<BoxModel3d> buildBoxModel(const BoxParameters& parameters);

// Panel point (u, v) at thickness d (0 = outer face, underside of base and lid) in the model frame.
// The lid rests on the walls, from max(wall top, 0) upwards.
Point3 placePanelPoint(const BoxModel3d& model, PanelKind kind, double u, double v, double d);

// The panel a kind is built from (walls and lid share).
const Piece& panelFor(const BoxModel3d& model, PanelKind kind);
