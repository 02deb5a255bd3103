// Reading and writing the panel, delayed regeneration and the units switch.
#include "app_test_support_win32.h"

#include "app/control_ids.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class ParameterEntryTest : public testing::Test {
protected:
    void SetUp() override { removeSettingsFolder(); }
    void TearDown() override { removeSettingsFolder(); }
};

// Every text given to the status line, in order.
std::vector<std::wstring>* statusLog = nullptr;
WNDPROC statusProcedure = nullptr;

LRESULT CALLBACK recordStatus(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && statusLog) statusLog->push_back(reinterpret_cast<const wchar_t*>(lParam));
    return CallWindowProcW(statusProcedure, window, message, wParam, lParam);
}

class StatusRecorder {
public:
    explicit StatusRecorder(HWND statusLine) : statusLine_(statusLine) {
        statusLog = &texts;
        statusProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(statusLine, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordStatus)));
    }
    ~StatusRecorder() {
        if (IsWindow(statusLine_)) SetWindowLongPtrW(statusLine_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(statusProcedure));
        statusLog = nullptr;
    }
    int countStartingWith(const std::wstring& prefix) const {
        int count = 0;
        for (const std::wstring& text : texts) count += text.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }
    std::vector<std::wstring> texts;

private:
    HWND statusLine_;
};

std::wstring modelMessage(BoxParameters design) {
    try {
        validateParameters(design);
    } catch (const std::runtime_error& error) {
        const std::string text = error.what();
        return std::wstring(text.begin(), text.end());
    }
    return L"(accepted)";
}

TEST_F(ParameterEntryTest, TypingRestartsTheDelayAndRegeneratesOnceAfterTheLastEdit) {
    AppHarness harness;
    Application& app = harness.app();
    StatusRecorder status(app.statusLine);

    // Two edits about 200 ms apart; a machine that stalls past the delay between them is retried.
    bool pairedInTime = false;
    for (int attempt = 0; attempt < 5 && !pairedInTime; ++attempt) {
        SendMessageW(harness.window(), WM_TIMER, REGENERATE_TIMER, 0);
        status.texts.clear();
        const ULONGLONG first = GetTickCount64();
        SetWindowTextW(app.widthEdit, L"300");  // the edit notifies EN_CHANGE
        EXPECT_EQ(textOf(app.statusLine), L"Cambios detectados. Actualizando modelo...");
        pumpMessagesFor(200);
        SetWindowTextW(app.widthEdit, L"310");
        pairedInTime = GetTickCount64() - first < REGENERATE_DELAY_MS - 20;
    }
    ASSERT_TRUE(pairedInTime);
    EXPECT_EQ(status.countStartingWith(L"Piezas:"), 0);
    ASSERT_TRUE(pumpUntil([&] { return status.countStartingWith(L"Piezas:") > 0; }, 5000));
    pumpMessagesFor(500);  // long enough for a second, wrong, timer to fire
    EXPECT_EQ(status.countStartingWith(L"Piezas:"), 1);
    EXPECT_DOUBLE_EQ(app.parameters.inputWidth, 310.0);
    // The regeneration timer also saved the design.
    EXPECT_NE(readSettingsFile().find("\"widthMm\": 310.000000"), std::string::npos);
}

TEST_F(ParameterEntryTest, EveryTrackedControlMarksTheDesignChanged) {
    AppHarness harness;
    Application& app = harness.app();
    const struct {
        int id;
        int code;
        bool marks;
    } notifications[] = {
        {WidthEditId, EN_CHANGE, true},          {ToolDiameterComboId, CBN_EDITCHANGE, true},
        {FingersHeightComboId, CBN_SELCHANGE, true}, {ThicknessComboId, CBN_SELCHANGE, true},
        {InternalDimensionsBoxId, BN_CLICKED, true}, {CncRouterModeBoxId, BN_CLICKED, true},
        {WidthEditId, EN_KILLFOCUS, false},      {2012, EN_CHANGE, false},
        {2000, EN_CHANGE, false},                {3004, BN_CLICKED, false},
        {AddLidBoxId, BN_SETFOCUS, false},       {ServerAddressEditId, EN_CHANGE, false},
    };
    for (const auto& n : notifications) {
        SCOPED_TRACE(testing::Message() << "id " << n.id << " code " << n.code);
        SetWindowTextW(app.statusLine, L"");
        KillTimer(harness.window(), REGENERATE_TIMER);
        harness.command(n.id, n.code, nullptr);
        EXPECT_EQ(KillTimer(harness.window(), REGENERATE_TIMER) != FALSE, n.marks);
        EXPECT_EQ(textOf(app.statusLine) == L"Cambios detectados. Actualizando modelo...", n.marks);
    }
    // Without tracking nothing is armed.
    app.changeTrackingEnabled = false;
    harness.command(WidthEditId, EN_CHANGE, nullptr);
    EXPECT_FALSE(KillTimer(harness.window(), REGENERATE_TIMER));
}

TEST_F(ParameterEntryTest, AnInvalidDesignKeepsTheLastPiecesAndShowsTheModelsWords) {
    AppHarness harness;
    Application& app = harness.app();
    const PieceSet before = app.pieces;
    ASSERT_EQ(before.size(), 5u);

    SetWindowTextW(app.widthEdit, L"0");
    SendMessageW(harness.window(), WM_TIMER, REGENERATE_TIMER, 0);
    BoxParameters refused;
    refused.inputWidth = 0.0;
    EXPECT_EQ(textOf(app.statusLine), L"Parametros invalidos: " + modelMessage(refused));
    EXPECT_EQ(app.pieces.size(), before.size());
    EXPECT_DOUBLE_EQ(app.pieces[0].width, before[0].width);
    EXPECT_DOUBLE_EQ(app.parameters.inputWidth, 200.0);

    std::wstring error;
    BoxParameters read;
    EXPECT_FALSE(app.tryReadParameters(read, error));
    EXPECT_EQ(error, modelMessage(refused));
    SetWindowTextW(app.widthEdit, L"250");
    EXPECT_TRUE(app.tryReadParameters(read, error));
    EXPECT_TRUE(error.empty());
    EXPECT_DOUBLE_EQ(read.outerWidth, 250.0);  // derived by the validation
}

TEST_F(ParameterEntryTest, NumbersReadLocaleFreeWithTheFieldDefaultForNonNumbers) {
    AppHarness harness;
    Application& app = harness.app();
    app.changeTrackingEnabled = false;
    const struct {
        const wchar_t* text;
        bool inches;
        double defaultMm;
        double expectedMm;
    } cases[] = {
        {L"12,5", false, 200.0, 12.0},  {L"7 mm", false, 200.0, 7.0},  {L"abc", false, 200.0, 200.0},
        {L"", false, 3.0, 3.0},         {L",5", false, 3.0, 3.0},      {L" -2.5e1", false, 200.0, -25.0},
        {L"10", true, 200.0, 254.0},    {L"abc", true, 200.0, 200.0},  {L"0.0059", true, 0.15, 0.14986},
        {L"1e999", false, 150.0, 150.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case #" << (&c - cases));
        app.useInches = c.inches;
        SetWindowTextW(app.depthEdit, c.text);
        EXPECT_NEAR(app.readNumber(app.depthEdit, c.defaultMm), c.expectedMm, 1e-9);
    }
    app.useInches = false;
    EXPECT_DOUBLE_EQ(app.readNumber(nullptr, 12.0), 12.0);
    // Only the first 127 characters count.
    SetWindowTextW(app.depthEdit, (std::wstring(126, L' ') + L"45").c_str());
    EXPECT_DOUBLE_EQ(app.readNumber(app.depthEdit, 150.0), 4.0);

    SetWindowTextW(app.widthEdit, L"12,5");
    SetWindowTextW(app.heightEdit, L"letters");
    EXPECT_DOUBLE_EQ(app.readParametersFromControls().inputWidth, 12.0);
    EXPECT_DOUBLE_EQ(app.readParametersFromControls().inputHeight, 100.0);
}

TEST_F(ParameterEntryTest, CountsAndIntegerSelectionFollowTheComboItems) {
    AppHarness harness;
    Application& app = harness.app();
    app.changeTrackingEnabled = false;
    HWND combo = app.fingersWidthCombo;
    const struct {
        int32_t value;
        const wchar_t* shown;
    } selections[] = {{10, L"10"}, {1, L"1"}, {0, L"1"}, {-3, L"1"}, {7, L"7"}, {11, L"7"}};
    for (const auto& s : selections) {
        app.selectOrSetInteger(combo, s.value);
        EXPECT_EQ(textOf(combo), s.shown) << s.value;  // unmatched values keep the previous choice
        EXPECT_EQ(app.readCount(combo, 3), std::stoi(s.shown));
    }
    app.selectOrSetInteger(app.kerfEdit, 42);  // not a combo: the text is set
    EXPECT_EQ(textOf(app.kerfEdit), L"42");
    app.selectOrSetInteger(nullptr, 5);

    const struct {
        const wchar_t* text;
        int32_t expected;
    } counts[] = {{L" +4x", 4}, {L"-2", -2}, {L"", 9}, {L"z", 9}};
    for (const auto& c : counts) {
        SetWindowTextW(app.thicknessCombo, c.text);
        EXPECT_EQ(app.readCount(app.thicknessCombo, 9), c.expected) << c.text;
    }

    // A settings record that was not repaired (0 fingers) leaves the selection as it was.
    AppSettings settings;
    settings.fingerWidth = 0;
    settings.fingerDepth = 5;
    app.selectOrSetInteger(combo, 6);
    app.applySettingsToControls(settings);
    EXPECT_EQ(textOf(combo), L"6");
    EXPECT_EQ(textOf(app.fingersDepthCombo), L"5");

    // A loaded design is clamped to the lists.
    BoxParameters design;
    design.fingerCountWidth = 0;
    design.fingerCountDepth = 25;
    design.widthDividerCount = 4;
    app.applyParametersToControls(design);
    EXPECT_EQ(textOf(combo), L"1");
    EXPECT_EQ(textOf(app.fingersDepthCombo), L"10");
    EXPECT_EQ(app.readParametersFromControls().widthDividerCount, 0);  // the panel has no dividers
}

TEST_F(ParameterEntryTest, UnitSwitchConvertsEveryFieldAndRoundsToTheDisplayUnit) {
    AppHarness harness;
    Application& app = harness.app();
    harness.choose(app.unitsCombo, 1);
    EXPECT_TRUE(app.useInches);
    EXPECT_EQ(textOf(app.widthEdit), L"7.874");
    EXPECT_EQ(textOf(app.depthEdit), L"5.9055");
    EXPECT_EQ(textOf(app.kerfEdit), L"0.0059");
    EXPECT_EQ(textOf(app.thicknessCombo), L"0.1181");
    EXPECT_EQ(textOf(app.toolDiameterCombo), L"0.125");
    EXPECT_EQ(textOf(app.widthLabel), L"Ancho in");
    EXPECT_EQ(comboItems(app.thicknessCombo).size(), 12u);
    EXPECT_EQ(comboItems(app.thicknessCombo)[1], L"0.080");
    EXPECT_EQ(comboItems(app.toolDiameterCombo).back(), L"0.25");
    EXPECT_EQ(comboSelection(app.unitsCombo), 1);
    EXPECT_EQ(textOf(app.statusLine), L"Unidades cambiadas a pulgadas. El motor interno conserva milimetros.");
    EXPECT_NEAR(app.parameters.inputWidth, 199.9996, 1e-9);  // regenerated from the rounded inches
    EXPECT_NE(readSettingsFile().find("\"units\": \"in\""), std::string::npos);
    EXPECT_FALSE(KillTimer(harness.window(), REGENERATE_TIMER));  // filling is not an edit
    EXPECT_TRUE(app.changeTrackingEnabled);

    // Choosing the unit already shown does nothing.
    SetWindowTextW(app.statusLine, L"kept");
    harness.choose(app.unitsCombo, 1);
    EXPECT_EQ(textOf(app.statusLine), L"kept");

    harness.choose(app.unitsCombo, 0);
    EXPECT_FALSE(app.useInches);
    EXPECT_EQ(textOf(app.widthEdit), L"199.9996");
    EXPECT_EQ(textOf(app.toolDiameterCombo), L"3.175");
    EXPECT_EQ(comboItems(app.thicknessCombo).front(), L"1.5");
    EXPECT_EQ(textOf(app.statusLine), L"Unidades cambiadas a milimetros.");
    EXPECT_NE(readSettingsFile().find("\"units\": \"mm\""), std::string::npos);
}

TEST_F(ParameterEntryTest, EmptyPresetBoxesGetADefaultOfTheUnit) {
    AppHarness harness;
    Application& app = harness.app();
    app.changeTrackingEnabled = false;
    // Through a switch the empty box reads as 3 mm and is written converted.
    SetWindowTextW(app.thicknessCombo, L"");
    harness.choose(app.unitsCombo, 1);
    EXPECT_EQ(textOf(app.thicknessCombo), L"0.1181");
    // Refilling an empty box shows the unit's preset default.
    SetWindowTextW(app.thicknessCombo, L"");
    SetWindowTextW(app.toolDiameterCombo, L"");
    app.refillPresetLists();
    EXPECT_EQ(textOf(app.thicknessCombo), L"0.118");
    EXPECT_EQ(textOf(app.toolDiameterCombo), L"0.125");
    app.useInches = false;
    SetWindowTextW(app.thicknessCombo, L"");
    SetWindowTextW(app.toolDiameterCombo, L"");
    app.refillPresetLists();
    EXPECT_EQ(textOf(app.thicknessCombo), L"3");
    EXPECT_EQ(textOf(app.toolDiameterCombo), L"3.175");
}

TEST_F(ParameterEntryTest, SettingsReadFromThePanelCarryEveryField) {
    AppHarness harness;
    Application& app = harness.app();
    app.changeTrackingEnabled = false;
    AppSettings wanted;
    wanted.language = L"en";
    wanted.units = L"in";
    wanted.checkUpdatesOnStart = false;
    wanted.preview3d = true;
    wanted.render3dMode = 2;
    wanted.widthMm = 254.0;
    wanted.thicknessMm = 6.35;
    wanted.fingerWidth = 7;
    wanted.fingerHeight = 4;
    wanted.internalDimensions = true;
    wanted.cncRouterMode = true;
    app.applySettingsToControls(wanted);
    const AppSettings read = app.readSettingsFromControls();
    EXPECT_EQ(read.language, L"en");
    EXPECT_EQ(read.units, L"in");
    EXPECT_FALSE(read.checkUpdatesOnStart);
    EXPECT_TRUE(read.preview3d);
    EXPECT_EQ(read.render3dMode, 2);
    EXPECT_NEAR(read.widthMm, 254.0, 1e-9);
    EXPECT_NEAR(read.thicknessMm, 6.35, 1e-9);
    EXPECT_NEAR(read.kerfMm, 0.0059 * 25.4, 1e-9);  // rounded to the shown 4 decimals of an inch
    EXPECT_EQ(read.fingerWidth, 7);
    EXPECT_EQ(read.fingerDepth, 2);
    EXPECT_EQ(read.fingerHeight, 4);
    EXPECT_TRUE(read.internalDimensions);
    EXPECT_FALSE(read.includeLid);
    EXPECT_TRUE(read.cncRouterMode);
    EXPECT_TRUE(read.serverUrl.empty());

    // An engine number out of range falls back to automatic.
    wanted.render3dMode = 7;
    app.applySettingsToControls(wanted);
    EXPECT_EQ(app.renderMode, RenderMode::Automatic);
    EXPECT_EQ(comboSelection(app.renderEngineCombo), 0);
}

}  // namespace
