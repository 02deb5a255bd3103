#include "app/control_access_win32.h"

#include <algorithm>

std::wstring windowText(HWND control, int maxCharacters) {
    if (!control) return {};
    std::wstring buffer(static_cast<size_t>(maxCharacters) + 1, L'\0');
    const int length = GetWindowTextW(control, buffer.data(), maxCharacters + 1);
    buffer.resize(static_cast<size_t>(std::clamp(length, 0, maxCharacters)));
    return buffer;
}

bool isChecked(HWND box) { return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void setChecked(HWND box, bool checked) {
    if (box) SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
