#pragma once
// Window procedure of the TessaroPreview class.
#include <windows.h>

// Stores the Application (the creation parameter) at WM_NCCREATE and forwards every later message to it.
LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
