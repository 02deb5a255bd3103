#include "preview/preview_paint_win32.h"

#include <algorithm>

#include "preview/gdi_3d_view.h"
#include "preview/gdi_canvas_win32.h"
#include "preview/gdi_objects_win32.h"
#include "preview/plan_preview.h"

namespace {

// Tries the GPU engine; true when it presented the frame.
bool tryDirect3D(HWND window, const PreviewViewState& view, Direct3DRenderer& renderer,
                 const BoxParameters& parameters) {
    if (window == nullptr) return false;
    if (!renderer.hasDeviceFor(window)) {
        if (!renderer.attachWindow(window) || !renderer.createDevice()) return false;
    }
    return renderer.renderFrame(parameters, view);
}

}  // namespace

ClientRect clientRectOf(HWND window) {
    RECT rect{};
    if (window == nullptr || !GetClientRect(window, &rect)) return ClientRect{};
    return ClientRect{rect.left, rect.top, rect.right, rect.bottom};
}

void paintGdiView(HDC dc, const ClientRect& client, const PreviewViewState& view, const BoxParameters& parameters,
                  const PieceSet& pieces, const PreviewTexts& texts, std::span<const SheetFrame> sheets) {
    GdiCanvas canvas(dc, view.dpi);
    if (view.show3D) {
        drawGdi3dView(canvas, client, parameters, view, texts.invalid3d);
    } else {
        paintCutPlan(canvas, client, pieces, view, texts, sheets);
    }
}

std::optional<std::wstring> paintPreview(HWND window, HDC paintDc, const ClientRect& client,
                                         const PreviewViewState& view, Direct3DRenderer& renderer,
                                         const BoxParameters& parameters, const PieceSet& pieces,
                                         const PreviewTexts& texts, std::span<const SheetFrame> sheets) {
    std::optional<std::wstring> status;
    if (view.show3D && (view.renderMode == RenderMode::Automatic || view.renderMode == RenderMode::Direct3D9)) {
        if (tryDirect3D(window, view, renderer, parameters)) return status;
        if (view.renderMode == RenderMode::Direct3D9) {
            status = texts.d3dNotAvailable;
            if (!renderer.lastError().empty()) *status += L" " + renderer.lastError();
        }
    }

    const int width = std::max(client.right - client.left, 1);
    const int height = std::max(client.bottom - client.top, 1);
    MemoryDc memory(paintDc);
    OwnedBitmap bitmap(CreateCompatibleBitmap(paintDc, width, height));
    if (memory.get() == nullptr || bitmap.get() == nullptr) return status;
    {
        ScopedSelection selection(memory.get(), bitmap.get());
        paintGdiView(memory.get(), client, view, parameters, pieces, texts, sheets);
        BitBlt(paintDc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
    return status;
}
