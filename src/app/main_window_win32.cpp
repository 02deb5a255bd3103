#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "app/control_ids.h"
#include "app/panel_layout.h"
#include "app/panel_scroll.h"
#include "app/preview_window_win32.h"
#include "app/resource_ids.h"
#include "app/update_check_result.h"
#include "app/window_placement.h"
#include "output/project_file.h"

#include <commctrl.h>

#include <algorithm>
#include <span>
#include <array>
#include <memory>
#include <optional>
#include <vector>

Application* applicationOf(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Application*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

namespace {

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Application* app = applicationOf(window, message, lParam);
    return app ? app->handleMainMessage(window, message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

ScrollRequest scrollRequestOf(WORD code) {
    switch (code) {
    case SB_LINEUP: return ScrollRequest::LineUp;
    case SB_LINEDOWN: return ScrollRequest::LineDown;
    case SB_PAGEUP: return ScrollRequest::PageUp;
    case SB_PAGEDOWN: return ScrollRequest::PageDown;
    case SB_THUMBTRACK: return ScrollRequest::ThumbTrack;
    case SB_TOP: return ScrollRequest::Top;
    case SB_BOTTOM: return ScrollRequest::Bottom;
    default: return ScrollRequest::Other;
    }
}

int32_t clientHeight(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom - client.top;
}

// GetDpiForWindow where user32 has it (Windows 10 1607 on); before it, a system-aware program's screen DPI.
int32_t windowDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    const UINT dpi = found ? reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(found))(window) : 0;
    if (dpi > 0) return static_cast<int32_t>(dpi);
    const WindowDc screen(nullptr);
    const int screenDpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return screenDpi > 0 ? screenDpi : kBaseDpi;
}

using A = Application;

}  // namespace

const Application::CommandRoute Application::kCommandRoutes[] = {
    {IDOK, kAnyNotifications, &A::updateCommand},  // Enter in a panel field
    {UndoCommandId, kAnyNotifications, &A::undoCommand},
    {RedoCommandId, kAnyNotifications, &A::redoCommand},
    {Toggle3dCommandId, kAnyNotifications, &A::toggle3DShortcut},
    {SaveSettingsCommandId, kAnyNotifications, &A::saveSettingsFromControls},
};

namespace {

// The main window's shortcuts and the commands they send.
constexpr BYTE kControl = FCONTROL | FVIRTKEY;
const ACCEL kShortcuts[] = {
    {kControl, 'O', LoadButtonId},       {kControl, 'S', SaveButtonId},      {kControl, 'E', ExportDxfButtonId},
    {kControl, 'Z', UndoCommandId},      {kControl, 'Y', RedoCommandId},     {kControl | FSHIFT, 'Z', RedoCommandId},
    {FVIRTKEY, VK_F5, UpdateButtonId},   {kControl, '0', FitViewButtonId},   {kControl, '3', Toggle3dCommandId},
};

}  // namespace

std::wstring shortcutText(WORD command) {
    const auto shortcut =
        std::find_if(std::begin(kShortcuts), std::end(kShortcuts), [command](const ACCEL& a) { return a.cmd == command; });
    if (shortcut == std::end(kShortcuts)) return L"";
    const std::wstring held =
        std::wstring(shortcut->fVirt & FCONTROL ? L"Ctrl+" : L"") + (shortcut->fVirt & FSHIFT ? L"Shift+" : L"");
    if (shortcut->key >= VK_F1 && shortcut->key <= VK_F24) return held + L"F" + std::to_wstring(shortcut->key - VK_F1 + 1);
    return held + static_cast<wchar_t>(shortcut->key);
}

Application::Application(HINSTANCE instance, ModalUi& modalUi, std::wstring productPage)
    : instance_(instance), modalUi_(modalUi), productPage_(std::move(productPage)),
      accelerators_(CreateAcceleratorTableW(const_cast<ACCEL*>(kShortcuts), static_cast<int>(std::size(kShortcuts)))) {}

Application::~Application() {
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

bool Application::translateAccelerator(MSG& message) {
    return accelerators_ && mainWindow_ && TranslateAcceleratorW(mainWindow_, accelerators_, &message) != 0;
}

std::wstring Application::text(const wchar_t* key) const { return languages_.lookupText(key); }

void Application::setStatus(const std::wstring& line) {
    if (statusLine_) SetWindowTextW(statusLine_, line.c_str());
}

LRESULT Application::handleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        mainWindow_ = window;
        break;
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_SIZE:
        onSize();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_NOTIFY:
        return onNotify(wParam, lParam);
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_TIMER:
        return onTimer(wParam, lParam);
    case WM_VSCROLL:
        onVerticalScroll(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        return onMouseWheel(wParam, lParam);
    case WM_ACTIVATE:
        onActivate(wParam);
        return 0;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_GETMINMAXINFO:
        onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_UPDATE_CHECK_RESULT:
        onUpdateCheckResult(wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Application::onCreate() {
    languages_.scanLanguages();
    const AppSettings stored = loadSettings();
    languages_.applyLanguage(stored.language.empty() ? std::wstring(L"es") : stored.language);
    currentLanguage_ = languages_.currentCode();

    dpi_ = view_.dpi = windowDpi(mainWindow_);
    createControls();
    {
        TrackingPause filling(*this);
        applySettingsToControls(loadSettings());
        regenerate();
    }
    changeTrackingEnabled_ = true;
    DragAcceptFiles(mainWindow_, TRUE);

    if (isChecked(panel_.checkUpdatesBox)) {
        SetTimer(mainWindow_, UPDATE_CHECK_TIMER, UPDATE_CHECK_DELAY_MS, nullptr);
    }
}

void Application::onDestroy() {
    KillTimer(mainWindow_, REGENERATE_TIMER);
    KillTimer(mainWindow_, UPDATE_CHECK_TIMER);
    saveSettingsFromControls();
    renderer_.releaseDevice();
    PostQuitMessage(0);
}

void Application::onCommand(WPARAM wParam) {
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    for (const auto& routes : {std::span<const CommandRoute>(kCommandRoutes), std::span<const CommandRoute>(panelRoutes_)}) {
        for (const CommandRoute& route : routes) {
            if (route.id != id) continue;
            for (int notification : route.notifications) {
                if (notification == kAnyNotification || notification == code) return (this->*route.handler)();
            }
        }
    }
}

void Application::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(mainWindow_, focus)) focusedControl_ = focus;
        return;
    }
    if (HIWORD(wParam)) return;  // minimised
    HWND target = focusedControl_ && IsWindow(focusedControl_) ? focusedControl_ : optionControl("inputWidth");
    if (target) SetFocus(target);
}

void Application::onDropFiles(HDROP drop) {
    std::optional<std::wstring> project;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT index = 0; index < count && !project; ++index) {
        std::wstring path(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, index, path.data(), static_cast<UINT>(path.size())));
        const size_t dot = path.find_last_of(L'.');
        if (dot != std::wstring::npos && lstrcmpiW(path.c_str() + dot, L".boxproj") == 0) project = path;
    }
    DragFinish(drop);
    if (project) return openProject(*project);
    modalUi_.showMessage(mainWindow_, kNotAProjectMessage, text(L"dialog.loadProjectError"), MB_OK | MB_ICONWARNING);
}

void Application::onGetMinMaxInfo(MINMAXINFO& limits) {
    RECT frame{0, 0, scaledToDpi(kMinimumClientWidth, dpi_), scaledToDpi(kMinimumClientHeight, dpi_)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    limits.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
}

void Application::onUpdateCheckResult(WPARAM wParam, LPARAM lParam) {
    if (!lParam || reinterpret_cast<const UpdateCheckResult*>(lParam) != pendingUpdateResult_) return;
    pendingUpdateResult_ = nullptr;
    // The worker hands its record back with the post; it is ours to delete.
    const std::unique_ptr<UpdateCheckResult> result{reinterpret_cast<UpdateCheckResult*>(lParam)};
    handleUpdateResult(wParam != 0, result->latestVersion, result->downloadUrl);
}

void Application::onSize() {
    layoutControls();
    direct3dRefused_ = false;  // a new size may let Direct3D start
    // The back buffer follows the preview's new size.
    if (renderer_.hasDeviceFor(previewWindow_)) renderer_.resetDevice();
}

void Application::onDpiChanged(int32_t dpi, const RECT* suggested) {
    if (dpi <= 0) return;
    panelScrollPos_ = MulDiv(panelScrollPos_, dpi, dpi_);  // the same controls stay in view
    dpi_ = view_.dpi = dpi;
    applyFonts();
    if (suggested) {
        SetWindowPos(mainWindow_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A rectangle of the same size brings no WM_SIZE, yet the preview's place changed.
    onSize();
    RedrawWindow(mainWindow_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT Application::onTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam == REGENERATE_TIMER) {
        KillTimer(mainWindow_, REGENERATE_TIMER);
        regenerate();
        saveSettingsFromControls();
        return 0;
    }
    if (wParam == UPDATE_CHECK_TIMER) {
        KillTimer(mainWindow_, UPDATE_CHECK_TIMER);
        startUpdateCheck();
        return 0;
    }
    return DefWindowProcW(mainWindow_, WM_TIMER, wParam, lParam);
}

LRESULT Application::onNotify(WPARAM wParam, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && tooltipWindow_ && header->hwndFrom == tooltipWindow_ && header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        // A control's own tool names it by handle; its tool on the main window, by id.
        const bool byHandle = (info->uFlags & TTF_IDISHWND) != 0;
        const auto binding = std::find_if(tooltipBindings_.begin(), tooltipBindings_.end(), [&](const TextBinding& b) {
            const UINT_PTR id = byHandle ? reinterpret_cast<UINT_PTR>(b.control) : GetDlgCtrlID(b.control);
            return id == header->idFrom;
        });
        if (binding != tooltipBindings_.end()) {
            tooltipText_ = text(binding->key.c_str());
            if (!binding->shortcut.empty()) tooltipText_ += L" (" + binding->shortcut + L")";
            info->lpszText = tooltipText_.data();
            return 0;
        }
    }
    return DefWindowProcW(mainWindow_, WM_NOTIFY, wParam, lParam);
}

void Application::onVerticalScroll(WPARAM wParam) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (panelScrollBar_) {
        GetScrollInfo(panelScrollBar_, SB_CTL, &info);
    } else {
        GetScrollInfo(mainWindow_, SB_VERT, &info);
    }
    const ScrollBarState bar{info.nPos, static_cast<int32_t>(info.nPage), info.nMin, info.nMax, info.nTrackPos};
    scrollPanelTo(scrollRequestTarget(scrollRequestOf(LOWORD(wParam)), bar));
}

LRESULT Application::onMouseWheel(WPARAM wParam, LPARAM lParam) {
    POINT cursor{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(mainWindow_, &cursor);
    if (cursor.x >= panelStripWidth(dpi_)) {
        // The wheel comes to the focused window; over the preview it zooms the preview.
        if (previewWindow_ && ChildWindowFromPoint(mainWindow_, cursor) == previewWindow_) {
            return SendMessageW(previewWindow_, WM_MOUSEWHEEL, wParam, lParam);
        }
        return DefWindowProcW(mainWindow_, WM_MOUSEWHEEL, wParam, lParam);
    }
    scrollPanelTo(wheelScrollTarget(panelScrollPos_, static_cast<short>(HIWORD(wParam))));
    return 0;
}

void Application::updatePanelScrollBar() {
    if (!mainWindow_ || !panelScrollBar_) return;
    const int32_t page = std::max(1, clientHeight(mainWindow_));
    const int32_t content = scaledToDpi(panelContentHeight_, dpi_);
    const int32_t maxPos = maxPanelScroll(content, page);
    panelScrollPos_ = std::clamp(panelScrollPos_, 0, maxPos);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, content - 1);
    info.nPage = static_cast<UINT>(page);
    info.nPos = panelScrollPos_;
    SetScrollInfo(panelScrollBar_, SB_CTL, &info, TRUE);
    ShowWindow(panelScrollBar_, maxPos > 0 ? SW_SHOW : SW_HIDE);
}

void Application::scrollPanelTo(int32_t target) {
    const int32_t position =
        clampPanelScroll(target, scaledToDpi(panelContentHeight_, dpi_), mainWindow_ ? clientHeight(mainWindow_) : 0);
    if (position == panelScrollPos_) return;
    panelScrollPos_ = position;
    updatePanelScrollBar();
    layoutControls();
    // Group boxes are transparent: moved, they leave their old frames and titles behind.
    const RECT strip{0, 0, panelStripWidth(dpi_), clientHeight(mainWindow_)};
    RedrawWindow(mainWindow_, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int32_t Application::statusTextHeight() const {
    const WindowDc dc(statusLine_);
    if (!dc.get() || !fonts_.bold.get()) return 0;
    const ScopedSelection font(dc.get(), fonts_.bold.get());
    TEXTMETRICW metrics{};
    return GetTextMetricsW(dc.get(), &metrics) ? metrics.tmHeight : 0;
}

void Application::layoutControls() {
    if (!mainWindow_) return;
    RECT client{};
    GetClientRect(mainWindow_, &client);
    const ClientArea area{client.right - client.left, client.bottom - client.top, dpi_, statusTextHeight()};
    updatePanelScrollBar();
    for (const PanelPlacement& placement : layoutEntries_) {
        const PixelRect rect = scaledRect(placement.rect, dpi_);
        MoveWindow(placement.control, rect.x, rect.y - panelScrollPos_, rect.width, rect.height, TRUE);
    }
    const auto place = [](HWND window, PixelRect rect) {
        if (window) MoveWindow(window, rect.x, rect.y, rect.width, rect.height, TRUE);
    };
    place(panelScrollBar_, panelScrollBarRect(area));
    place(previewWindow_, previewRect(area));
    place(statusLine_, statusLineRect(area));
    placeDisabledTooltips();
}

void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style, int backgroundColour) {
    // Registered once: the icons below live as long as the class, that is the process.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (WNDCLASSEXW existing = windowClass; GetClassInfoExW(instance, name, &existing)) return;
    // The product icon at the sizes this display asks for (Alt+Tab; title and task bars).
    const auto icon = [instance](int metric) {
        const int size = GetSystemMetrics(metric);
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(TESSARO_ICON_ID), IMAGE_ICON, size, size, 0));
    };
    windowClass.hIcon = icon(SM_CXICON);
    windowClass.hIconSm = icon(SM_CXSMICON);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

void registerWindowClasses(HINSTANCE instance) {
    registerWindowClass(instance, MAIN_WINDOW_CLASS, mainWindowProc, 0, COLOR_BTNFACE);
    registerWindowClass(instance, PREVIEW_WINDOW_CLASS, previewWindowProc, CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                        COLOR_WINDOW);
}

namespace {

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& work = info.rcWork;
    auto& list = *reinterpret_cast<std::vector<PixelRect>*>(areas);
    const PixelRect area{work.left, work.top, work.right - work.left, work.bottom - work.top};
    // The primary monitor's work area goes first.
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
        list.insert(list.begin(), area);
    } else {
        list.push_back(area);
    }
    return TRUE;
}

}  // namespace

HWND createMainWindow(Application& app) {
    const AppSettings stored = loadSettings();
    std::vector<PixelRect> workAreas;
    EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    const PixelRect rect =
        startupWindowRect({stored.windowX, stored.windowY, stored.windowWidth, stored.windowHeight}, workAreas);
    return CreateWindowExW(0, MAIN_WINDOW_CLASS, app.text(L"app.windowTitle").c_str(), WS_OVERLAPPEDWINDOW, rect.x,
                           rect.y, rect.width, rect.height, nullptr, nullptr, app.instance(), &app);
}

int runMessageLoop(Application& app) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND mainWindow = app.mainWindow();
        if (app.translateAccelerator(message)) continue;
        // The dialog filter gives Tab navigation between the panel's controls.
        if (mainWindow && IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int runApplication(HINSTANCE instance, int showCommand, const std::wstring& projectPath) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);

    SystemModalUi modalUi;
    auto app = std::make_unique<Application>(instance, modalUi);
    registerWindowClasses(instance);
    HWND mainWindow = createMainWindow(*app);
    if (!mainWindow) return 0;
    ShowWindow(mainWindow, loadSettings().windowMaximized ? SW_SHOWMAXIMIZED : showCommand);
    UpdateWindow(mainWindow);
    if (!projectPath.empty()) app->openProject(projectPath);
    const int exitCode = runMessageLoop(*app);
    app.reset();
    return exitCode;
}
