// The modal About window: its contents, the keys and clicks that close it or open the product page,
// and the main window disabled exactly while it is open. Each opening is driven by messages posted
// before its loop runs.
#include "app_test_support_win32.h"

#include "app/control_ids.h"
#include "app/product_info.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

class AboutWindowTest : public testing::Test {
protected:
    void SetUp() override { removeSettingsFolder(); }
    void TearDown() override { removeSettingsFolder(); }
};

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
    return children;
}

// Opens About from its button; inside() runs once the window exists, before its loop.
void openAbout(AppHarness& harness, const std::function<void(HWND)>& inside) {
    harness.modalUi.beforeModalLoop = inside;
    harness.command(AboutButtonId, BN_CLICKED, harness.app().aboutButton);
    harness.modalUi.beforeModalLoop = nullptr;
}

void expectClosed(AppHarness& harness) {
    EXPECT_EQ(FindWindowW(L"OrvellTessaroAboutWindow", nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(harness.window()));
}

TEST_F(AboutWindowTest, ShowsTheProductItsPageAndTwoButtonsOverTheMainWindow) {
    AppHarness harness(true);
    Application& app = harness.app();
    // Twice: the second class registration fails and the window still comes up the same.
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening);
        bool seen = false;
        openAbout(harness, [&](HWND about) {
            seen = true;
            EXPECT_FALSE(IsWindowEnabled(harness.window()));
            EXPECT_TRUE(IsWindowVisible(about));
            EXPECT_EQ(classOf(about), L"OrvellTessaroAboutWindow");
            EXPECT_EQ(GetWindow(about, GW_OWNER), harness.window());
            EXPECT_EQ(textOf(about), L"Acerca de Orvell Tessaro 0.1.0");
            const LONG style = GetWindowLongW(about, GWL_STYLE);
            const LONG exStyle = GetWindowLongW(about, GWL_EXSTYLE);
            EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
            EXPECT_EQ(exStyle & (WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT), WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
            RECT main{}, box{};
            GetWindowRect(harness.window(), &main);
            GetWindowRect(about, &box);
            EXPECT_EQ(box.right - box.left, 430);
            EXPECT_EQ(box.bottom - box.top, 205);
            EXPECT_EQ(box.left, main.left + (main.right - main.left - 430) / 2);
            EXPECT_EQ(box.top, main.top + (main.bottom - main.top - 205) / 2);

            const struct {
                const wchar_t* className;
                int id;
                RECT rect;
                const wchar_t* text;
                HFONT font;
                LONG style;
            } expected[] = {
                {L"Static", 0, {18, 18, 398, 40}, L"Orvell Tessaro", app.fontTitle, 0},
                {L"Static", 0, {18, 48, 403, 90},
                 L"Herramienta liviana Win32 para dise\u00F1ar cajas, generar planos 2D, archivos DXF y vista previa 3D.",
                 app.fontNormal, 0},
                {L"Static", 0, {18, 98, 403, 116}, L"Pagina oficial: ", app.fontNormal, 0},
                {L"Static", AboutLinkId, {18, 118, 403, 138}, productWebPage, app.fontNormal, SS_NOTIFY},
                {L"Button", AboutOpenButtonId, {188, 146, 306, 172}, L"Abrir sitio web", app.fontButton, WS_TABSTOP},
                {L"Button", AboutOkButtonId, {316, 146, 398, 172}, L"OK", app.fontButton,
                 WS_TABSTOP | BS_DEFPUSHBUTTON},
            };
            const std::vector<HWND> children = childrenOf(about);
            ASSERT_EQ(children.size(), std::size(expected));
            for (size_t i = 0; i < children.size(); ++i) {
                SCOPED_TRACE(expected[i].text);
                HWND child = children[i];
                EXPECT_EQ(_wcsicmp(classOf(child).c_str(), expected[i].className), 0) << classOf(child);
                if (expected[i].id) {
                    EXPECT_EQ(GetDlgCtrlID(child), expected[i].id);
                }
                const RECT rect = childRect(child);
                EXPECT_TRUE(EqualRect(&rect, &expected[i].rect))
                    << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
                EXPECT_EQ(textOf(child), expected[i].text);
                EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), expected[i].font);
                EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & expected[i].style, expected[i].style);
                EXPECT_TRUE(IsWindowVisible(child));
            }
            PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        EXPECT_TRUE(seen);
        expectClosed(harness);
        EXPECT_EQ(harness.modalUi.modalLoops, opening);
    }
    EXPECT_TRUE(harness.modalUi.opened.empty());
}

TEST_F(AboutWindowTest, KeysAndButtonsCloseItAndTheLinkOpensTheProductPage) {
    AppHarness harness(true);
    struct Case {
        const char* name;
        void (*act)(HWND about);
        size_t opens;
    };
    const Case cases[] = {
        {"Escape", [](HWND about) { PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0); }, 0},
        {"Enter", [](HWND about) { PostMessageW(about, WM_KEYDOWN, VK_RETURN, 0); }, 0},
        {"OK button", [](HWND about) { PostMessageW(GetDlgItem(about, AboutOkButtonId), BM_CLICK, 0, 0); }, 0},
        {"close box", [](HWND about) { PostMessageW(about, WM_CLOSE, 0, 0); }, 0},
        {"link",
         [](HWND about) {
             HWND link = GetDlgItem(about, AboutLinkId);
             PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
             PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
             PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
         },
         1},
        {"open button",
         [](HWND about) {
             PostMessageW(GetDlgItem(about, AboutOpenButtonId), BM_CLICK, 0, 0);
             PostMessageW(about, WM_KEYDOWN, VK_RETURN, 0);
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        harness.modalUi.opened.clear();
        openAbout(harness, c.act);
        expectClosed(harness);
        EXPECT_EQ(harness.modalUi.opened, std::vector<std::wstring>(c.opens, productWebPage));
    }
}

TEST_F(AboutWindowTest, LinkHasAHandCursorAndItsOwnColour) {
    AppHarness harness(true);
    openAbout(harness, [&](HWND about) {
        HWND link = GetDlgItem(about, AboutLinkId);
        HWND title = GetWindow(about, GW_CHILD);
        const struct {
            HWND child;
            bool hand;
        } cursors[] = {{link, true}, {title, false}, {about, false}};
        const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
        for (const auto& c : cursors) {
            SetCursor(nullptr);
            const LRESULT handled = SendMessageW(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(c.child),
                                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetCursor() == hand, c.hand) << textOf(c.child);
            if (c.hand) {
                EXPECT_TRUE(handled);
            }
        }

        HDC dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        const struct {
            HWND child;
            bool linkColours;
        } colours[] = {{link, true}, {title, false}};
        for (const auto& c : colours) {
            SetTextColor(dc, RGB(1, 2, 3));
            SetBkMode(dc, OPAQUE);
            const LRESULT brush = SendMessageW(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                               reinterpret_cast<LPARAM>(c.child));
            EXPECT_EQ(brush == reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), c.linkColours);
            EXPECT_EQ(GetTextColor(dc) == RGB(0, 80, 180), c.linkColours);
            EXPECT_EQ(GetBkMode(dc) == TRANSPARENT, c.linkColours);
        }
        DeleteDC(dc);
        PostMessageW(about, WM_CLOSE, 0, 0);
    });
    expectClosed(harness);
}

TEST_F(AboutWindowTest, MissingFontsFallBackToTheStockFont) {
    AppHarness harness;
    Application& app = harness.app();
    const HFONT title = app.fontTitle, button = app.fontButton;
    app.fontTitle = nullptr;
    app.fontButton = nullptr;
    openAbout(harness, [&](HWND about) {
        const auto stock = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(GetWindow(about, GW_CHILD), WM_GETFONT, 0, 0)), stock);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageW(about, AboutOkButtonId, WM_GETFONT, 0, 0)), stock);
        PostMessageW(about, WM_CLOSE, 0, 0);
    });
    app.fontTitle = title;
    app.fontButton = button;
    expectClosed(harness);
}

TEST_F(AboutWindowTest, AQuitMessageClosesItAndStillReachesTheOuterLoop) {
    AppHarness harness;
    openAbout(harness, [](HWND) { PostQuitMessage(7); });
    expectClosed(harness);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

}  // namespace
