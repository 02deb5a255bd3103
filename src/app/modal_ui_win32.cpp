#include "app/modal_ui_win32.h"

#include <shellapi.h>

int SystemModalUi::showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
}

void SystemModalUi::openInShell(HWND owner, const std::wstring& target) {
    ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool SystemModalUi::getSaveFileName(OPENFILENAMEW& dialog) { return GetSaveFileNameW(&dialog) != FALSE; }

bool SystemModalUi::getOpenFileName(OPENFILENAMEW& dialog) { return GetOpenFileNameW(&dialog) != FALSE; }
void SystemModalUi::runModalLoop(HWND window) { runModalWindowLoop(window); }

void runModalWindowLoop(HWND window) {
    MSG message{};
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) return;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
