#include "app/preview_window_win32.h"

#include "app/application_win32.h"
#include "app/length_text.h"
#include "preview/preview_paint_win32.h"

#include <windowsx.h>

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Application* app = applicationOf(window, message, lParam);
    return app ? app->handlePreviewMessage(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Application::handlePreviewMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int32_t x = GET_X_LPARAM(lParam);
    const int32_t y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_NCCREATE:
        previewWindow_ = window;
        break;
    case WM_ERASEBKGND:
        return 1;  // the paint covers everything from an off-screen bitmap
    case WM_PAINT:
        onPreviewPaint();
        return 0;
    case WM_LBUTTONDOWN:
        if (!beginRotate(view_, x, y)) break;
        startPreviewDrag();
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        beginPan(view_, x, y);
        startPreviewDrag();
        return 0;
    case WM_LBUTTONUP:
        if (!endRotate(view_)) break;
        endPreviewDrags();
        return 0;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (!endPan(view_)) break;
        endPreviewDrags();
        return 0;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        // Alt+Tab, a message box or another window took the mouse: no drag may follow it unheld.
        endPreviewDrags();
        break;
    case WM_MOUSEMOVE:
        if (!dragTo(view_, x, y)) break;
        invalidatePreview();
        return 0;
    case WM_LBUTTONDBLCLK:
        endPreviewDrags();
        fitPreview();
        return 0;
    case WM_MOUSEWHEEL:
        onPreviewWheel(wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Application::startPreviewDrag() {
    SetCapture(previewWindow_);
    SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
}

void Application::endPreviewDrags() {
    endRotate(view_);
    endPan(view_);
    if (previewWindow_ && GetCapture() == previewWindow_) ReleaseCapture();
}

void Application::onPreviewWheel(WPARAM wParam, LPARAM lParam) {
    // The wheel message carries screen coordinates.
    POINT cursor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(previewWindow_, &cursor);
    const PieceSet& shown = sheets_.empty() ? pieces_ : sheetView_.pieces;
    if (zoomAt(view_, GET_WHEEL_DELTA_WPARAM(wParam), cursor.x, cursor.y, clientRectOf(previewWindow_), shown,
               sheetView_.frames)) {
        invalidatePreview();
    }
}

void Application::onPreviewPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(previewWindow_, &paint);
    if (dc) {
        std::wstring size = planSizeText(planExtent(pieces_), useInches_);
        if (!sheets_.empty()) {
            const PlanExtent sheet{0, 0, design_.sheetSize.width, design_.sheetSize.height};
            size = sheetCount() + L" " + text(L"sheet.of") + L" " + planSizeText(sheet, useInches_);
        }
        const PreviewTexts texts{text(L"preview.2dTitle"), text(L"preview.noPieces"), text(L"preview.zoomHintFormat"),
                                 text(L"preview.3dInvalid"), text(L"status.d3dNotAvailable"), size};
        // Automatic tries Direct3D once per engine choice and window size, not at every paint.
        PreviewViewState painted = view_;
        if (direct3dRefused_ && painted.renderMode == RenderMode::Automatic) painted.renderMode = RenderMode::Gdi;
        const auto announcement =
            paintPreview(previewWindow_, dc, clientRectOf(previewWindow_), painted, renderer_, design_,
                         sheets_.empty() ? pieces_ : sheetView_.pieces, texts, sheetView_.frames);
        if (announcement) setStatus(*announcement);
        if (painted.show3D && painted.renderMode == RenderMode::Automatic && !renderer_.hasDeviceFor(previewWindow_)) {
            direct3dRefused_ = true;
        }
    }
    EndPaint(previewWindow_, &paint);
}

void Application::invalidatePreview() {
    if (previewWindow_) InvalidateRect(previewWindow_, nullptr, FALSE);
}

void Application::fitPreview() {
    fitView(view_);
    invalidatePreview();
    setStatus(text(L"status.viewFit"));
}
