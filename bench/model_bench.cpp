// Cost of one regeneration, as the control panel triggers it after every edit.
#include "model/piece_set.h"
#include "support/sample_designs.h"

#include <benchmark/benchmark.h>

namespace {

BoxParameters heavyDesignIn(CutMode mode) {
    BoxParameters p = heavyDesign();
    p.cutMode = mode;
    return p;
}

// Compensation only acts on a laser's cut.
BoxParameters heavyCompensatedAndNamed() {
    BoxParameters p = heavyDesignIn(CutMode::Laser);
    p.compensateKerf = true;
    p.engraveLabels = true;
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
BENCHMARK_CAPTURE(generate, heavy_laser, heavyDesignIn(CutMode::Laser));
BENCHMARK_CAPTURE(generate, heavy_cnc, heavyDesignIn(CutMode::CncRouter));
BENCHMARK_CAPTURE(generate, heavy_laser_compensated_named, heavyCompensatedAndNamed());

}  // namespace
