// Paint and scene-build times of the previews at full-HD, for the defaults and a heavy design.
#include <benchmark/benchmark.h>

#include "model/piece_set.h"
#include "preview/d3d_scene.h"
#include "preview/gdi_3d_view.h"
#include "preview/plan_preview.h"
#include "preview/recording_canvas.h"
#include "support/sample_designs.h"

namespace {

const ClientRect kFullHd{0, 0, 1920, 1080};

BoxParameters designFor(const benchmark::State& state) { return state.range(0) == 0 ? BoxParameters{} : heavyDesign(); }

void paintPlan(benchmark::State& state) {
    const PieceSet pieces = generatePieces(designFor(state));
    RecordingCanvas canvas;
    for (auto _ : state) {
        paintCutPlan(canvas, kFullHd, pieces, 0, 0, L"2D preview", L"No pieces generated.", L"Zoom %d%%", 1.0);
        benchmark::DoNotOptimize(canvas.primitives().data());
        canvas.clearRecording();
    }
    state.counters["pieces"] = static_cast<double>(pieces.size());
}
BENCHMARK(paintPlan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void paintGdi3d(benchmark::State& state) {
    const BoxParameters parameters = designFor(state);
    RecordingCanvas canvas;
    std::size_t primitives = 0;
    for (auto _ : state) {
        drawGdi3dView(canvas, kFullHd, parameters, 0, 0, L"", 1.0, 35.0, -22.0);
        primitives = canvas.primitives().size();
        canvas.clearRecording();
    }
    state.counters["primitives"] = static_cast<double>(primitives);
}
BENCHMARK(paintGdi3d)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void buildD3dScene(benchmark::State& state) {
    const BoxParameters parameters = designFor(state);
    SceneLists scene;
    for (auto _ : state) {
        // Each frame derives the model and rebuilds every panel, as the renderer does.
        const std::optional<BoxModel3d> model = buildBoxModel(parameters);
        buildScene(*model, scene);
        benchmark::DoNotOptimize(scene.triangles.data());
    }
    state.counters["triangles"] = static_cast<double>(scene.triangles.size() / 3);
    state.counters["lines"] = static_cast<double>(scene.lines.size() / 2);
}
BENCHMARK(buildD3dScene)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
