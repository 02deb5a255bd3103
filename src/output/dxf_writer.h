#pragma once
// DXF R12 text of a piece set: header, line-type and layer tables, one LINE or ARC per path segment.
#include "model/outline.h"
#include "model/piece_set.h"
#include "model/stroke_font.h"

#include <string>
#include <string_view>

// Six decimals, trailing zeros and a trailing point cut, decimal point whatever the locale
// (100 -> "100", 194/7 -> "27.714286", -0.0000001 -> "-0").
std::string formatDxfNumber(double value);

// True for the five layers of the layer table ("CUT_OUTER", "CUT_INNER", "DOGBONES", "DIVIDERS",
// "REFERENCE"), case-sensitive.
bool isDxfLayer(std::string_view name);

// One group code line and one value line, each ended by a line feed.
void appendDxfPair(std::string& out, std::string_view code, std::string_view value);

// Everything before the first entity: header ($INSUNITS 1 for inches, 4 for mm), the tables with
// the five layers (and LABELS after them when asked), and the opened entities section with its unit
// comment.
std::string dxfPreamble(bool inches, bool labels = false);

// Each piece's engraved names as open chains of points in output units, read the right way up in the
// file's y-up frame.
std::vector<Stroke> dxfLabelStrokes(const PieceSet& pieces, bool inches);

// Closes the entities section and the file.
void appendDxfEnd(std::string& out);

// One LINE on layer; coordinates already in output units.
void appendDxfLine(std::string& out, const char* layer, Point2 start, Point2 end);

// One ARC on layer, counter-clockwise from startAngle to endAngle (degrees); centre and radius in
// output units.
void appendDxfArc(std::string& out, const char* layer, Point2 center, double radius, double startAngle,
                  double endAngle);

// The whole DXF text of the set's placed paths, scaled to inches when asked; line feeds only.
std::string buildDxf(const PieceSet& pieces, bool inches);
