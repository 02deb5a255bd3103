// Cost of one regeneration, as the control panel triggers it after every edit.
#include "model/piece_set.h"

#include <benchmark/benchmark.h>

namespace {

BoxParameters heavyDesign(CutMode mode) {
    BoxParameters p;
    p.fingerCountWidth = 10;
    p.fingerCountDepth = 10;
    p.fingerCountHeight = 10;
    p.cutMode = mode;
    p.toolDiameter = 3;  // fits the 3.1 mm divider slots of the default clearance
    p.includeLid = true;
    p.widthDividerCount = 20;
    p.depthDividerCount = 20;
    p.addDividerBaseSlots = true;
    return p;
}

BoxParameters defaultDesign(CutMode mode) {
    BoxParameters p;
    p.cutMode = mode;
    return p;
}

void generate(benchmark::State& state, const BoxParameters& parameters) {
    size_t segments = 0;
    for (auto _ : state) {
        const PieceSet pieces = generatePieces(parameters);
        benchmark::DoNotOptimize(pieces.data());
        segments = 0;
        for (const Piece& piece : pieces) segments += piece.path.size();
    }
    state.counters["segments"] = static_cast<double>(segments);
}

BENCHMARK_CAPTURE(generate, default_laser, defaultDesign(CutMode::Laser));
BENCHMARK_CAPTURE(generate, default_cnc, defaultDesign(CutMode::CncRouter));
BENCHMARK_CAPTURE(generate, heavy_laser, heavyDesign(CutMode::Laser));
BENCHMARK_CAPTURE(generate, heavy_cnc, heavyDesign(CutMode::CncRouter));

}  // namespace
