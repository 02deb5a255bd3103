#pragma once
// Window procedure of the TessaroPreview class.
#include <windows.h>

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
