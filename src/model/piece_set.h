#pragma once
// The laid-out set of flat pieces of one design, and the views of a piece that consumers use.
#include "model/box_parameters.h"
#include "model/cut_path.h"
#include "model/layers.h"
#include "model/outline.h"

#include <string>
#include <vector>

// What a piece is in the box; its builder sets it.
enum class PieceKind { Wall, Base, Lid, Divider, BaseCutout };

// A name engraved on a piece: its text, where the text's origin (the first glyph's left side at the
// top of its capitals) lies in the piece's local coordinates, its capitals' height (mm), and the unit
// directions in which the text runs and its letters hang down (a turned piece turns them).
struct PieceLabel {
    std::wstring text;
    Point2 origin;
    double height = 0.0;
    Point2 along{1.0, 0.0};
    Point2 down{0.0, 1.0};
};

struct Piece {
    std::wstring name;      // fixed Spanish name
    PieceKind kind = PieceKind::Wall;
    double x = 0.0;         // place of the local origin on the plan (mm)
    double y = 0.0;
    double width = 0.0;     // bounding box size in local coordinates (mm)
    double height = 0.0;
    Outline outline;        // local coordinates
    CutPath path;           // local coordinates
    std::vector<PieceLabel> labels;  // engraved, when asked for
};

using PieceSet = std::vector<Piece>;

// How pieces are cut: a laser follows the outline, or runs half its kerf outside it when compensating;
// a router bit leaves a dogbone of at most its radius in every concave corner.
struct Cutter {
    CutMode mode = CutMode::Laser;
    double toolDiameter = 0.0;  // mm, router only
    double kerfOffset = 0.0;    // mm the laser's path lies outside a piece (inside a cut-out); laser only
};

Joinery joineryOf(const BoxParameters& parameters);
Cutter cutterOf(const BoxParameters& parameters);

// The panels of a validated design, as the cut plan and the 3D views build them.
struct BoxPanels {
    PanelShape base;       // W x D, notched all round, its width edges clear of the side walls; also the lid
    PanelShape frontWall;  // (W - 2t) x wall height, tabbed (a lid's tabs on top); also the back wall
    PanelShape sideWall;   // D x wall height, notched at the corners, tabbed below; left and right
};
BoxPanels boxPanels(const BoxParameters& validated);

// The panel placed at (0, 0), of the given kind, not normalised.
Piece buildFingerPanel(const std::wstring& name, PieceKind kind, const PanelShape& panel, const Joinery& joinery,
                       const Cutter& cutter);

// The divider placed at (0, 0).
Piece buildDivider(const std::wstring& name, const DividerShape& divider, const Joinery& joinery, const Cutter& cutter);

// A width x height rectangle cut out of another piece, placed at `at` on the plan.
Piece buildSlotCutout(const std::wstring& name, Point2 at, double width, double height, const Cutter& cutter);

// Turns the geometry by +1 ((x,y)->(y,-x)), -1 ((x,y)->(-y,x)) or 2 ((x,y)->(-x,-y)), then normalises.
void rotatePiece(Piece& piece, int turn);

// Moves the geometry so its bounding box (arcs by their whole circle) starts at the local origin.
void normalizePiece(Piece& piece);

// Validates its own copy and builds the laid-out set; throws std::runtime_error with a fixed Spanish
// message for a design the validation refuses or whose kerf compensation would close a notch or slot.
PieceSet generatePieces(BoxParameters parameters);

// The piece's path moved by (x, y): plan coordinates.
CutPath placedPath(const Piece& piece);

// The smallest rectangle holding every piece's box, in plan millimetres; all zero for no pieces.
struct PlanExtent {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

PlanExtent planExtent(const PieceSet& pieces);

// The 2D preview writes the piece's name (every piece but a cut-out).
bool isLabelled(const Piece& piece);

// A cut-out inside another piece (a base slot).
bool isInnerCut(const Piece& piece);

// The layer of the piece's lines: CutOuter, CutInner or Dividers.
Layer pieceLayer(const Piece& piece);

// The layer of one segment: Dogbones for an arc, else the piece's.
Layer layerForSegment(const Piece& piece, const PathSegment& segment);
