// Drives a running tessaro.exe from outside (wait for its window, close it) and times start-up,
// regeneration and preview paints, for the screenshot script and for measurements. Not a test:
// prints what it sees.
#include "app/application_win32.h"
#include "app/control_ids.h"
#include "preview/preview_paint_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK findMainWindow(HWND window, LPARAM lParam) {
    auto* found = reinterpret_cast<Found*>(lParam);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (wcscmp(className, MAIN_WINDOW_CLASS) == 0 && (found->processId == 0 || owner == found->processId)) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND mainWindowOf(DWORD processId) {
    Found found{processId, nullptr};
    EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// Waits until a visible main window exists and its process is idle (first paint done).
int waitForWindow(DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        HWND window = mainWindowOf(0);
        if (window && IsWindowVisible(window)) {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId)) {
                WaitForInputIdle(process, static_cast<DWORD>(end - GetTickCount64()));
                CloseHandle(process);
            }
            Sleep(300);  // let the X server show the last paints
            return 0;
        }
        Sleep(50);
    }
    std::fprintf(stderr, "no main window within %lu ms\n", static_cast<unsigned long>(timeoutMs));
    return 1;
}

// Asks the program to close as the user would and waits until it has gone.
int closeWindow() {
    HWND window = mainWindowOf(0);
    if (!window) return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const DWORD waited = process ? WaitForSingleObject(process, 15000) : WAIT_FAILED;
    if (process) CloseHandle(process);
    return waited == WAIT_OBJECT_0 ? 0 : 1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double nowMs() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Process start to the first idle moment after the main window's first paint.
int timeStartup(const std::wstring& program, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::wstring commandLine = L"\"" + program + L"\"";
        const double start = nowMs();
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            std::fprintf(stderr, "cannot start the program\n");
            return 1;
        }
        WaitForInputIdle(process.hProcess, 30000);
        HWND window = nullptr;
        while (!(window = mainWindowOf(process.dwProcessId)) && nowMs() - start < 30000) Sleep(1);
        const double elapsed = nowMs() - start;
        times.push_back(elapsed);
        std::printf("start-up run %d: %.0f ms\n", run + 1, elapsed);
        if (window) PostMessageW(window, WM_CLOSE, 0, 0);
        WaitForSingleObject(process.hProcess, 15000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::printf("start-up median of %d: %.0f ms\n", runs, median(times));
    return 0;
}

class SilentModalUi final : public ModalUi {
public:
    int showMessage(HWND, const std::wstring&, const std::wstring&, UINT) override { return IDOK; }
    void openInShell(HWND, const std::wstring&) override {}
    bool getSaveFileName(OPENFILENAMEW&) override { return false; }
    bool getOpenFileName(OPENFILENAMEW&) override { return false; }
    void runModalLoop(HWND window) override { DestroyWindow(window); }
};

// The program's main window in this process with nothing modal shown, destroyed at the end.
struct ProbeWindow {
    ProbeWindow() {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
        InitCommonControlsEx(&controls);
        registerWindowClasses(app.instance);
        createMainWindow(app);
    }
    ~ProbeWindow() {
        if (app.mainWindow) DestroyWindow(app.mainWindow);
    }
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;

    SilentModalUi modalUi;
    Application app{GetModuleHandleW(nullptr), modalUi};
};

double timeRegenerate(Application& app, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = nowMs();
        app.regenerate();
        times.push_back(nowMs() - start);
    }
    return median(times);
}

double timeGenerate(const BoxParameters& design, int runs, size_t& count) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double start = nowMs();
        count = generatePieces(design).size();
        times.push_back(nowMs() - start);
    }
    return median(times);
}

// One regeneration of the default and of a heavy design, in process.
int timeRegeneration(int runs) {
    ProbeWindow probe;
    Application& app = probe.app;
    if (!app.mainWindow) return 1;
    app.changeTrackingEnabled = false;
    const double defaultDesign = timeRegenerate(app, runs);
    std::printf("regenerate, default design (%zu pieces): median %.3f ms\n", app.pieces.size(), defaultDesign);

    for (HWND combo : {app.fingersWidthCombo, app.fingersDepthCombo, app.fingersHeightCombo}) {
        app.selectOrSetInteger(combo, 10);
    }
    SetWindowTextW(app.toolDiameterCombo, L"3");
    SendMessageW(app.cncRouterModeBox, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(app.addLidBox, BM_SETCHECK, BST_CHECKED, 0);
    const double panelHeavy = timeRegenerate(app, runs);
    std::printf("regenerate, fingers 10/10/10, CNC 3 mm, lid (%zu pieces): median %.3f ms\n", app.pieces.size(),
                panelHeavy);

    // The panel has no divider controls, so the heaviest design is timed through the model directly.
    BoxParameters heavy = app.parameters;
    heavy.widthDividerCount = 20;
    heavy.depthDividerCount = 20;
    heavy.addDividerBaseSlots = true;
    size_t count = 0;
    const double generate = timeGenerate(heavy, runs, count);
    std::printf("generatePieces, same with 20 x 20 dividers and base slots (%zu pieces): median %.3f ms\n", count,
                generate);
    return 0;
}

// Full repaints of the preview in the shown 1280 x 900 window: the plan, the GDI 3D view and Direct3D 9.
int timePaints(int runs) {
    ProbeWindow probe;
    Application& app = probe.app;
    if (!app.mainWindow) return 1;
    ShowWindow(app.mainWindow, SW_SHOWNORMAL);
    UpdateWindow(app.mainWindow);
    const struct {
        const char* name;
        bool show3D;
        RenderMode mode;
    } views[] = {{"2D plan", false, RenderMode::Gdi},
                 {"3D GDI", true, RenderMode::Gdi},
                 {"3D Direct3D 9", true, RenderMode::Direct3D9}};
    const ClientRect client = clientRectOf(app.previewWindow);
    for (const auto& view : views) {
        app.view.show3D = view.show3D;
        app.view.renderMode = view.mode;
        std::vector<double> times;
        for (int run = 0; run <= runs; ++run) {
            const double start = nowMs();
            RedrawWindow(app.previewWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            if (run > 0) times.push_back(nowMs() - start);  // the first one may create the device
        }
        std::printf("preview paint, %s, %d x %d: median %.3f ms\n", view.name, client.right, client.bottom,
                    median(times));
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"wait") return waitForWindow(argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 30000);
    if (mode == L"close") return closeWindow();
    if (mode == L"startup" && argc > 2) return timeStartup(argv[2], argc > 3 ? _wtoi(argv[3]) : 7);
    if (mode == L"regenerate") return timeRegeneration(argc > 2 ? _wtoi(argv[2]) : 25);
    if (mode == L"paint") return timePaints(argc > 2 ? _wtoi(argv[2]) : 25);
    std::fprintf(stderr, "usage: main_window_probe wait [ms] | close | startup <tessaro.exe> [runs] | regenerate [runs] "
                         "| paint [runs]\n");
    return 2;
}
