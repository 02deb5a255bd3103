#pragma once
// Reads a window's client area back as the screen shows it (the only place a presented Direct3D
// frame can be read under Wine: the window's own DC and the front-buffer copy come back black).
#include <windows.h>

#include "dib_surface_win32.h"

// Copies the window's client area from the screen into the DIB; false when it cannot.
inline bool captureScreen(HWND window, DibSurface& into) {
    if (window == nullptr || !into.valid()) return false;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return false;
    const bool ok = BitBlt(into.dc(), 0, 0, into.width(), into.height(), screen, origin.x, origin.y, SRCCOPY) != FALSE;
    ReleaseDC(nullptr, screen);
    return ok;
}

// A presented frame reaches the screen a little later: captures until the corner pixel shows
// something other than black, for at most about two seconds.
inline bool capturePresentedFrame(HWND window, DibSurface& into) {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (captureScreen(window, into) && !(into.pixel(0, 0) == Rgb{0, 0, 0})) return true;
        Sleep(50);
    }
    return false;
}
