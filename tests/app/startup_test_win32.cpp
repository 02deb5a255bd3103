// Start-up and shutdown, the settings store, typing into the panel and the unit switch.
#include "shell_fixture_win32.h"

#include "app/design_history.h"
#include "settings/app_settings.h"
#include "settings/file_io.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <filesystem>

namespace {

using Startup = FreshSettings;

bool timerWasPending(HWND window, UINT_PTR id) { return KillTimer(window, id) != FALSE; }

TEST_F(Startup, FirstStartShowsTheDefaultDesignAndShutdownSavesThePanel) {
    Shell shell;
    EXPECT_EQ(windowTextOf(shell.window()), L"Orvell Tessaro 0.1.0");
    BoxParameters defaults;
    validateParameters(defaults);
    EXPECT_TRUE(sameDesign(shell.app().design(), defaults)) << "the panel shows the model's defaults";
    EXPECT_EQ(shell.status(), L"Piezas: 5 | unidades mm | Exportacion DXF local | preview 2D | doble buffer activo");
    EXPECT_EQ(readSettingsFile(), writeSettingsJson(AppSettings{}));
    // Filling the panel armed no edit timer; the update check is armed, its box being checked.
    EXPECT_FALSE(timerWasPending(shell.window(), REGENERATE_TIMER));
    EXPECT_TRUE(timerWasPending(shell.window(), UPDATE_CHECK_TIMER));

    shell.type(WidthEditId, L"123.5");
    shell.click(AddLidBoxId);
    shell.close();
    const AppSettings saved = loadSettings();
    const AppSettings changed{.design = {.inputWidth = 123.5, .includeLid = true}, .windowX = saved.windowX,
                              .windowY = saved.windowY, .windowWidth = saved.windowWidth,
                              .windowHeight = saved.windowHeight};
    EXPECT_EQ(saved, changed) << "the two changes and the window's place, nothing else";
}

TEST_F(Startup, StoredSettingsFillThePanelInTheirLanguageAndUnit) {
    // "IN": the unit is told in any letter case.
    writeSettingsFile(R"({"language": "en", "units": "IN", "checkUpdatesOnStart": false, "preview3d": true,
        "render3dMode": 1, "widthMm": 254.0, "depthMm": 101.6, "kerfMm": 0.2, "fingerWidth": 0, "fingerDepth": 4,
        "toolDiameterMm": 6.35, "internalDimensions": true, "includeLid": true, "cncRouterMode": true,
        "thicknessMm": 6.35, "widthDividers": 1, "dividerBaseSlots": true})");
    Shell shell;
    const std::pair<int, const wchar_t*> shown[] = {
        {WidthEditId, L"10"},           {DepthEditId, L"4"},         {KerfEditId, L"0.0079"},
        {ToolDiameterComboId, L"0.25"}, {FingersWidthComboId, L"1"}, {FingersDepthComboId, L"4"},
        {WidthDividersComboId, L"1"},   {InternalDimensionsBoxId, L"Internal dimensions"},
        {TestServerButtonId, L"Test DXF server"},
    };
    for (const auto& [id, text] : shown) EXPECT_EQ(shell.text(id), text) << id;
    for (int box : {InternalDimensionsBoxId, AddLidBoxId, CncRouterModeBoxId, Preview3dBoxId, DividerBaseSlotsBoxId})
        EXPECT_EQ(SendMessageW(shell.control(box), BM_GETCHECK, 0, 0), BST_CHECKED) << box;
    EXPECT_EQ(SendMessageW(shell.control(RenderEngineComboId), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(shell.status(), L"Pieces: 8 | units in | Local DXF export | preview 3D / motor GDI compatible"
                              L" | double buffer active");
    EXPECT_NEAR(shell.app().design().inputWidth, 254.0, 1e-9);
    EXPECT_FALSE(timerWasPending(shell.window(), UPDATE_CHECK_TIMER));
}

// The prefix's real application-data folder: config.ini beside the program gives first-run values
// only, and an older product's file is migrated once.
TEST_F(Startup, ConfigIniAndTheOlderFileAreReadOnlyWhenNoSettingsExist) {
    wchar_t appData[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData)));
    const std::wstring older = std::wstring(appData) + L"\\Velmora\\VM Tessaro";
    const std::wstring ini = moduleFolder() + L"\\config.ini";
    writeBytes(ini, "[preferences]\nunits=INCH\nlanguage=pt\n[preview]\nview_3d=1\nrender_3d_mode=5\n");
    AppSettings expected{.preview3d = true, .units = L"in", .language = L"pt"};
    EXPECT_EQ(loadSettings(), expected);
    EXPECT_EQ(readSettingsFile(), writeSettingsJson(expected));
    writeBytes(ini, "[preferences]\nlanguage=fr\n");
    EXPECT_EQ(loadSettings(), expected) << "read again once settings exist";

    removeSettingsFolder();
    std::filesystem::create_directories(fsPath(older));
    writeBytes(older + L"\\settings.json", R"({"units": "IN", "design": {"depthMm": 88}})");
    expected = {.units = L"IN", .design = {.inputDepth = 88}};
    EXPECT_EQ(loadSettings(), expected);
    EXPECT_EQ(readSettingsFile(), writeSettingsJson(expected));
    std::filesystem::remove(fsPath(ini));
    std::filesystem::remove_all(fsPath(parentPath(older)));
}

// Every text given to the status line, in order.
std::vector<std::wstring>* statusTexts = nullptr;
WNDPROC statusProcedure = nullptr;

LRESULT CALLBACK recordStatus(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) statusTexts->push_back(reinterpret_cast<const wchar_t*>(lParam));
    return CallWindowProcW(statusProcedure, window, message, wParam, lParam);
}

TEST_F(Startup, TypingRegeneratesOnceAfterTheLastEdit) {
    Shell shell;
    std::vector<std::wstring> texts;
    statusTexts = &texts;
    statusProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(shell.app().statusLine(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordStatus)));
    const auto regenerations = [&] {
        const auto regenerated = [](const std::wstring& text) { return text.starts_with(L"Piezas:"); };
        return std::count_if(texts.begin(), texts.end(), regenerated);
    };
    // Two edits 200 ms apart; a machine that stalls past the delay between them tries again.
    bool pairedInTime = false;
    for (int attempt = 0; attempt < 5 && !pairedInTime; ++attempt) {
        SendMessageW(shell.window(), WM_TIMER, REGENERATE_TIMER, 0);
        texts.clear();
        const ULONGLONG first = GetTickCount64();
        shell.type(WidthEditId, L"300");
        EXPECT_EQ(shell.status(), L"Cambios detectados. Actualizando modelo...");
        pumpMessagesFor(200);
        shell.type(ThicknessComboId, L"4");
        pairedInTime = GetTickCount64() - first < REGENERATE_DELAY_MS - 20;
    }
    ASSERT_TRUE(pairedInTime);
    EXPECT_EQ(regenerations(), 0);
    ASSERT_TRUE(pumpUntil([&] { return regenerations() > 0; }, 5000));
    pumpMessagesFor(500);  // long enough for a second, wrong, timer to fire
    EXPECT_EQ(regenerations(), 1);
    EXPECT_EQ(shell.app().design().materialThickness, 4.0);
    EXPECT_EQ(loadSettings().design.inputWidth, 300.0) << "the regeneration saved the design";

    // A refused design keeps the last pieces and shows the model's words.
    shell.type(WidthEditId, L"0");
    SendMessageW(shell.window(), WM_TIMER, REGENERATE_TIMER, 0);
    EXPECT_EQ(shell.status(), L"Parametros invalidos: El ancho debe ser mayor a 0 mm.");
    EXPECT_EQ(shell.app().design().inputWidth, 300.0);
    SetWindowLongPtrW(shell.app().statusLine(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(statusProcedure));
}

TEST_F(Startup, TheUnitSwitchConvertsEveryFieldAndBack) {
    Shell shell;
    shell.choose(UnitsComboId, 1);
    const std::pair<int, const wchar_t*> inches[] = {
        {WidthEditId, L"7.874"}, {DepthEditId, L"5.9055"}, {KerfEditId, L"0.0059"}, {ThicknessComboId, L"0.1181"},
        {ToolDiameterComboId, L"0.125"},
    };
    for (const auto& [id, text] : inches) EXPECT_EQ(shell.text(id), text) << id;
    EXPECT_EQ(shell.status(), L"Unidades cambiadas a pulgadas. El motor interno conserva milimetros.");
    EXPECT_NEAR(shell.app().design().inputWidth, 199.9996, 1e-9) << "regenerated from the rounded inches";
    EXPECT_EQ(loadSettings().units, L"in");
    EXPECT_FALSE(timerWasPending(shell.window(), REGENERATE_TIMER)) << "converting is no edit";

    shell.choose(UnitsComboId, 0);
    EXPECT_EQ(shell.text(WidthEditId), L"199.9996");
    EXPECT_EQ(shell.text(ToolDiameterComboId), L"3.175");
    EXPECT_EQ(shell.status(), L"Unidades cambiadas a milimetros.");
    EXPECT_EQ(loadSettings().units, L"mm");
}

}  // namespace
