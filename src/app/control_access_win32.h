#pragma once
// Small reads and writes of standard controls that tolerate an empty handle.
#include <windows.h>

#include <string>

// At most maxCharacters of the control's text (longer text is cut); empty for an empty handle.
std::wstring windowText(HWND control, int maxCharacters);

// True only in the checked state (not the indeterminate one).
bool isChecked(HWND box);

void setChecked(HWND box, bool checked);
