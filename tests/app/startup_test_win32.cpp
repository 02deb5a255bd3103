// Start-up, the create sequence, timers and shutdown of the main window.
#include "app_test_support_win32.h"

#include "app/control_ids.h"
#include "app/update_check_result.h"

#include <gtest/gtest.h>

namespace {

class StartupTest : public testing::Test {
protected:
    void SetUp() override { removeSettingsFolder(); }
    void TearDown() override { removeSettingsFolder(); }
};

bool timerWasPending(HWND window, UINT_PTR id) { return KillTimer(window, id) != FALSE; }

TEST_F(StartupTest, FirstStartShowsTheDefaultDesignInSpanishMillimetres) {
    AppHarness harness;
    Application& app = harness.app();
    ASSERT_TRUE(harness.window());

    EXPECT_EQ(app.currentLanguage, L"es");
    EXPECT_FALSE(app.useInches);
    EXPECT_TRUE(app.changeTrackingEnabled);
    EXPECT_EQ(textOf(harness.window()), L"Orvell Tessaro 0.1.0");

    const struct {
        HWND control;
        const wchar_t* text;
    } shown[] = {
        {app.widthEdit, L"200"},       {app.heightEdit, L"100"},        {app.depthEdit, L"150"},
        {app.thicknessCombo, L"3"},    {app.kerfEdit, L"0.15"},         {app.clearanceEdit, L"0.1"},
        {app.spacingEdit, L"12"},      {app.toolDiameterCombo, L"3.175"}, {app.fingersWidthCombo, L"3"},
        {app.fingersDepthCombo, L"2"}, {app.fingersHeightCombo, L"1"},  {app.widthLabel, L"Ancho mm"},
        {app.toolDiameterLabel, L"Diam. herramienta mm"},                {app.addLidBox, L"Agregar tapa"},
        {app.checkUpdatesBox, L"Buscar actualizaciones al iniciar"},
    };
    for (const auto& s : shown) EXPECT_EQ(textOf(s.control), s.text);
    EXPECT_EQ(comboItems(app.unitsCombo), (std::vector<std::wstring>{L"Milimetros (mm)", L"Pulgadas (in)"}));
    EXPECT_EQ(comboSelection(app.unitsCombo), 0);
    EXPECT_EQ(comboSelection(app.languageCombo), 1);  // English, Español, then files
    EXPECT_EQ(comboSelection(app.renderEngineCombo), 0);

    EXPECT_EQ(app.pieces.size(), 5u);
    EXPECT_EQ(app.parameters.inputWidth, 200.0);
    EXPECT_EQ(textOf(app.statusLine), L"Piezas: 5 | unidades mm | Exportacion DXF local | preview 2D | doble buffer activo");

    // Filling the panel must not have armed the edit timer; the update check is armed (box checked).
    EXPECT_FALSE(timerWasPending(harness.window(), REGENERATE_TIMER));
    EXPECT_TRUE(timerWasPending(harness.window(), UPDATE_CHECK_TIMER));
}

TEST_F(StartupTest, ShutdownSavesWhatThePanelHolds) {
    AppHarness harness;
    Application& app = harness.app();
    ASSERT_TRUE(harness.window());
    // Changes that were never regenerated still reach the file through the destroy handler.
    app.changeTrackingEnabled = false;
    SetWindowTextW(app.widthEdit, L"123.5");
    SendMessageW(app.addLidBox, BM_SETCHECK, BST_CHECKED, 0);
    DeleteFileW(settingsFilePath().c_str());
    ASSERT_FALSE(settingsFileExists());

    harness.close();
    EXPECT_FALSE(IsWindow(app.mainWindow));
    const std::string saved = readSettingsFile();
    EXPECT_NE(saved.find("\"widthMm\": 123.500000"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\"includeLid\": true"), std::string::npos);
    EXPECT_NE(saved.find("\"language\": \"es\""), std::string::npos);
    EXPECT_NE(saved.find("\"units\": \"mm\""), std::string::npos);
}

TEST_F(StartupTest, ExitButtonSavesAndClosesTheWindow) {
    AppHarness harness;
    Application& app = harness.app();
    app.changeTrackingEnabled = false;
    SetWindowTextW(app.heightEdit, L"77");
    harness.command(ExitButtonId, BN_CLICKED, nullptr);
    EXPECT_FALSE(IsWindow(app.mainWindow));
    EXPECT_NE(readSettingsFile().find("\"heightMm\": 77.000000"), std::string::npos);
}

TEST_F(StartupTest, CommandsThatSaveWriteThePanelToTheSettingsFile) {
    AppHarness harness;
    Application& app = harness.app();
    const struct {
        int id;
        int code;
        bool saves;
    } commands[] = {
        {UpdateButtonId, BN_CLICKED, true},        {SaveSettingsCommandId, BN_CLICKED, true},
        {CheckUpdatesBoxId, BN_CLICKED, true},     {ServerAddressEditId, EN_KILLFOCUS, true},
        {ServerAddressEditId, EN_CHANGE, false},   {UnitsComboId, CBN_DROPDOWN, false},
        {TestServerButtonId, BN_CLICKED, false},   {WidthEditId, EN_KILLFOCUS, false},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(testing::Message() << "id " << c.id << " code " << c.code);
        DeleteFileW(settingsFilePath().c_str());
        harness.command(c.id, c.code, nullptr);
        EXPECT_EQ(settingsFileExists(), c.saves);
    }
    // Update also regenerates from the panel, even without a pending edit.
    app.changeTrackingEnabled = false;
    SetWindowTextW(app.depthEdit, L"180");
    harness.command(UpdateButtonId, BN_CLICKED, nullptr);
    EXPECT_DOUBLE_EQ(app.parameters.inputDepth, 180.0);
    EXPECT_EQ(textOf(app.statusLine).rfind(L"Piezas: 5 |", 0), 0u);
}

const char* const preparedSettings = R"({
  "version": 1,
  "app": "orvell-tessaro",
  "language": "en",
  "units": "in",
  "checkUpdatesOnStart": false,
  "preview3d": true,
  "render3dMode": 1,
  "design": {
    "widthMm": 254.000000,
    "heightMm": 127.000000,
    "depthMm": 101.600000,
    "thicknessMm": 6.350000,
    "kerfMm": 0.200000,
    "clearanceMm": 0.100000,
    "spacingMm": 12.000000,
    "fingerWidth": 0,
    "fingerDepth": 4,
    "fingerHeight": 2,
    "toolDiameterMm": 6.350000,
    "internalDimensions": true,
    "includeLid": true,
    "cncRouterMode": true
  }
}
)";

TEST_F(StartupTest, StoredSettingsFillThePanelInTheirLanguageAndUnit) {
    writeSettingsFile(preparedSettings);
    AppHarness harness;
    Application& app = harness.app();
    ASSERT_TRUE(harness.window());

    EXPECT_EQ(app.currentLanguage, L"en");
    EXPECT_TRUE(app.useInches);
    EXPECT_TRUE(app.show3D);
    EXPECT_EQ(app.renderMode, RenderMode::Gdi);
    const struct {
        HWND control;
        const wchar_t* text;
    } shown[] = {
        {app.widthEdit, L"10"},
        {app.heightEdit, L"5"},
        {app.depthEdit, L"4"},
        {app.thicknessCombo, L"0.25"},
        {app.kerfEdit, L"0.0079"},
        {app.clearanceEdit, L"0.0039"},
        {app.spacingEdit, L"0.4724"},
        {app.toolDiameterCombo, L"0.25"},
        {app.fingersWidthCombo, L"1"},  // the store repairs 0 to 1 before the panel sees it
        {app.fingersDepthCombo, L"4"},
        {app.fingersHeightCombo, L"2"},
        {app.widthLabel, L"Width in"},
        {app.toolDiameterLabel, L"Tool diameter in"},
        {app.internalDimensionsBox, L"Internal dimensions"},
    };
    for (const auto& s : shown) EXPECT_EQ(textOf(s.control), s.text);
    EXPECT_EQ(comboItems(app.thicknessCombo).front(), L"0.0625");
    EXPECT_EQ(comboItems(app.toolDiameterCombo).front(), L"0.0313");
    EXPECT_EQ(comboSelection(app.unitsCombo), 1);
    EXPECT_EQ(comboSelection(app.languageCombo), 0);
    EXPECT_EQ(comboSelection(app.renderEngineCombo), 1);
    for (HWND box : {app.internalDimensionsBox, app.addLidBox, app.cncRouterModeBox, app.preview3dBox}) {
        EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    }
    EXPECT_EQ(SendMessageW(app.checkUpdatesBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    EXPECT_NEAR(app.parameters.inputWidth, 254.0, 1e-9);
    EXPECT_EQ(app.parameters.fingerCountDepth, 4);
    EXPECT_EQ(app.parameters.cutMode, CutMode::CncRouter);
    EXPECT_EQ(app.parameters.dimensionMode, DimensionMode::Internal);
    EXPECT_EQ(textOf(app.statusLine), L"Pieces: " + std::to_wstring(app.pieces.size()) +
                                          L" | units in | Local DXF export | preview 3D / motor GDI compatible"
                                          L" | double buffer active");
    EXPECT_EQ(app.pieces.size(), 6u);  // with the lid
    EXPECT_FALSE(timerWasPending(harness.window(), UPDATE_CHECK_TIMER));
}

TEST_F(StartupTest, UnitsAreInchesOnlyForExactlyLowerCaseIn) {
    std::string text = preparedSettings;
    text.replace(text.find("\"in\""), 4, "\"IN\"");
    writeSettingsFile(text);
    AppHarness harness;
    EXPECT_FALSE(harness.app().useInches);
    EXPECT_EQ(textOf(harness.app().widthEdit), L"254");
    harness.close();
    EXPECT_NE(readSettingsFile().find("\"units\": \"mm\""), std::string::npos);
}

TEST_F(StartupTest, TimersAndTheWorkerMessageAreHandledOnce) {
    AppHarness harness;
    HWND window = harness.window();
    // The update-check timer kills itself.
    EXPECT_EQ(SendMessageW(window, WM_TIMER, UPDATE_CHECK_TIMER, 0), 0);
    EXPECT_FALSE(timerWasPending(window, UPDATE_CHECK_TIMER));
    // A worker's record is taken and freed; a null one is ignored.
    EXPECT_EQ(SendMessageW(window, WM_UPDATE_CHECK_RESULT, 1, reinterpret_cast<LPARAM>(new UpdateCheckResult{})), 0);
    EXPECT_EQ(SendMessageW(window, WM_UPDATE_CHECK_RESULT, 0, 0), 0);
    // Opening the product page goes through the shell and says so.
    harness.command(WebsiteButtonId, BN_CLICKED, harness.app().websiteButton);
    ASSERT_EQ(harness.modalUi.opened.size(), 1u);
    EXPECT_EQ(harness.modalUi.opened[0].rfind(L"https://", 0), 0u);
    EXPECT_EQ(textOf(harness.app().statusLine), L"Abriendo pagina de Orvell Tessaro...");
    EXPECT_TRUE(harness.modalUi.messages.empty());
}

}  // namespace
