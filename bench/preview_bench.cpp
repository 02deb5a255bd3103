// Paint and scene-build times of the previews at full-HD, for the defaults and a heavy design.
#include <benchmark/benchmark.h>

#include "model/piece_set.h"
#include "preview/d3d_scene.h"
#include "preview/gdi_3d_view.h"
#include "preview/plan_preview.h"
#include "support/sample_designs.h"

namespace {

// Counts what the painters draw and draws nothing: the time measured is the painters' own.
class CountingCanvas final : public Canvas {
public:
    CanvasObject createPen(PenStyle, int32_t, Rgb) override { return ++objects; }
    CanvasObject createSolidBrush(Rgb) override { return ++objects; }
    CanvasObject stockObject(StockObject) override { return 1; }
    CanvasObject select(CanvasObject) override { return 1; }
    void deleteObject(CanvasObject) override {}
    void moveTo(PixelPoint) override {}
    void lineTo(PixelPoint) override { ++primitives; }
    void polyline(std::span<const PixelPoint> points) override { primitives += points.size(); }
    void polygon(std::span<const PixelPoint> points) override { primitives += points.size(); }
    void fillRect(const ClientRect&, CanvasObject) override { ++primitives; }
    int32_t textWidth(const std::wstring& text) override { return static_cast<int32_t>(text.size()) * 6; }
    void rectangle(int32_t, int32_t, int32_t, int32_t) override { ++primitives; }
    void setTextColor(Rgb) override {}
    void setTransparentBackground() override {}
    void textOut(PixelPoint, const std::wstring&) override { ++primitives; }

    CanvasObject objects = 1;
    size_t primitives = 0;
};

const ClientRect kFullHd{0, 0, 1920, 1080};

BoxParameters designFor(const benchmark::State& state) { return state.range(0) == 0 ? BoxParameters{} : heavyDesign(); }

void paintPlan(benchmark::State& state) {
    const PieceSet pieces = generatePieces(designFor(state));
    CountingCanvas canvas;
    for (auto _ : state) {
        paintCutPlan(canvas, kFullHd, pieces, PreviewViewState{}, {L"2D preview", L"No pieces generated.", L"Zoom %d%%", L"", L"", L"424 x 374 mm"});
        benchmark::DoNotOptimize(canvas.primitives);
    }
    state.counters["pieces"] = static_cast<double>(pieces.size());
}
BENCHMARK(paintPlan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void paintGdi3d(benchmark::State& state) {
    const BoxParameters parameters = designFor(state);
    CountingCanvas canvas;
    for (auto _ : state) {
        canvas.primitives = 0;
        drawGdi3dView(canvas, kFullHd, parameters, PreviewViewState{}, L"");
    }
    state.counters["primitives"] = static_cast<double>(canvas.primitives);
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
