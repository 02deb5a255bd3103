#include "app_test_support_win32.h"

#include "settings/app_settings.h"
#include "settings/file_io.h"

#include <commctrl.h>
#include <shlobj.h>

#include <filesystem>

int RecordingModalUi::showMessage(HWND, const std::wstring& text, const std::wstring& caption, UINT style) {
    messages.push_back({text, caption, style});
    return answer;
}

void RecordingModalUi::openInShell(HWND, const std::wstring& target) { opened.push_back(target); }

AppHarness::AppHarness(bool shown) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    app_ = std::make_unique<Application>(instance, modalUi);
    registerWindowClasses(instance);
    createMainWindow(*app_);
    if (shown && app_->mainWindow) {
        SetWindowPos(app_->mainWindow, nullptr, 0, 0, 1280, 900, SWP_NOZORDER);
        ShowWindow(app_->mainWindow, SW_SHOWNORMAL);
        UpdateWindow(app_->mainWindow);
    }
}

AppHarness::~AppHarness() { close(); }

void AppHarness::close() {
    if (app_->mainWindow && IsWindow(app_->mainWindow)) DestroyWindow(app_->mainWindow);
    pumpMessagesFor(0);
}

void AppHarness::command(int id, int code, HWND control) {
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

void AppHarness::choose(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    command(GetDlgCtrlID(combo), CBN_SELCHANGE, combo);
}

void AppHarness::setClientSize(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

namespace {

std::filesystem::path orvellFolder() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData);
    return std::filesystem::path(appData) / L"Orvell";
}

}  // namespace

void removeSettingsFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(orvellFolder(), ignored);
}

void writeSettingsFile(const std::string& text) { writeFileReplacing(settingsFilePath(), text); }

std::string readSettingsFile() {
    std::string bytes;
    readFileBytes(settingsFilePath(), bytes);
    return bytes;
}

bool settingsFileExists() { return std::filesystem::exists(settingsFilePath()); }

void pumpMessagesFor(unsigned milliseconds) {
    pumpUntil([] { return false; }, milliseconds);
}

bool pumpUntil(const std::function<bool()>& done, unsigned timeoutMilliseconds) {
    const ULONGLONG end = GetTickCount64() + timeoutMilliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)),
                                  QS_ALLINPUT);
    }
}

std::wstring textOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
    return text;
}

std::vector<std::wstring> comboItems(HWND combo) {
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

int comboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

RECT childRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
