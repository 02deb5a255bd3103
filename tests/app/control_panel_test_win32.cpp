// The panel's controls, texts, tooltips, scrolling and what the window looks like.
#include "app_test_support_win32.h"

#include "app/control_ids.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <map>

namespace {

// The control's own visibility, whatever its parent's.
bool hasVisibleStyle(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

class ControlPanelTest : public testing::Test {
protected:
    void SetUp() override { removeSettingsFolder(); }
    void TearDown() override { removeSettingsFolder(); }
};

TEST_F(ControlPanelTest, EveryRowIsCreatedWithItsIdRectangleAndStyle) {
    AppHarness harness;
    Application& app = harness.app();
    // The 50 rows of the panel and four more for the DXF server and the product page.
    ASSERT_EQ(app.layoutEntries.size(), 54u);
    for (const LayoutEntry& entry : app.layoutEntries) ASSERT_TRUE(entry.control);
    EXPECT_EQ(app.panelContentHeight, 1001);

    const struct {
        HWND control;
        int id;
        RECT rect;  // x, y, right, bottom as created (combos: with the dropped list)
        const wchar_t* className;
        DWORD styleBits;
    } rows[] = {
        {app.updateNotice, UpdateNoticeId, {22, 32, 302, 50}, L"Static", SS_NOTIFY},
        {app.languageCombo, LanguageComboId, {154, 78, 272, 258}, L"ComboBox", CBS_DROPDOWNLIST | WS_TABSTOP},
        {app.widthEdit, WidthEditId, {154, 199, 272, 221}, L"Edit", ES_AUTOHSCROLL | WS_TABSTOP},
        {app.thicknessCombo, ThicknessComboId, {154, 268, 272, 418}, L"ComboBox", CBS_DROPDOWN | CBS_AUTOHSCROLL},
        {app.fingersHeightCombo, FingersHeightComboId, {154, 437, 272, 617}, L"ComboBox", CBS_DROPDOWNLIST},
        {app.cncRouterModeBox, CncRouterModeBoxId, {22, 539, 302, 559}, L"Button", BS_AUTOCHECKBOX | WS_TABSTOP},
        {app.preview3dBox, Preview3dBoxId, {22, 625, 142, 645}, L"Button", BS_AUTOCHECKBOX},
        {app.aboutButton, AboutButtonId, {22, 801, 302, 827}, L"Button", BS_PUSHBUTTON | WS_TABSTOP},
        {app.resetButton, ResetButtonId, {22, 833, 302, 859}, L"Button", BS_PUSHBUTTON},
        {app.websiteButton, WebsiteButtonId, {22, 957, 302, 983}, L"Button", BS_PUSHBUTTON},
        {app.serverAddressEdit, ServerAddressEditId, {22, 927, 192, 949}, L"Edit", ES_AUTOHSCROLL | WS_TABSTOP},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "id " << row.id);
        ASSERT_TRUE(row.control);
        EXPECT_EQ(GetDlgCtrlID(row.control), row.id);
        const auto entry = std::find_if(app.layoutEntries.begin(), app.layoutEntries.end(),
                                        [&](const LayoutEntry& e) { return e.control == row.control; });
        ASSERT_NE(entry, app.layoutEntries.end());
        EXPECT_EQ(entry->x, row.rect.left);
        EXPECT_EQ(entry->y, row.rect.top);
        EXPECT_EQ(entry->x + entry->width, row.rect.right);
        EXPECT_EQ(entry->y + entry->height, row.rect.bottom);
        wchar_t className[32] = {};
        GetClassNameW(row.control, className, 32);
        EXPECT_EQ(lstrcmpiW(className, row.className), 0);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(row.control, GWL_STYLE)) & row.styleBits, row.styleBits);
    }
    EXPECT_FALSE(hasVisibleStyle(app.updateNotice));
    EXPECT_TRUE(hasVisibleStyle(app.widthEdit));
    EXPECT_EQ(SendMessageW(app.fingersWidthCombo, CB_GETCOUNT, 0, 0), 10);
    EXPECT_EQ(comboItems(app.thicknessCombo).size(), 12u);
    EXPECT_EQ(comboItems(app.toolDiameterCombo).size(), 9u);
    EXPECT_EQ(comboItems(app.renderEngineCombo),
              (std::vector<std::wstring>{L"Automatico", L"GDI compatible", L"Direct3D 9 GPU"}));
    EXPECT_EQ(GetWindowLongPtrW(app.statusLine, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetWindowLongPtrW(app.previewWindow, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_TRUE(harness.modalUi.messages.empty());  // the preview was created
    // The manifest asks for the current common controls, which load from the side-by-side store.
    HMODULE controls = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&InitCommonControlsEx)), &controls);
    wchar_t controlsPath[MAX_PATH] = {};
    GetModuleFileNameW(controls, controlsPath, MAX_PATH);
    EXPECT_TRUE(StrStrIW(controlsPath, L"common-controls_"));
}

TEST_F(ControlPanelTest, FontsHaveTheirPointSizesAtTheScreenDpi) {
    AppHarness harness;
    Application& app = harness.app();
    HDC dc = GetDC(harness.window());
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(harness.window(), dc);
    const struct {
        HFONT font;
        int points;
        LONG weight;
    } fonts[] = {{app.fontNormal, 9, FW_NORMAL}, {app.fontBold, 9, FW_BOLD}, {app.fontTitle, 12, FW_BOLD},
                 {app.fontButton, 9, FW_BOLD}};
    for (const auto& f : fonts) {
        LOGFONTW font{};
        ASSERT_TRUE(GetObjectW(f.font, sizeof font, &font));
        EXPECT_EQ(font.lfHeight, -MulDiv(f.points, dpi, 72));
        EXPECT_EQ(font.lfWeight, f.weight);
        EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    }
    if (dpi == 96) {
        LOGFONTW title{};
        GetObjectW(app.fontTitle, sizeof title, &title);
        EXPECT_EQ(title.lfHeight, -16);
    }
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(app.statusLine, WM_GETFONT, 0, 0)), app.fontBold);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(app.aboutButton, WM_GETFONT, 0, 0)), app.fontButton);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(app.widthEdit, WM_GETFONT, 0, 0)), app.fontNormal);
}

TEST_F(ControlPanelTest, LanguageChoiceRetextsEveryBoundControlAndKeepsSelections) {
    AppHarness harness;
    Application& app = harness.app();
    app.changeTrackingEnabled = false;
    SendMessageW(app.fingersDepthCombo, CB_SETCURSEL, 6, 0);
    app.changeTrackingEnabled = true;
    std::map<HWND, std::wstring> spanish;
    for (const TextBinding& binding : app.textBindings) spanish[binding.control] = textOf(binding.control);

    harness.choose(app.languageCombo, 0);  // English
    EXPECT_EQ(app.currentLanguage, L"en");
    ASSERT_EQ(app.textBindings.size(), 29u);
    int changed = 0;
    for (const TextBinding& binding : app.textBindings) {
        EXPECT_EQ(textOf(binding.control), app.languages.lookupText(binding.key)) << std::string(binding.key.begin(), binding.key.end());
        changed += textOf(binding.control) != spanish[binding.control] ? 1 : 0;
    }
    EXPECT_EQ(changed, 28);  // all but "app.title", which reads the same in both
    EXPECT_EQ(textOf(app.widthLabel), L"Width mm");
    EXPECT_EQ(comboItems(app.unitsCombo).front(), L"Millimeters (mm)");
    EXPECT_EQ(comboItems(app.renderEngineCombo).front(), L"Automatic");
    EXPECT_EQ(comboSelection(app.languageCombo), 0);
    EXPECT_EQ(comboSelection(app.unitsCombo), 0);
    EXPECT_EQ(comboSelection(app.fingersDepthCombo), 6);
    EXPECT_EQ(textOf(app.statusLine), L"Language changed.");
    EXPECT_NE(readSettingsFile().find("\"language\": \"en\""), std::string::npos);
    EXPECT_EQ(app.parameters.fingerCountDepth, 7);  // the language change regenerates

    harness.choose(app.languageCombo, 1);
    EXPECT_EQ(textOf(app.statusLine), L"Idioma cambiado.");
    EXPECT_EQ(textOf(app.widthLabel), L"Ancho mm");
    // No selection: nothing happens.
    SetWindowTextW(app.statusLine, L"kept");
    SendMessageW(app.languageCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    harness.command(LanguageComboId, CBN_SELCHANGE, app.languageCombo);
    EXPECT_EQ(textOf(app.statusLine), L"kept");
    // Other notifications of the language box are not a choice.
    harness.command(LanguageComboId, CBN_DROPDOWN, app.languageCombo);
    EXPECT_EQ(textOf(app.statusLine), L"kept");
}

LRESULT askTooltip(AppHarness& harness, HWND from, UINT_PTR toolId, NMTTDISPINFOW& info) {
    info = {};
    info.hdr.hwndFrom = from;
    info.hdr.idFrom = toolId;
    info.hdr.code = TTN_GETDISPINFOW;
    return SendMessageW(harness.window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
}

TEST_F(ControlPanelTest, TooltipsAnswerInTheCurrentLanguage) {
    AppHarness harness;
    Application& app = harness.app();
    ASSERT_TRUE(app.tooltipWindow);
    EXPECT_EQ(SendMessageW(app.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0), 31);
    EXPECT_EQ(app.tooltipBindings.size(), 31u);

    NMTTDISPINFOW info;
    const struct {
        HWND control;
        const wchar_t* spanish;
    } asked[] = {
        {app.widthLabel, L"Ancho total de la caja segun el modo de medidas elegido."},
        {app.widthEdit, L"Ancho total de la caja segun el modo de medidas elegido."},
        {app.fingersWidthCombo, L"Cantidad de dedos en bordes relacionados con el ancho. Valores fijos de 1 a 10."},
        {app.websiteButton, L"Abre la pagina oficial de Orvell Tessaro."},
    };
    for (const auto& a : asked) {
        EXPECT_EQ(askTooltip(harness, app.tooltipWindow, reinterpret_cast<UINT_PTR>(a.control), info), 0);
        ASSERT_TRUE(info.lpszText);
        EXPECT_STREQ(info.lpszText, a.spanish);
    }
    harness.choose(app.languageCombo, 0);
    askTooltip(harness, app.tooltipWindow, reinterpret_cast<UINT_PTR>(app.fingersWidthCombo), info);
    ASSERT_TRUE(info.lpszText);
    EXPECT_STREQ(info.lpszText, L"Number of fingers on width-related edges. Fixed values from 1 to 10.");

    // No binding, or not from our tooltip: default processing leaves the text alone.
    HWND unbound = GetDlgItem(harness.window(), ExitButtonId);
    askTooltip(harness, app.tooltipWindow, reinterpret_cast<UINT_PTR>(unbound), info);
    EXPECT_EQ(info.lpszText, nullptr);
    askTooltip(harness, app.widthEdit, reinterpret_cast<UINT_PTR>(app.widthEdit), info);
    EXPECT_EQ(info.lpszText, nullptr);
    EXPECT_EQ(SendMessageW(harness.window(), WM_NOTIFY, 0, 0), 0);
}

TEST_F(ControlPanelTest, PanelScrollsWithinItsContent) {
    AppHarness harness;
    Application& app = harness.app();
    HWND window = harness.window();
    const int content = app.panelContentHeight;

    // The test screen is lower than the whole panel, so a shorter panel stands in to see one that fits.
    app.panelContentHeight = 600;
    harness.setClientSize(1280, 650);
    EXPECT_FALSE(hasVisibleStyle(app.panelScrollBar));
    EXPECT_EQ(app.panelScrollPos, 0);
    app.panelContentHeight = content;

    harness.setClientSize(1280, 500);
    EXPECT_TRUE(hasVisibleStyle(app.panelScrollBar));
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    GetScrollInfo(app.panelScrollBar, SB_CTL, &bar);
    EXPECT_EQ(bar.nPage, 500u);
    EXPECT_EQ(bar.nMax, content - 1);
    const int last = content - 500;

    const struct {
        int request;
        int from;
        int expected;
    } requests[] = {
        {SB_LINEDOWN, 0, 24},       {SB_LINEUP, 24, 0},         {SB_LINEUP, 0, 0},
        {SB_PAGEDOWN, 0, 500},      {SB_PAGEDOWN, 500, last},   {SB_PAGEUP, last, last - 500},
        {SB_BOTTOM, 0, last},       {SB_TOP, last, 0},          {SB_LINEDOWN, last, last},
        {SB_ENDSCROLL, 100, 100},   {SB_THUMBPOSITION, 60, 60},
    };
    for (const auto& r : requests) {
        SCOPED_TRACE(testing::Message() << "request " << r.request << " from " << r.from);
        app.scrollPanelTo(r.from);
        ASSERT_EQ(app.panelScrollPos, r.from);
        SendMessageW(window, WM_VSCROLL, MAKEWPARAM(r.request, 0), reinterpret_cast<LPARAM>(app.panelScrollBar));
        EXPECT_EQ(app.panelScrollPos, r.expected);
        EXPECT_EQ(childRect(app.widthEdit).top, 199 - r.expected);
        GetScrollInfo(app.panelScrollBar, SB_CTL, &bar);
        EXPECT_EQ(bar.nPos, r.expected);
    }

    // A request that changes nothing does not lay the panel out again.
    app.scrollPanelTo(0);
    MoveWindow(app.widthEdit, 154, 333, 118, 22, FALSE);
    SendMessageW(window, WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), reinterpret_cast<LPARAM>(app.panelScrollBar));
    EXPECT_EQ(childRect(app.widthEdit).top, 333);
    app.layoutControls();

    // Wheel: whole notches over the panel strip only.
    const struct {
        int x;
        int delta;
        int from;
        int expected;
    } wheels[] = {
        {100, -120, 0, 60}, {100, -240, 60, 180}, {100, 120, 180, 120}, {100, 60, 120, 120},
        {325, -120, 0, 60}, {326, -120, 0, 0},    {700, 120, 100, 100}, {100, 360, 100, 0},
        {100, -1200, last - 10, last},
    };
    for (const auto& w : wheels) {
        SCOPED_TRACE(testing::Message() << "wheel x " << w.x << " delta " << w.delta);
        app.scrollPanelTo(w.from);
        POINT cursor{w.x, 200};
        ClientToScreen(window, &cursor);
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(w.delta))),
                     MAKELPARAM(cursor.x, cursor.y));
        EXPECT_EQ(app.panelScrollPos, w.expected);
    }

    // Growing the window past the content shows everything from the top again.
    app.scrollPanelTo(last);
    app.panelContentHeight = 600;
    harness.setClientSize(1280, 601);
    EXPECT_EQ(app.panelScrollPos, 0);
    EXPECT_FALSE(hasVisibleStyle(app.panelScrollBar));
    EXPECT_EQ(childRect(app.widthEdit).top, 199);
}

TEST_F(ControlPanelTest, LayoutPlacesPreviewAndStatusLineBesideThePanel) {
    AppHarness harness;
    Application& app = harness.app();
    const struct {
        int width, height;
    } sizes[] = {{1264, 861}, {800, 600}, {340, 30}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        harness.setClientSize(size.width, size.height);
        RECT client{};
        GetClientRect(harness.window(), &client);
        const int w = client.right, h = client.bottom;
        const RECT preview = childRect(app.previewWindow);
        EXPECT_EQ(preview.left, 336);
        EXPECT_EQ(preview.top, 12);
        EXPECT_EQ(preview.right - preview.left, std::max(1, w - 348));
        EXPECT_EQ(preview.bottom - preview.top, std::max(1, h - 54));
        const RECT status = childRect(app.statusLine);
        EXPECT_EQ(status.left, 336);
        EXPECT_EQ(status.top, std::max(12, h - 34));
        EXPECT_EQ(status.bottom - status.top, 22);
        const RECT bar = childRect(app.panelScrollBar);
        EXPECT_EQ(bar.left, 312);
        EXPECT_EQ(bar.right - bar.left, 14);
        EXPECT_EQ(bar.bottom - bar.top, h);
    }
}

TEST_F(ControlPanelTest, TabMovesToTheNextTabStopInCreationOrder) {
    AppHarness harness(true);
    Application& app = harness.app();
    SetForegroundWindow(harness.window());
    SetFocus(app.widthEdit);
    ASSERT_EQ(GetFocus(), app.widthEdit);
    MSG tab{};
    tab.hwnd = app.widthEdit;
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    EXPECT_TRUE(IsDialogMessageW(harness.window(), &tab));
    EXPECT_EQ(GetFocus(), app.heightEdit);
}

COLORREF pixelAt(HDC dc, int x, int y) { return GetPixel(dc, x, y) & 0xFFFFFF; }

TEST_F(ControlPanelTest, ShownWindowHasPanelPreviewAndStatusWhereTheLayoutPutsThem) {
    AppHarness harness(true);
    Application& app = harness.app();
    pumpMessagesFor(300);
    RECT client{};
    GetClientRect(harness.window(), &client);
    ASSERT_GT(client.bottom, 700);

    // Take the picture from the window's own surface, so windows of other programs cannot cover it.
    HDC windowDc = GetDC(harness.window());
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP picture = CreateCompatibleBitmap(windowDc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);

    const COLORREF face = GetSysColor(COLOR_BTNFACE) & 0xFFFFFF;
    const COLORREF windowColour = GetSysColor(COLOR_WINDOW) & 0xFFFFFF;
    EXPECT_EQ(pixelAt(memory, 4, 4), face);                                        // panel background
    EXPECT_EQ(pixelAt(memory, 330, 300), face);                                    // gap before the preview
    EXPECT_EQ(pixelAt(memory, client.right / 2 + 150, client.bottom / 2), windowColour);  // preview surface
    EXPECT_EQ(pixelAt(memory, 262, 203), windowColour);                            // inside the width box
    // The status line holds dark text somewhere along its left part.
    const RECT status = childRect(app.statusLine);
    int dark = 0;
    for (int x = status.left + 2; x < status.left + 300; ++x) {
        for (int y = status.top + 2; y < status.bottom - 2; ++y) {
            const COLORREF c = pixelAt(memory, x, y);
            dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 200 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 20);
    // Nothing of the panel spills over the preview's left edge.
    int nonPreview = 0;
    for (int y = 40; y < client.bottom - 80; y += 7) nonPreview += pixelAt(memory, 345, y) != windowColour ? 1 : 0;
    EXPECT_EQ(nonPreview, 0);

    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(harness.window(), windowDc);
}

}  // namespace
