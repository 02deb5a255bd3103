// The panel's commands in process: file dialogs and message boxes recorded, files and servers real.
#include "app_test_support_win32.h"

#include "app/control_ids.h"
#include "output/dxf_writer.h"
#include "output/project_file.h"
#include "output/server_export.h"
#include "settings/app_settings.h"
#include "settings/file_io.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Dialog = RecordingModalUi::Dialog;
using Message = RecordingModalUi::Message;

class CommandTest : public testing::Test {
protected:
    void SetUp() override { removeSettingsFolder(); }
    // The window saves the settings as it closes: close it before the folder goes.
    void TearDown() override {
        harness.close();
        clearWriteFaultForTesting();
        removeSettingsFolder();
    }

    Application& app() { return harness.app(); }
    RecordingModalUi& ui() { return harness.modalUi; }
    void english() { harness.choose(app().languageCombo, 0); }
    void run(int id) { harness.command(id, BN_CLICKED, nullptr); }
    std::wstring status() { return textOf(app().statusLine); }
    void setStatus(const wchar_t* text) { SetWindowTextW(app().statusLine, text); }
    // Types into a panel field with change tracking off, as the command's later read sees it.
    void type(HWND field, const wchar_t* text) {
        const bool tracking = app().changeTrackingEnabled;
        app().changeTrackingEnabled = false;
        SetWindowTextW(field, text);
        app().changeTrackingEnabled = tracking;
    }
    void check(HWND box, int id) {
        SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
        harness.command(id, BN_CLICKED, box);
    }

    AppHarness harness;
    ScratchFolder folder;
};

std::string fileBytes(const std::wstring& path) {
    std::string bytes;
    EXPECT_TRUE(readFileBytes(path, bytes));
    return bytes;
}

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A project file of a design the panel cannot show whole: finger counts above 10 and dividers.
BoxParameters largeDesignWithDividers() {
    BoxParameters design;
    design.inputWidth = 600;
    design.inputDepth = 500;
    design.inputHeight = 400;
    design.fingerCountWidth = 14;
    design.fingerCountDepth = 12;
    design.fingerCountHeight = 11;
    design.widthDividerCount = 2;
    design.depthDividerCount = 1;
    return design;
}

TEST_F(CommandTest, AnInvalidDesignStopsExportSaveAndServerTestWithOneWarning) {
    english();
    type(app().widthEdit, L"0");
    type(app().serverAddressEdit, L"http://127.0.0.1:9/dxf.php");
    for (int id : {ExportDxfButtonId, SaveButtonId, TestServerButtonId}) {
        ui().messages.clear();
        ui().choices.push_back(folder.file(L"never.dxf"));
        run(id);
        ASSERT_EQ(ui().messages.size(), 1u) << id;
        EXPECT_EQ(ui().messages[0].text, L"El ancho debe ser mayor a 0 mm.") << id;
        EXPECT_EQ(ui().messages[0].caption, L"Invalid parameters") << id;
        EXPECT_EQ(ui().messages[0].style, UINT(MB_OK | MB_ICONWARNING)) << id;
        EXPECT_TRUE(ui().dialogs.empty()) << id;
        ui().choices.clear();
    }
}

TEST_F(CommandTest, FileDialogsAreAskedForWithTheirNamesFiltersAndFlags) {
    english();
    struct Case {
        int id;
        bool save;
        const wchar_t* initialName;
        std::vector<std::wstring> filter;
        const wchar_t* extension;
        DWORD flags;
    };
    const std::vector<std::wstring> projectFilter = {L"Proyecto Tessaro (*.boxproj)", L"*.boxproj", L"Todos (*.*)", L"*.*"};
    const Case cases[] = {
        {ExportDxfButtonId, true, L"caja.dxf", {L"DXF (*.dxf)", L"*.dxf", L"Todos (*.*)", L"*.*"}, L"dxf",
         OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST},
        {SaveButtonId, true, L"caja.boxproj", projectFilter, L"boxproj", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST},
        {LoadButtonId, false, L"", projectFilter, L"boxproj", OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST},
    };
    for (const Case& c : cases) {
        ui().dialogs.clear();
        setStatus(L"before");
        run(c.id);  // cancelled: nothing else happens
        ASSERT_EQ(ui().dialogs.size(), 1u) << c.id;
        const Dialog& d = ui().dialogs[0];
        EXPECT_EQ(d.save, c.save) << c.id;
        EXPECT_EQ(d.structSize, sizeof(OPENFILENAMEW)) << c.id;  // the full structure of this build
        EXPECT_EQ(d.owner, harness.window()) << c.id;
        EXPECT_EQ(d.filter, c.filter) << c.id;
        EXPECT_EQ(d.filterIndex, 1u) << c.id;
        EXPECT_EQ(d.initialName, c.initialName) << c.id;
        EXPECT_EQ(d.bufferCharacters, 260u) << c.id;
        EXPECT_EQ(d.defaultExtension, c.extension) << c.id;
        EXPECT_EQ(d.flags, c.flags) << c.id;
        EXPECT_FALSE(d.titleOrFolderGiven) << c.id;
        EXPECT_TRUE(ui().messages.empty()) << c.id;
        // The export regenerates before its dialog; the project commands leave the status alone.
        EXPECT_EQ(status().rfind(c.id == ExportDxfButtonId ? L"Pieces: " : L"before", 0), 0u) << c.id;
    }
}

TEST_F(CommandTest, ExportWritesTheDxfOfTheCurrentPiecesInTheShownUnit) {
    english();
    struct Case {
        bool inches;
        const wchar_t* status;
    };
    for (const Case& c : {Case{false, L"Local DXF saved in millimeters."}, Case{true, L"Local DXF saved in inches."}}) {
        harness.choose(app().unitsCombo, c.inches ? 1 : 0);
        type(app().widthEdit, c.inches ? L"7.5" : L"180");
        check(app().addLidBox, AddLidBoxId);
        const std::wstring path = folder.file(c.inches ? L"caja en pulgadas.dxf" : L"caja.dxf");
        writeFileReplacing(path, "an older file");
        ui().choices.push_back(path);
        run(ExportDxfButtonId);
        EXPECT_TRUE(ui().messages.empty());
        EXPECT_EQ(status(), c.status);
        ASSERT_FALSE(app().pieces.empty());
        EXPECT_DOUBLE_EQ(app().parameters.inputWidth, c.inches ? 7.5 * 25.4 : 180.0);  // regenerated from the panel
        EXPECT_EQ(fileBytes(path), buildDxf(app().pieces, c.inches));
        EXPECT_EQ(loadSettings().widthMm, app().parameters.inputWidth);  // saved before the dialog
    }
}

TEST_F(CommandTest, AFileThatCannotBeWrittenIsReportedKeptAndAskedForAgain) {
    english();
    const std::wstring path = folder.file(L"caja.dxf");
    struct Case {
        const char* name;
        bool holdOpen;
        bool writeFault;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"held open without sharing", true, false, L"No se pudo abrir el archivo para escritura. Puede estar en uso."},
        {"write fails midway", false, true, L"No se pudo guardar el DXF. Revise permisos o si el archivo esta abierto."},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(writeFileReplacing(path, "the user's earlier DXF"));
        HANDLE held = c.holdOpen ? CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
        if (c.writeFault) setWriteFaultForTesting(100);
        ui().messages.clear();
        ui().dialogs.clear();
        ui().choices = {path, std::nullopt};
        setStatus(L"before");
        run(ExportDxfButtonId);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        clearWriteFaultForTesting();

        ASSERT_EQ(ui().messages.size(), 1u) << c.name;
        EXPECT_EQ(ui().messages[0].text, c.message) << c.name;
        EXPECT_EQ(ui().messages[0].caption, L"Could not save") << c.name;
        EXPECT_EQ(ui().messages[0].style, UINT(MB_OK | MB_ICONWARNING)) << c.name;
        ASSERT_EQ(ui().dialogs.size(), 2u) << c.name;
        EXPECT_EQ(ui().dialogs[1].initialName, path) << c.name << ": the dialog comes back with the name chosen";
        EXPECT_EQ(status().rfind(L"Pieces: ", 0), 0u) << c.name << ": the regeneration's summary stays";
        EXPECT_EQ(fileBytes(path), "the user's earlier DXF") << c.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << c.name << ": no leftovers";
    }
}

TEST_F(CommandTest, ProjectSaveRetriesAfterAFailureAndWritesTheValidatedPanelDesign) {
    english();
    type(app().widthEdit, L"150");
    type(app().depthEdit, L"90");
    const std::wstring missingFolder = folder.file(L"no such folder\\caja.boxproj");
    const std::wstring path = folder.file(L"caja.boxproj");
    ui().choices = {missingFolder, path};
    run(SaveButtonId);

    BoxParameters expected;
    std::wstring error;
    ASSERT_TRUE(app().tryReadParameters(expected, error));
    std::wstring expectedError;
    EXPECT_FALSE(saveProject(missingFolder, expected, expectedError));
    ASSERT_EQ(ui().messages.size(), 1u);
    EXPECT_EQ(ui().messages[0].text, expectedError);
    EXPECT_EQ(ui().messages[0].caption, L"Could not save project");
    EXPECT_EQ(ui().messages[0].style, UINT(MB_OK | MB_ICONWARNING));
    ASSERT_EQ(ui().dialogs.size(), 2u);
    EXPECT_EQ(ui().dialogs[1].initialName, missingFolder);
    EXPECT_EQ(status(), L"Project saved successfully.");
    EXPECT_EQ(fileBytes(path), writeProjectJson(expected));
    EXPECT_EQ(expected.inputWidth, 150.0);
    EXPECT_GT(expected.outerWidth, 0.0);  // outer sizes derived
}

TEST_F(CommandTest, LoadingPutsTheDesignIntoThePanelClampedWithoutDividers) {
    english();
    const std::wstring path = folder.file(L"grande.boxproj");
    std::wstring error;
    ASSERT_TRUE(saveProject(path, largeDesignWithDividers(), error)) << std::string(error.begin(), error.end());
    ui().choices = {path};
    run(LoadButtonId);
    EXPECT_TRUE(ui().messages.empty());
    EXPECT_EQ(textOf(app().widthEdit), L"600");
    EXPECT_EQ(textOf(app().depthEdit), L"500");
    for (HWND combo : {app().fingersWidthCombo, app().fingersDepthCombo, app().fingersHeightCombo}) {
        EXPECT_EQ(textOf(combo), L"10");
    }
    EXPECT_EQ(app().parameters.inputWidth, 600.0);
    EXPECT_EQ(app().parameters.fingerCountWidth, 10);
    EXPECT_EQ(app().parameters.widthDividerCount, 0);
    EXPECT_EQ(status(), L"Project loaded successfully.");
    EXPECT_EQ(loadSettings().widthMm, 600.0);
    EXPECT_TRUE(app().changeTrackingEnabled);
    pumpMessagesFor(500);
    EXPECT_EQ(status(), L"Project loaded successfully.") << "filling the panel is no edit";
}

TEST_F(CommandTest, AFileThatIsNoProjectLeavesThePanelAlone) {
    english();
    const std::wstring path = folder.file(L"roto.boxproj");
    for (const std::string& content : {std::string("{\"format\": \"otra cosa\"}"), std::string("\xff\xfe garbage"),
                                       std::string()}) {
        ASSERT_TRUE(writeFileReplacing(path, content));
        const std::wstring widthBefore = textOf(app().widthEdit);
        const size_t piecesBefore = app().pieces.size();
        BoxParameters ignored;
        std::wstring expectedError;
        ASSERT_FALSE(loadProject(path, ignored, expectedError));
        ui().messages.clear();
        ui().choices = {path};
        setStatus(L"before");
        run(LoadButtonId);
        ASSERT_EQ(ui().messages.size(), 1u);
        EXPECT_EQ(ui().messages[0].text, expectedError);
        EXPECT_EQ(ui().messages[0].caption, L"Could not load project");
        EXPECT_EQ(ui().messages[0].style, UINT(MB_OK | MB_ICONWARNING));
        EXPECT_EQ(ui().dialogs.size(), 1u);
        ui().dialogs.clear();
        EXPECT_EQ(textOf(app().widthEdit), widthBefore);
        EXPECT_EQ(app().pieces.size(), piecesBefore);
        EXPECT_EQ(status(), L"before");
    }
}

TEST_F(CommandTest, ResetAsksFirstThenRestoresAndSavesTheFactorySettingsInSpanish) {
    english();
    harness.choose(app().unitsCombo, 1);
    type(app().widthEdit, L"9");
    app().view.zoom = 3.0;
    const AppSettings before = loadSettings();
    ASSERT_EQ(before.language, L"en");

    for (int answer : {IDNO, IDCANCEL}) {
        ui().answer = answer;
        run(ResetButtonId);
        EXPECT_EQ(loadSettings().language, L"en");
        EXPECT_EQ(textOf(app().widthEdit), L"9");
    }
    ASSERT_EQ(ui().messages.size(), 2u);
    EXPECT_EQ(ui().messages[0].text,
              L"Restore all values to factory defaults? This will overwrite the saved settings.");
    EXPECT_EQ(ui().messages[0].caption, L"Reset settings");
    EXPECT_EQ(ui().messages[0].style, UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));

    ui().answer = IDYES;
    run(ResetButtonId);
    const AppSettings factory;
    const AppSettings saved = loadSettings();
    EXPECT_EQ(saved.language, L"es");
    EXPECT_EQ(saved.units, L"mm");
    EXPECT_EQ(saved.widthMm, factory.widthMm);
    EXPECT_EQ(saved.fingerWidth, factory.fingerWidth);
    EXPECT_EQ(saved.checkUpdatesOnStart, factory.checkUpdatesOnStart);
    EXPECT_EQ(readSettingsFile(), [&] {
        removeSettingsFolder();
        saveSettings(factory);
        return readSettingsFile();
    }());
    EXPECT_EQ(app().languages.currentCode(), L"es");
    EXPECT_EQ(comboSelection(app().languageCombo), 1);
    EXPECT_FALSE(app().useInches);
    EXPECT_EQ(app().view.zoom, 1.0);
    EXPECT_EQ(app().parameters.inputWidth, BoxParameters{}.inputWidth);
    EXPECT_EQ(status(), app().text(L"status.settingsReset"));
    EXPECT_NE(status(), L"Factory settings restored and saved.");
    EXPECT_TRUE(app().changeTrackingEnabled);
}

TEST_F(CommandTest, ViewAndEngineChoicesFreeDirect3dAndAreSaved) {
    AppHarness shown(true);
    Application& a = shown.app();
    shown.choose(a.languageCombo, 0);
    auto paintWithDevice = [&] {
        a.view.show3D = true;
        a.view.renderMode = RenderMode::Direct3D9;
        InvalidateRect(a.previewWindow, nullptr, FALSE);
        UpdateWindow(a.previewWindow);
        return a.renderer.hasDeviceFor(a.previewWindow);
    };
    struct EngineCase {
        int index;
        RenderMode mode;
        const wchar_t* status;
    };
    const EngineCase engines[] = {
        {1, RenderMode::Gdi, L"3D engine selected: GDI compatible"},
        {2, RenderMode::Direct3D9, L"3D engine selected: Direct3D 9 GPU"},
        {2, RenderMode::Direct3D9, L"3D engine selected: Direct3D 9 GPU"},  // the same again still frees
        {0, RenderMode::Automatic, L"3D engine selected: Automatic"},
    };
    for (const EngineCase& c : engines) {
        ASSERT_TRUE(paintWithDevice());
        shown.choose(a.renderEngineCombo, c.index);
        EXPECT_EQ(a.view.renderMode, c.mode);
        EXPECT_FALSE(a.renderer.hasDeviceFor(a.previewWindow)) << c.index;
        EXPECT_EQ(loadSettings().render3dMode, c.index);
        EXPECT_EQ(textOf(a.statusLine), c.status);
    }

    struct ViewCase {
        bool checked;
        const wchar_t* status;
        bool deviceKept;
    };
    const ViewCase views[] = {
        {true, L"3D view active. Engine: Automatic. Drag with left click to rotate.", true},
        {false, L"2D cutting view active.", false},
    };
    for (const ViewCase& c : views) {
        ASSERT_TRUE(paintWithDevice());
        a.view.renderMode = RenderMode::Automatic;
        a.view.zoom = 2.0;
        SendMessageW(a.preview3dBox, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        shown.command(Preview3dBoxId, BN_CLICKED, a.preview3dBox);
        EXPECT_EQ(a.view.show3D, c.checked);
        EXPECT_EQ(a.view.zoom, 1.0);
        EXPECT_EQ(a.renderer.hasDeviceFor(a.previewWindow), c.deviceKept);
        EXPECT_EQ(loadSettings().preview3d, c.checked);
        EXPECT_EQ(textOf(a.statusLine), c.status);
    }
    shown.close();
}

TEST_F(CommandTest, LanguageChoiceAppliesSavesAndSaysSoInTheNewLanguage) {
    const size_t count = app().languages.available().size();
    ASSERT_GE(count, 2u);
    struct Case {
        int index;
        const wchar_t* code;
        const wchar_t* status;
    };
    for (const Case& c : {Case{0, L"en", L"Language changed."}, Case{1, L"es", nullptr}}) {
        harness.choose(app().languageCombo, c.index);
        EXPECT_EQ(app().languages.currentCode(), c.code);
        EXPECT_EQ(loadSettings().language, c.code);
        EXPECT_EQ(status(), c.status ? std::wstring(c.status) : app().text(L"status.languageChanged"));
    }
    EXPECT_NE(status(), L"Language changed.");
}

class ServerCommandTest : public CommandTest {
protected:
    static std::wstring address(const char* portVariable) {
        const char* port = std::getenv(portVariable);
        return port ? L"http://127.0.0.1:" + widen(port) + L"/dxf.php" : std::wstring();
    }
    void SetUp() override {
        CommandTest::SetUp();
        if (!std::getenv("TESSARO_DXF_SERVER_PORT") || !std::getenv("TESSARO_CLOSED_PORT"))
            GTEST_FAIL() << "run through run_server_export_tests.sh, which starts the servers";
    }
};

TEST_F(ServerCommandTest, TheServerTestTellsTheBytesReceivedOrTheError) {
    check(app().cncRouterModeBox, CncRouterModeBoxId);
    app().regenerate();
    struct Case {
        const char* name;
        std::wstring address;
        bool answers;
    };
    const Case cases[] = {{"reference server", address("TESSARO_DXF_SERVER_PORT"), true},
                          {"nothing listening", address("TESSARO_CLOSED_PORT"), false}};
    for (const Case& c : cases) {
        std::string dxf;
        std::wstring error;
        ASSERT_EQ(requestServerDxf(c.address, app().pieces, dxf, error), c.answers) << c.name;
        ui().messages.clear();
        type(app().serverAddressEdit, c.address.c_str());
        run(TestServerButtonId);
        ASSERT_EQ(ui().messages.size(), 1u) << c.name;
        const Message& box = ui().messages[0];
        EXPECT_EQ(box.caption, L"Servidor DXF") << c.name;
        if (c.answers) {
            const std::wstring said = L"Servidor PHP OK. DXF recibido: " + std::to_wstring(dxf.size()) + L" bytes.";
            EXPECT_GT(dxf.size(), 1000u);
            EXPECT_EQ(box.text, said);
            EXPECT_EQ(box.style, UINT(MB_OK | MB_ICONINFORMATION));
            EXPECT_EQ(status(), said);
        } else {
            EXPECT_EQ(box.text, error);
            EXPECT_FALSE(error.empty());
            EXPECT_EQ(box.style, UINT(MB_OK | MB_ICONERROR));
            EXPECT_EQ(status(), L"Servidor PHP con error.");
        }
    }

    ui().messages.clear();
    type(app().serverAddressEdit, L"");
    setStatus(L"before");
    run(TestServerButtonId);
    ASSERT_EQ(ui().messages.size(), 1u);
    EXPECT_EQ(ui().messages[0].text, L"La URL PHP esta vacia.");
    EXPECT_EQ(ui().messages[0].caption, L"Servidor DXF");
    EXPECT_EQ(ui().messages[0].style, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(status().rfind(app().text(L"status.pieces"), 0), 0u) << "the regeneration's summary, no test started";
}

}  // namespace
