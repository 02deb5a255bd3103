#pragma once
// The layers a cut file sorts its geometry into, and how each output shows them: one table.
#include <cstdint>
#include <span>

enum class Layer { CutOuter, CutInner, Dogbones, Dividers, Reference, Labels };

// A screen colour, 0..255 per channel.
struct LayerColour {
    uint8_t red, green, blue;
};

struct LayerStyle {
    Layer layer;
    const char* name;       // the DXF layer's name, also the server request's
    int dxfColour;          // AutoCAD colour index
    const char* svgStroke;  // stroke of a piece on this layer
    LayerColour previewPen;
};

// Every layer a file holds, in the order of the DXF layer table: the five of the cuts, and Labels
// after them in a file with engraved names.
std::span<const LayerStyle> layerStyles(bool withLabels = false);

const LayerStyle& styleOf(Layer layer);
