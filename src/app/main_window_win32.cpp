#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "app/control_ids.h"
#include "app/panel_scroll.h"
#include "app/preview_window_win32.h"
#include "app/update_check_result.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

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
    if (!app) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE) app->mainWindow = window;
    return app->handleMainMessage(message, wParam, lParam);
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

}  // namespace

Application::Application(HINSTANCE instanceHandle, ModalUi& ui) : instance(instanceHandle), modalUi(ui) {}

Application::~Application() { deleteFonts(); }

std::wstring Application::text(const wchar_t* key) const { return languages.lookupText(key); }

void Application::setStatus(const std::wstring& line) {
    if (statusLine) SetWindowTextW(statusLine, line.c_str());
}

LRESULT Application::handleMainMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_SIZE:
        layoutControls();
        // The back buffer follows the preview's new size.
        if (renderer.hasDeviceFor(previewWindow)) renderer.resetDevice();
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
    case WM_UPDATE_CHECK_RESULT:
        // The worker hands the record over with the post; it is ours to delete.
        if (const std::unique_ptr<UpdateCheckResult> result{reinterpret_cast<UpdateCheckResult*>(lParam)}) {
            handleUpdateResult(wParam != 0, result->latestVersion, result->downloadUrl, result->message);
        }
        return 0;
    default:
        return DefWindowProcW(mainWindow, message, wParam, lParam);
    }
}

void Application::onCreate() {
    languages.scanLanguages();
    const AppSettings stored = loadSettings();
    languages.applyLanguage(stored.language.empty() ? std::wstring(L"es") : stored.language);
    currentLanguage = languages.currentCode();

    createControls();

    changeTrackingEnabled = false;
    applySettingsToControls(loadSettings());
    regenerate();
    changeTrackingEnabled = true;

    if (isChecked(checkUpdatesBox)) {
        SetTimer(mainWindow, UPDATE_CHECK_TIMER, UPDATE_CHECK_DELAY_MS, nullptr);
    }
}

void Application::onDestroy() {
    KillTimer(mainWindow, REGENERATE_TIMER);
    KillTimer(mainWindow, UPDATE_CHECK_TIMER);
    saveSettingsFromControls();
    renderer.releaseDevice();
    deleteFonts();
    PostQuitMessage(0);
}

void Application::deleteFonts() {
    for (HFONT* font : {&fontNormal, &fontBold, &fontTitle, &fontButton}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

void Application::onCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
    case UpdateButtonId:
        regenerate();
        saveSettingsFromControls();
        return;
    case ExitButtonId:
        saveSettingsFromControls();
        DestroyWindow(mainWindow);
        return;
    case SaveSettingsCommandId:
    case CheckUpdatesBoxId:
        saveSettingsFromControls();
        return;
    case WebsiteButtonId:
        openWebsiteCommand();
        return;
    case ExportDxfButtonId:
        exportDxfCommand();
        return;
    case SaveButtonId:
        saveProjectCommand();
        return;
    case LoadButtonId:
        loadProjectCommand();
        return;
    case FitViewButtonId:
        fitPreview();
        return;
    case Preview3dBoxId:
        toggle3DViewCommand();
        return;
    case TestServerButtonId:
        testServerCommand();
        return;
    case ResetButtonId:
        resetCommand();
        return;
    case RenderEngineComboId:
        if (code == CBN_SELCHANGE) {
            renderEngineCommand();
            return;
        }
        break;
    case AboutButtonId:
        showAboutWindow();
        return;
    case UpdateNoticeId:
        if (code == STN_CLICKED) {
            openDownloadPage();
            return;
        }
        break;
    case UnitsComboId:
        if (code == CBN_SELCHANGE) {
            changeUnits();
            return;
        }
        break;
    case LanguageComboId:
        if (code == CBN_SELCHANGE) {
            languageCommand();
            return;
        }
        break;
    default:
        break;
    }
    if (id >= WidthEditId && id <= ToolDiameterComboId &&
        (code == EN_CHANGE || code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) {
        markChanged();
    } else if (code == BN_CLICKED &&
               (id == InternalDimensionsBoxId || id == AddLidBoxId || id == CncRouterModeBoxId)) {
        markChanged();
    } else if (id == ServerAddressEditId && code == EN_KILLFOCUS) {
        saveSettingsFromControls();
    }
}

LRESULT Application::onTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam == REGENERATE_TIMER) {
        KillTimer(mainWindow, REGENERATE_TIMER);
        regenerate();
        saveSettingsFromControls();
        return 0;
    }
    if (wParam == UPDATE_CHECK_TIMER) {
        KillTimer(mainWindow, UPDATE_CHECK_TIMER);
        startUpdateCheck();
        return 0;
    }
    return DefWindowProcW(mainWindow, WM_TIMER, wParam, lParam);
}

LRESULT Application::onNotify(WPARAM wParam, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && tooltipWindow && header->hwndFrom == tooltipWindow && header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const auto binding = std::find_if(tooltipBindings.begin(), tooltipBindings.end(), [&](const TooltipBinding& b) {
            return reinterpret_cast<UINT_PTR>(b.control) == header->idFrom;
        });
        if (binding != tooltipBindings.end()) {
            tooltipText = text(binding->key.c_str());
            info->lpszText = tooltipText.data();
            return 0;
        }
    }
    return DefWindowProcW(mainWindow, WM_NOTIFY, wParam, lParam);
}

void Application::onVerticalScroll(WPARAM wParam) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (panelScrollBar) {
        GetScrollInfo(panelScrollBar, SB_CTL, &info);
    } else {
        GetScrollInfo(mainWindow, SB_VERT, &info);
    }
    const ScrollBarState bar{info.nPos, static_cast<int32_t>(info.nPage), info.nMin, info.nMax, info.nTrackPos};
    scrollPanelTo(scrollRequestTarget(scrollRequestOf(LOWORD(wParam)), bar));
}

LRESULT Application::onMouseWheel(WPARAM wParam, LPARAM lParam) {
    POINT cursor{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ScreenToClient(mainWindow, &cursor);
    if (cursor.x >= PANEL_STRIP_WIDTH) {
        // The wheel comes to the focused window; over the preview it zooms the preview.
        if (previewWindow && ChildWindowFromPoint(mainWindow, cursor) == previewWindow) {
            return SendMessageW(previewWindow, WM_MOUSEWHEEL, wParam, lParam);
        }
        return DefWindowProcW(mainWindow, WM_MOUSEWHEEL, wParam, lParam);
    }
    scrollPanelTo(wheelScrollTarget(panelScrollPos, static_cast<short>(HIWORD(wParam))));
    return 0;
}

void Application::updatePanelScrollBar() {
    if (!mainWindow || !panelScrollBar) return;
    const int32_t page = std::max(1, clientHeight(mainWindow));
    const int32_t maxPos = maxPanelScroll(panelContentHeight, page);
    panelScrollPos = std::clamp(panelScrollPos, 0, maxPos);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, panelContentHeight - 1);
    info.nPage = static_cast<UINT>(page);
    info.nPos = panelScrollPos;
    SetScrollInfo(panelScrollBar, SB_CTL, &info, TRUE);
    ShowWindow(panelScrollBar, maxPos > 0 ? SW_SHOW : SW_HIDE);
}

void Application::scrollPanelTo(int32_t target) {
    const int32_t position = clampPanelScroll(target, panelContentHeight, mainWindow ? clientHeight(mainWindow) : 0);
    if (position == panelScrollPos) return;
    panelScrollPos = position;
    updatePanelScrollBar();
    layoutControls();
}

void Application::layoutControls() {
    if (!mainWindow) return;
    RECT client{};
    GetClientRect(mainWindow, &client);
    const int32_t width = client.right - client.left;
    const int32_t height = client.bottom - client.top;
    updatePanelScrollBar();
    for (const LayoutEntry& entry : layoutEntries) {
        MoveWindow(entry.control, entry.x, entry.y - panelScrollPos, entry.width, entry.height, TRUE);
    }
    if (panelScrollBar) MoveWindow(panelScrollBar, 312, 0, 14, height, TRUE);
    if (previewWindow) MoveWindow(previewWindow, 336, 12, std::max(1, width - 348), std::max(1, height - 54), TRUE);
    if (statusLine) MoveWindow(statusLine, 336, std::max(12, height - 34), std::max(1, width - 348), 22, TRUE);
}

void registerWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW mainClass{};
    mainClass.cbSize = sizeof mainClass;
    mainClass.lpfnWndProc = mainWindowProc;
    mainClass.hInstance = instance;
    mainClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    mainClass.lpszClassName = MAIN_WINDOW_CLASS;
    RegisterClassExW(&mainClass);

    WNDCLASSEXW previewClass{};
    previewClass.cbSize = sizeof previewClass;
    previewClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    previewClass.lpfnWndProc = previewWindowProc;
    previewClass.hInstance = instance;
    previewClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    previewClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    previewClass.lpszClassName = PREVIEW_WINDOW_CLASS;
    RegisterClassExW(&previewClass);
}

HWND createMainWindow(Application& app) {
    return CreateWindowExW(0, MAIN_WINDOW_CLASS, app.text(L"app.windowTitle").c_str(), WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 1280, 900, nullptr, nullptr, app.instance, &app);
}

int runMessageLoop(HWND mainWindow) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog filter gives Tab navigation between the panel's controls.
        if (mainWindow && IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int runApplication(HINSTANCE instance, int showCommand) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);

    SystemModalUi modalUi;
    auto app = std::make_unique<Application>(instance, modalUi);
    registerWindowClasses(instance);
    HWND mainWindow = createMainWindow(*app);
    if (!mainWindow) return 0;
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    const int exitCode = runMessageLoop(mainWindow);
    app.reset();
    return exitCode;
}
