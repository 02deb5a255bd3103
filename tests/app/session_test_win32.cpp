// A newcomer's whole session, driven by the messages the panel's controls send.
#include "app_test_support_win32.h"

#include "app/control_ids.h"
#include "settings/file_io.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class UserSession {
public:
    explicit UserSession(AppHarness& harness) : harness_(harness), app_(harness.app()) {}

    // Typing sends the edit's change notifications; the design follows once typing pauses.
    void type(HWND field, const wchar_t* text) { SetWindowTextW(field, text); }
    void tick(HWND box, int id) {
        SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
        harness_.command(id, BN_CLICKED, box);
    }
    void waitForTheDesign() {
        const std::wstring pending = app_.text(L"status.changesDetected");
        EXPECT_TRUE(pumpUntil([&] { return textOf(app_.statusLine) != pending; }, 5000));
    }
    void click(int id, std::optional<std::wstring> choice = std::nullopt) {
        if (choice) harness_.modalUi.choices.push_back(*choice);
        harness_.command(id, BN_CLICKED, nullptr);
    }

private:
    AppHarness& harness_;
    Application& app_;
};

TEST(UserSessionTest, ADesignExportedSavedResetAndLoadedBackExportsTheSameDxf) {
    removeSettingsFolder();
    ScratchFolder folder;
    {
        AppHarness harness(true);
        Application& app = harness.app();
        UserSession user(harness);

        user.type(app.widthEdit, L"142.5");
        user.type(app.heightEdit, L"61");
        user.type(app.depthEdit, L"98.3");
        harness.choose(app.fingersWidthCombo, 4);
        user.waitForTheDesign();
        harness.choose(app.unitsCombo, 1);
        user.tick(app.cncRouterModeBox, CncRouterModeBoxId);
        user.tick(app.addLidBox, AddLidBoxId);
        user.waitForTheDesign();
        ASSERT_TRUE(app.useInches);
        ASSERT_TRUE(app.parameters.includeLid);
        ASSERT_EQ(app.parameters.cutMode, CutMode::CncRouter);
        ASSERT_NEAR(app.parameters.inputWidth, 142.5, 0.01);

        const std::wstring first = folder.file(L"primera.dxf");
        const std::wstring project = folder.file(L"mi caja.boxproj");
        const std::wstring second = folder.file(L"segunda.dxf");
        user.click(ExportDxfButtonId, first);
        user.click(SaveButtonId, project);
        harness.modalUi.answer = IDYES;
        user.click(ResetButtonId);
        EXPECT_FALSE(app.useInches);
        EXPECT_FALSE(app.parameters.includeLid);
        user.click(LoadButtonId, project);
        harness.choose(app.unitsCombo, 1);  // the unit is a preference, not part of the design
        user.click(ExportDxfButtonId, second);

        EXPECT_EQ(harness.modalUi.messages.size(), 1u) << "only the reset's question";
        std::string firstBytes;
        std::string secondBytes;
        ASSERT_TRUE(readFileBytes(first, firstBytes));
        ASSERT_TRUE(readFileBytes(second, secondBytes));
        EXPECT_GT(firstBytes.size(), 10000u);
        EXPECT_EQ(firstBytes, secondBytes);
        EXPECT_NE(firstBytes.find("DOGBONES"), std::string::npos);
        harness.close();
    }
    removeSettingsFolder();
}

}  // namespace
