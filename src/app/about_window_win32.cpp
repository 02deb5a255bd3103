#include "app/application_win32.h"
#include "app/control_ids.h"
#include "app/product_info.h"
#include "app/resource_ids.h"
#include "app/update_reply.h"

namespace {

constexpr const wchar_t* ABOUT_WINDOW_CLASS = L"OrvellTessaroAboutWindow";
constexpr PixelRect ABOUT_SIZE{0, 0, 430, 205};  // at 96 DPI
constexpr COLORREF LINK_COLOUR = RGB(0, 80, 180);

LRESULT CALLBACK aboutWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Application* app = applicationOf(window, message, lParam);
    if (!app) return DefWindowProcW(window, message, wParam, lParam);
    return app->handleAboutMessage(window, message, wParam, lParam);
}

// The About window of that size over the middle of the main window, in screen pixels.
POINT centredOn(HWND mainWindow, const PixelRect& size) {
    RECT main{};
    GetWindowRect(mainWindow, &main);
    return {main.left + (main.right - main.left - size.width) / 2, main.top + (main.bottom - main.top - size.height) / 2};
}

}  // namespace

void Application::showAboutWindow() {
    registerWindowClass(instance_, ABOUT_WINDOW_CLASS, aboutWindowProc, 0, COLOR_BTNFACE);
    const std::wstring title = text(L"about.title") + L" " + kInstalledVersion;
    HWND about = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, ABOUT_WINDOW_CLASS, title.c_str(),
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, ABOUT_SIZE.width,
                                 ABOUT_SIZE.height, mainWindow_, nullptr, instance_, this);
    if (!about) return;
    // A dialog frame shows no icon in its title bar unless given one.
    SendMessageW(about, WM_SETICON, ICON_SMALL, GetClassLongPtrW(about, GCLP_HICONSM));
    SendMessageW(about, WM_SETICON, ICON_BIG, GetClassLongPtrW(about, GCLP_HICON));
    if (mainWindow_) EnableWindow(mainWindow_, FALSE);
    ShowWindow(about, SW_SHOW);
    UpdateWindow(about);
    modalUi_.runModalLoop(about);
    // A quit message ends the loop with the window still open: the main window must not stay disabled.
    if (IsWindow(about)) DestroyWindow(about);
    if (mainWindow_) {
        EnableWindow(mainWindow_, TRUE);
        SetForegroundWindow(mainWindow_);
    }
}

void Application::createAboutChildren(HWND window) {
    const auto orDefault = [](HFONT font) { return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); };
    const struct {
        const wchar_t* className;
        DWORD style;
        int id;
        PixelRect at96;
        std::wstring text;
        HFONT font;
    } children[] = {
        {L"STATIC", 0, 0, {78, 18, 320, 22}, L"Orvell Tessaro", fonts_.title.get()},
        {L"STATIC", 0, 0, {78, 48, 325, 42}, text(L"about.description"), fonts_.normal.get()},
        {L"STATIC", 0, 0, {78, 98, 325, 18}, text(L"about.website"), fonts_.normal.get()},
        {L"STATIC", SS_NOTIFY, AboutLinkId, {78, 118, 325, 20}, productPage_, fonts_.normal.get()},
        {L"BUTTON", WS_TABSTOP, AboutOpenButtonId, {188, 146, 118, 26}, text(L"button.openWebsite"), fonts_.button.get()},
        {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, AboutOkButtonId, {316, 146, 82, 26}, L"OK", fonts_.button.get()},
    };
    for (const auto& child : children) {
        const PixelRect place = scaledRect(child.at96, dpi_);
        HWND control = CreateWindowExW(0, child.className, child.text.c_str(), WS_CHILD | WS_VISIBLE | child.style,
                                       place.x, place.y, place.width, place.height, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), instance_, nullptr);
        if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(orDefault(child.font)), TRUE);
    }
    // The product icon left of the texts; loaded once, it lasts the process like the class icons.
    static const HANDLE aboutIcon = LoadImageW(instance_, MAKEINTRESOURCEW(TESSARO_ICON_ID), IMAGE_ICON, 48, 48, 0);
    const PixelRect iconPlace = scaledRect({18, 18, 48, 48}, dpi_);
    HWND icon = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, iconPlace.x,
                                iconPlace.y, iconPlace.width, iconPlace.height, window, nullptr, instance_, nullptr);
    if (icon) SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(aboutIcon), 0);
}

LRESULT Application::handleAboutMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        if (mainWindow_) {
            const PixelRect size = scaledRect(ABOUT_SIZE, dpi_);
            const POINT corner = centredOn(mainWindow_, size);
            SetWindowPos(window, nullptr, corner.x, corner.y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        createAboutChildren(window);
        return 0;
    }
    case WM_SETCURSOR:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) == AboutLinkId) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == AboutLinkId) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, LINK_COLOUR);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case AboutOpenButtonId:
        case AboutLinkId:
            // Clicks only: a notifying static also reports double clicks and enabling.
            if (HIWORD(wParam) == BN_CLICKED) modalUi_.openInShell(window, productPage_);
            return 0;
        case IDOK:
        case AboutOkButtonId:
        case IDCANCEL:
            DestroyWindow(window);
            return 0;
        default:
            return 0;
        }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
