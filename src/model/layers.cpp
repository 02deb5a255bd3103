#include "model/layers.h"

#include <iterator>

namespace {

constexpr LayerStyle kLayers[] = {
    {Layer::CutOuter, "CUT_OUTER", 3, "#000000", {0, 120, 0}},
    {Layer::CutInner, "CUT_INNER", 7, "#0000ff", {160, 0, 160}},
    {Layer::Dogbones, "DOGBONES", 4, "#000000", {20, 80, 200}},
    {Layer::Dividers, "DIVIDERS", 2, "#000000", {0, 120, 0}},
    {Layer::Reference, "REFERENCE", 8, "#000000", {190, 190, 190}},
    // A colour no cut uses, so a laser program can map it to scoring.
    {Layer::Labels, "LABELS", 1, "#ff0000", {235, 150, 150}},
};

}  // namespace

std::span<const LayerStyle> layerStyles(bool withLabels) {
    return std::span(kLayers).first(withLabels ? std::size(kLayers) : std::size(kLayers) - 1);
}

const LayerStyle& styleOf(Layer layer) { return kLayers[static_cast<int>(layer)]; }
