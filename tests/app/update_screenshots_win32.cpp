// Poses for the pictures of the update notice and the About window (scripts/screenshot-update.sh): the shell in process,
// its update worker asking a loopback server that announces a newer version. A tool, not a test.
// Usage: update_screenshots <output folder> <product page of the server>
#include "app/application_win32.h"
#include "app/control_ids.h"
#include "app/update_check_win32.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace {

// Dispatches this thread's messages until done() holds or about the given time has passed.
bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Asks the screenshot script to take the window's picture: writes <name>.ready holding the window's
// screen rectangle "x y width height" and waits until the script has removed it.
bool pictureTaken(HWND window, const std::wstring& folder, const wchar_t* name) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const std::wstring marker = folder + L"\\" + name + L".ready";
    FILE* file = _wfopen(marker.c_str(), L"w");
    if (!file) return false;
    std::fprintf(file, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    std::fclose(file);
    return pumpUntil([&] { return GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; }, 30000);
}

// Has the About window's picture taken once it has painted, then closes it through its real loop.
class CapturingModalUi final : public ModalUi {
public:
    explicit CapturingModalUi(std::wstring folder) : folder_(std::move(folder)) {}
    int showMessage(HWND, const std::wstring&, const std::wstring&, UINT) override { return IDOK; }
    void openInShell(HWND, const std::wstring&) override {}
    bool getSaveFileName(OPENFILENAMEW&) override { return false; }
    bool getOpenFileName(OPENFILENAMEW&) override { return false; }
    void runModalLoop(HWND window) override {
        pumpUntil([] { return false; }, 700);
        captured = pictureTaken(window, folder_, L"about");
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        runModalWindowLoop(window);
    }
    bool captured = false;

private:
    std::wstring folder_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: update_screenshots <output folder> <product page of the server>\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);
    CapturingModalUi modalUi(folder);
    Application app(GetModuleHandleW(nullptr), modalUi);
    registerWindowClasses(app.instance);
    HWND window = createMainWindow(app);
    if (!window) return 1;
    KillTimer(window, UPDATE_CHECK_TIMER);  // only the loopback server is asked
    SetWindowPos(window, nullptr, 0, 0, 1280, 900, SWP_NOZORDER);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);

    std::thread(updateCheckThread, window, std::wstring(argv[2])).join();
    const bool announced = pumpUntil([&] { return IsWindowVisible(app.updateNotice) != FALSE; }, 5000);
    pumpUntil([] { return false; }, 700);
    const bool updateCaptured = announced && pictureTaken(window, folder, L"update");
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(AboutButtonId, BN_CLICKED), reinterpret_cast<LPARAM>(app.aboutButton));
    DestroyWindow(window);
    if (!announced) std::fprintf(stderr, "the server announced no newer version\n");
    return updateCaptured && modalUi.captured ? 0 : 1;
}
