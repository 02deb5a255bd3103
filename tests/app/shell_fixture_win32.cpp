#include "shell_fixture_win32.h"

#include "settings/app_settings.h"
#include "settings/file_io.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>

int RecordingModalUi::showMessage(HWND, const std::wstring& text, const std::wstring& caption, UINT style) {
    messages.push_back({text, caption, style});
    return answer;
}

void RecordingModalUi::openInShell(HWND, const std::wstring& target) { opened.push_back(target); }

bool RecordingModalUi::getSaveFileName(OPENFILENAMEW& dialog) { return getOpenFileName(dialog); }

bool RecordingModalUi::getOpenFileName(OPENFILENAMEW& dialog) {
    dialogNames.push_back(dialog.lpstrFile);
    dialogTypes.push_back(dialog.nFilterIndex);
    if (!typeChoices.empty()) {
        dialog.nFilterIndex = typeChoices.front();
        typeChoices.pop_front();
    }
    if (choices.empty()) return false;
    const std::optional<std::wstring> choice = choices.front();
    choices.pop_front();
    if (!choice || choice->size() >= dialog.nMaxFile) return false;
    wcscpy(dialog.lpstrFile, choice->c_str());
    return true;
}

void RecordingModalUi::runModalLoop(HWND window) {
    if (beforeModalLoop) {
        beforeModalLoop(window);
    } else {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    runModalWindowLoop(window);
}

Shell::Shell(bool shown, std::wstring productPage) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    app_ = std::make_unique<Application>(instance, ui, std::move(productPage));
    registerWindowClasses(instance);
    createMainWindow(*app_);
    if (shown && window()) {
        SetWindowPos(window(), nullptr, 0, 0, 1280, 900, SWP_NOZORDER);
        ShowWindow(window(), SW_SHOWNORMAL);
        UpdateWindow(window());
    }
}

Shell::~Shell() { close(); }

void Shell::close() {
    if (window() && IsWindow(window())) DestroyWindow(window());
    pumpMessagesFor(0);
}

std::wstring windowTextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring Shell::text(int id) const { return windowTextOf(control(id)); }

std::wstring Shell::status() const { return windowTextOf(app_->statusLine()); }

void Shell::type(int id, const std::wstring& text) {
    SetWindowTextW(control(id), text.c_str());  // an edit notifies EN_CHANGE by itself, a combo does not
    wchar_t kind[16] = {};
    GetClassNameW(control(id), kind, 16);
    if (lstrcmpiW(kind, L"ComboBox") == 0)
        SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(control(id)));
}

void Shell::click(int id) {
    HWND button = control(id);
    if ((GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        const bool checked = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(button, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Shell::choose(int id, int index) {
    SendMessageW(control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control(id)));
}

void removeSettingsFolder() {
    wchar_t appData[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(appData) / L"Orvell", ignored);
}

std::string readSettingsFile() {
    std::string bytes;
    readFileBytes(settingsFilePath(), bytes);
    return bytes;
}

void writeSettingsFile(const std::string& text) { writeFileReplacing(settingsFilePath(), text); }

bool pumpUntil(const std::function<bool()>& done, unsigned milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
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
        const auto wait = static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

namespace {

std::vector<uint32_t> capture(HWND source, const RECT& area, bool waitForFrame) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return {};
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    pumpUntil([&] {
        HDC dc = GetDC(source);
        BitBlt(memory, 0, 0, width, height, dc, area.left, area.top, SRCCOPY);
        ReleaseDC(source, dc);
        GdiFlush();
        std::transform(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + pixels.size(),
                       pixels.begin(), [](uint32_t p) { return p & 0xFFFFFF; });
        return !waitForFrame || pixels.empty() || pixels[0] != 0;
    }, 2000);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return pixels;
}

}  // namespace

std::vector<uint32_t> clientPixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return capture(window, client, false);
}

std::vector<uint32_t> screenPixels(const RECT& area) { return capture(nullptr, area, true); }
