#pragma once
// The laid-out set of flat pieces of one design, and the views of a piece that consumers use.
#include "model/box_parameters.h"
#include "model/cut_path.h"
#include "model/outline.h"

#include <string>
#include <vector>

struct Piece {
    std::wstring name;      // fixed Spanish name
    double x = 0.0;         // place of the local origin on the plan (mm)
    double y = 0.0;
    double width = 0.0;     // bounding box size in local coordinates (mm)
    double height = 0.0;
    bool labelled = false;  // the 2D preview writes the name
    bool innerCut = false;  // a cut-out inside another piece (base slot)
    Outline outline;        // local coordinates
    CutPath path;           // local coordinates
};

using PieceSet = std::vector<Piece>;

// Panel of W x H with per-edge counts, styles and insets (edges 0..3 as panelOutline);
// dogbones when cnc is set. Placed at (0, 0), labelled, not normalised.
Piece buildFingerPanel(const std::wstring& name, const EdgeCounts& counts, const EdgeStyles& styles, bool cnc,
                       double width, double height, double t, double clearance, double toolDiameter,
                       const EdgeInsetList& insets);

// L x H divider with its slots on one long edge. Placed at (0, 0), labelled.
Piece buildDivider(const std::wstring& name, int32_t slotCount, SlotSide side, bool cnc, double length,
                   double height, double t, double clearance, double toolDiameter);

// Rectangular inner cut-out of w x h at (x, y); unlabelled.
Piece buildSlotCutout(const std::wstring& name, bool cnc, double x, double y, double width, double height,
                      double toolDiameter);

// Turns the geometry by +1 ((x,y)->(y,-x)), -1 ((x,y)->(-y,x)) or 2 ((x,y)->(-x,-y)), then normalises.
void rotatePiece(Piece& piece, int turn);

// Moves the geometry so its bounding box (arcs by their whole circle) starts at the local origin.
void normalizePiece(Piece& piece);

// Validates its own copy (lets the exception through) and builds the laid-out set.
PieceSet generatePieces(BoxParameters parameters);

// The piece's path moved by (x, y): plan coordinates.
CutPath placedPath(const Piece& piece);

// Output layer of one segment: "DOGBONES", "CUT_INNER", "DIVIDERS" or "CUT_OUTER".
const char* layerForSegment(const Piece& piece, const PathSegment& segment);
