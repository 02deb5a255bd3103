// Renders the previews of two designs (the defaults, and a router design with a lid and
// dividers) side by side into plan.bmp, gdi3d.bmp and d3d9.bmp in the folder given, then reports
// how long GDI paints of a heavy design take into a full-HD bitmap.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dib_surface_win32.h"
#include "frame_capture_win32.h"
#include "preview/direct3d_renderer_win32.h"
#include "preview/gdi_3d_view.h"
#include "preview/gdi_canvas_win32.h"
#include "preview/plan_preview.h"
#include "test_window_win32.h"
#include "support/sample_designs.h"

namespace {

constexpr int kPaneWidth = 860;
constexpr int kPaneHeight = 640;

BoxParameters routerDesign() {
    BoxParameters parameters;
    parameters.cutMode = CutMode::CncRouter;
    parameters.toolDiameter = 3.0;
    parameters.includeLid = true;
    parameters.widthDividerCount = 2;
    parameters.depthDividerCount = 1;
    parameters.addDividerBaseSlots = true;
    return parameters;
}

// Copies one pane into its place in the picture.
void copyPane(const DibSurface& pane, DibSurface& picture, int index) {
    BitBlt(picture.dc(), index * kPaneWidth, 0, kPaneWidth, kPaneHeight, pane.dc(), 0, 0, SRCCOPY);
}

bool save(const DibSurface& picture, const std::wstring& folder, const wchar_t* name) {
    const bool ok = picture.saveBmp(folder + L"\\" + name);
    std::fwprintf(ok ? stdout : stderr, L"%ls %ls\n", ok ? L"wrote" : L"could not write", name);
    return ok;
}

// Mean milliseconds of a paint over a number of runs.
template <typename Paint>
double meanMilliseconds(int runs, Paint paint) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < runs; ++i) paint();
    GdiFlush();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / runs;
}

void reportPaintTimes() {
    DibSurface surface(1920, 1080);
    if (!surface.valid()) return;
    GdiCanvas canvas(surface.dc());
    const BoxParameters designs[] = {BoxParameters{}, heavyDesign()};
    for (const BoxParameters& design : designs) {
        const PieceSet pieces = generatePieces(design);
        const double plan = meanMilliseconds(20, [&] {
            paintCutPlan(canvas, surface.rect(), pieces, 0, 0, L"2D preview", L"", L"Zoom %d%%", 1.0);
        });
        const double view3d = meanMilliseconds(20, [&] {
            drawGdi3dView(canvas, surface.rect(), design, 0, 0, L"", 1.0, 35.0, -22.0);
        });
        std::printf("%s design, 1920x1080 DIB: cut plan %.2f ms, GDI 3D view %.2f ms\n",
                    &design == &designs[0] ? "default" : "heavy", plan, view3d);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: preview_screenshots <output folder>\n");
        return 2;
    }
    const std::wstring folder(argv[1], argv[1] + std::strlen(argv[1]));
    const BoxParameters designs[] = {BoxParameters{}, routerDesign()};

    DibSurface plan(2 * kPaneWidth, kPaneHeight);
    DibSurface gdi3d(2 * kPaneWidth, kPaneHeight);
    DibSurface d3d9(2 * kPaneWidth, kPaneHeight);
    DibSurface pane(kPaneWidth, kPaneHeight);
    if (!plan.valid() || !gdi3d.valid() || !d3d9.valid() || !pane.valid()) return 1;

    TestWindow window(kPaneWidth, kPaneHeight);
    Direct3DRenderer renderer;
    bool gpu = window.get() != nullptr && renderer.attachWindow(window.get()) && renderer.createDevice();
    for (int i = 0; i < 2; ++i) {
        GdiCanvas canvas(pane.dc());
        PieceSet pieces;
        try {
            pieces = generatePieces(designs[i]);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "design %d refused: %s\n", i, error.what());
        }
        paintCutPlan(canvas, pane.rect(), pieces, 0, 0, L"2D preview", L"No pieces generated.",
                     L"Zoom %d%%  |  Wheel: zoom in/out  |  Right or middle button: pan  |  Double click: fit", 1.0);
        copyPane(pane, plan, i);
        drawGdi3dView(canvas, pane.rect(), designs[i], 0, 0, L"3D preview: invalid parameters.", 1.0, 35.0, -22.0);
        copyPane(pane, gdi3d, i);
        gpu = gpu && renderer.renderFrame(designs[i], 0, 0, 1.0, 35.0, -22.0) && capturePresentedFrame(window.get(), pane);
        if (gpu) copyPane(pane, d3d9, i);
        TestWindow::pump();
    }
    if (!gpu) std::fwprintf(stderr, L"Direct3D 9 frame not captured: %ls\n", renderer.lastError().c_str());
    const bool ok = save(plan, folder, L"plan.bmp") && save(gdi3d, folder, L"gdi3d.bmp") &&
                    (!gpu || save(d3d9, folder, L"d3d9.bmp"));
    reportPaintTimes();
    return ok && gpu ? 0 : 1;
}
