// The main window at its screen's DPI (TESSARO_DPI, else 96), then moved to a screen at the other of 96
// and 144.
#include "shell_fixture_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Windows 10's, beyond the Windows 7 headers the build uses.
extern "C" WINUSERAPI UINT WINAPI GetDpiForWindow(HWND window);

namespace {

// Where the width and depth fields and the preview sit (client pixels), the fields' font, and whether
// the longest check box text fits beside its box.
struct Look {
    RECT width;
    RECT depth;
    RECT preview;
    LOGFONTW font;
    bool checkTextFits;
};

Look lookOf(Shell& shell) {
    Look look{};
    const std::pair<HWND, RECT*> placed[] = {{shell.control(WidthEditId), &look.width},
                                             {shell.control(DepthEditId), &look.depth},
                                             {shell.app().previewWindow(), &look.preview}};
    for (const auto& [window, rect] : placed) {
        GetWindowRect(window, rect);
        MapWindowPoints(nullptr, shell.window(), reinterpret_cast<POINT*>(rect), 2);
    }
    const auto fieldFont = reinterpret_cast<HFONT>(SendMessageW(shell.control(WidthEditId), WM_GETFONT, 0, 0));
    GetObjectW(fieldFont, sizeof look.font, &look.font);
    HWND box = shell.control(CheckUpdatesBoxId);
    const std::wstring text = windowTextOf(box);
    const WindowDc dc(box);
    const ScopedSelection font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    RECT client{};
    GetClientRect(box, &client);
    look.checkTextFits = size.cx + GetSystemMetrics(SM_CXMENUCHECK) <= client.right;
    return look;
}

}  // namespace

TEST(HighDpi, ThePanelItsFontsAndThePreviewFollowTheWindowsDpi) {
    const char* screenDpi = std::getenv("TESSARO_DPI");
    const int dpi = screenDpi ? std::atoi(screenDpi) : 96;
    const int other = dpi == 96 ? 144 : 96;
    Shell shell(true);
    EXPECT_EQ(GetDpiForWindow(shell.window()), static_cast<UINT>(dpi));
    const Look before = lookOf(shell);
    RECT suggested{40, 30, 1300, 960};
    SendMessageW(shell.window(), WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    RECT taken{};
    GetWindowRect(shell.window(), &taken);
    EXPECT_TRUE(EqualRect(&taken, &suggested));
    const Look after = lookOf(shell);
    const Look& at96 = dpi == 96 ? before : after;
    const Look& at144 = dpi == 96 ? after : before;
    EXPECT_NEAR((at144.depth.top - at144.width.top) * 2, (at96.depth.top - at96.width.top) * 3, 2);
    EXPECT_EQ(at144.font.lfHeight * 2, at96.font.lfHeight * 3);
    EXPECT_EQ(at144.preview.left * 2, previewRect(ClientArea{}).x * 3);
    EXPECT_TRUE(at96.checkTextFits);
    EXPECT_TRUE(at144.checkTextFits);
}
