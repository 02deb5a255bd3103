// Cost of one regeneration, as the control panel triggers it after every edit, and of laying the
// pieces onto sheets, which follows it when a sheet is set.
#include "model/piece_set.h"
#include "model/sheet_layout.h"
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

// The heavy design's pieces, copies times over.
PieceSet heavyPieces(int copies) {
    const PieceSet one = generatePieces(heavyDesign());
    PieceSet pieces;
    for (int i = 0; i < copies; ++i) pieces.insert(pieces.end(), one.begin(), one.end());
    return pieces;
}

void layOut(benchmark::State& state, const PieceSet& pieces) {
    const SheetSpec sheet{600, 400};
    size_t sheets = 0;
    for (auto _ : state) sheets = layoutOnSheets(pieces, sheet).size();
    state.counters["pieces"] = static_cast<double>(pieces.size());
    state.counters["sheets"] = static_cast<double>(sheets);
}

BENCHMARK_CAPTURE(layOut, heavy_onto_600x400, heavyPieces(1))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(layOut, heavy_12_times_onto_600x400, heavyPieces(12))->Unit(benchmark::kMillisecond);

}  // namespace
