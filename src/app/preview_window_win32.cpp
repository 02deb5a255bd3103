#include "app/preview_window_win32.h"

// The preview area: a plain window-coloured surface, painted in one fill without erasing.
LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        if (dc) {
            RECT client{};
            GetClientRect(window, &client);
            FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
        }
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
