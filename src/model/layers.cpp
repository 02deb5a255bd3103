#include "model/layers.h"

namespace {

constexpr LayerStyle kLayers[] = {
    {Layer::CutOuter, "CUT_OUTER", 3, "#000000", {0, 120, 0}},
    {Layer::CutInner, "CUT_INNER", 7, "#0000ff", {160, 0, 160}},
    {Layer::Dogbones, "DOGBONES", 4, "#000000", {20, 80, 200}},
    {Layer::Dividers, "DIVIDERS", 2, "#000000", {0, 120, 0}},
    {Layer::Reference, "REFERENCE", 8, "#000000", {190, 190, 190}},
};

}  // namespace

std::span<const LayerStyle> layerStyles() { return kLayers; }

const LayerStyle& styleOf(Layer layer) { return kLayers[static_cast<int>(layer)]; }
