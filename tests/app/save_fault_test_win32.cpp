// Saves that fail: the previous file survives byte for byte, project and DXF failures are told in
// the program's words, and settings saves fail silently. The wrapper script locks the read-only
// folders, which the Windows side cannot do under Wine.
#include "app_test_support_win32.h"

#include "app/control_ids.h"
#include "settings/app_settings.h"
#include "settings/file_io.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

namespace fs = std::filesystem;

enum class Fault { ReadOnlyFolder, HeldOpen, FolderVanished, HalfWayWrite };

const char* faultName(Fault fault) {
    switch (fault) {
    case Fault::ReadOnlyFolder: return "read-only folder";
    case Fault::HeldOpen: return "file held open without sharing";
    case Fault::FolderVanished: return "folder vanished";
    case Fault::HalfWayWrite: return "write fails half-way";
    }
    return "?";
}

constexpr Fault kFaults[] = {Fault::ReadOnlyFolder, Fault::HeldOpen, Fault::FolderVanished, Fault::HalfWayWrite};

// The folder the script locked, holding caja.dxf and caja.boxproj; empty when it could not lock one.
std::wstring lockedFolder() {
    const char* folder = std::getenv("TESSARO_LOCKED_FOLDER");
    if (!folder) return {};
    std::wstring path(folder, folder + std::strlen(folder));
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::string bytesOf(const std::wstring& path) {
    std::string bytes;
    readFileBytes(path, bytes);
    return bytes;
}

std::vector<std::wstring> entriesOf(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(fs::path(folder))) names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

// Holds a file open without sharing, as another program may, until it goes out of scope.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    ~HeldFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

private:
    HANDLE handle_;
};

// Makes every write stop after a few bytes, as a full disk would, until it goes out of scope.
struct HalfWayWrites {
    HalfWayWrites() { setWriteFaultForTesting(64); }
    ~HalfWayWrites() { clearWriteFaultForTesting(); }
};

class SaveFaultTest : public testing::Test {
protected:
    void SetUp() override { removeSettingsFolder(); }
    void TearDown() override {
        harness.reset();
        clearWriteFaultForTesting();
        removeSettingsFolder();
    }

    std::unique_ptr<AppHarness> harness = std::make_unique<AppHarness>();
    ScratchFolder folder;
};

// A save through the panel: its button, the file it writes and what the user is told per fault.
struct FileSave {
    const char* name;
    int button;
    const wchar_t* fileName;
    const wchar_t* captionKey;
    const wchar_t* savedStatusKey;
    const wchar_t* cannotOpen;   // held open or folder gone
    const wchar_t* cannotWrite;  // read-only folder or a write that fails
};

constexpr const wchar_t* kProjectError = L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.";

const FileSave kFileSaves[] = {
    {"project", SaveButtonId, L"caja.boxproj", L"dialog.saveProjectError", L"status.projectSaved", kProjectError,
     kProjectError},
    {"DXF", ExportDxfButtonId, L"caja.dxf", L"dialog.saveError", L"status.dxfSavedMm",
     L"No se pudo abrir el archivo para escritura. Puede estar en uso.",
     L"No se pudo guardar el DXF. Revise permisos o si el archivo esta abierto."},
};

TEST_F(SaveFaultTest, ProjectAndDxfSavesKeepThePreviousFileAndSayWhy) {
    const std::wstring locked = lockedFolder();
    for (const FileSave& save : kFileSaves) {
        for (Fault fault : kFaults) {
            SCOPED_TRACE(std::string(save.name) + ", " + faultName(fault));
            if (fault == Fault::ReadOnlyFolder && locked.empty()) continue;
            const std::wstring home = fault == Fault::ReadOnlyFolder ? locked : folder.file(L"trabajos");
            const std::wstring path = home + L"\\" + save.fileName;
            if (fault != Fault::ReadOnlyFolder) {
                fs::create_directories(fs::path(home));
                ASSERT_TRUE(writeFileReplacing(path, std::string("the maker's earlier ") + save.name));
            }
            const std::string previous = bytesOf(path);
            const std::vector<std::wstring> before = entriesOf(home);
            ASSERT_FALSE(previous.empty());

            // The dialog returned the path; the fault strikes before the write.
            std::optional<HeldFile> held;
            std::optional<HalfWayWrites> halfWay;
            if (fault == Fault::HeldOpen) held.emplace(path);
            if (fault == Fault::HalfWayWrite) halfWay.emplace();
            if (fault == Fault::FolderVanished) fs::remove_all(fs::path(home));
            RecordingModalUi& ui = harness->modalUi;
            ui.messages.clear();
            ui.dialogs.clear();
            ui.choices = {path, std::nullopt};
            harness->command(save.button, BN_CLICKED, nullptr);
            held.reset();
            halfWay.reset();

            Application& app = harness->app();
            const bool cannotOpen = fault == Fault::HeldOpen || fault == Fault::FolderVanished;
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, cannotOpen ? save.cannotOpen : save.cannotWrite);
            EXPECT_EQ(ui.messages[0].caption, app.text(save.captionKey));
            EXPECT_EQ(ui.messages[0].style, UINT(MB_OK | MB_ICONWARNING));
            ASSERT_EQ(ui.dialogs.size(), 2u) << "the dialog is offered again";
            EXPECT_EQ(ui.dialogs[1].initialName, path);
            EXPECT_NE(textOf(app.statusLine), app.text(save.savedStatusKey));
            if (fault == Fault::FolderVanished) {
                EXPECT_FALSE(fs::exists(fs::path(home))) << "nothing is made in its place";
                continue;
            }
            EXPECT_EQ(bytesOf(path), previous);
            EXPECT_EQ(entriesOf(home), before) << "no temporary file is left";
            if (fault != Fault::ReadOnlyFolder) fs::remove_all(fs::path(home));
        }
    }
    if (locked.empty()) GTEST_SKIP() << "read-only folder rows skipped: this machine cannot lock a folder";
}

std::vector<std::wstring> settingsFolderEntries() {
    return entriesOf(fs::path(settingsFilePath()).parent_path().wstring());
}

// A whole session whose every settings save fails: the other unit, the language, then shutdown.
// startsInInches: the unit the program should have read at start-up.
void runSessionWhoseSavesFail(bool startsInInches) {
    AppHarness session;
    EXPECT_EQ(session.app().useInches, startsInInches);
    session.choose(session.app().unitsCombo, startsInInches ? 0 : 1);
    session.choose(session.app().languageCombo, 0);
    session.close();
    EXPECT_TRUE(session.modalUi.messages.empty()) << "a failed settings save is silent";
}

TEST_F(SaveFaultTest, SettingsSavesFailSilentlyAndKeepThePreviousFile) {
    harness.reset();
    for (Fault fault : {Fault::HeldOpen, Fault::HalfWayWrite}) {
        SCOPED_TRACE(faultName(fault));
        removeSettingsFolder();
        AppSettings previous;
        previous.language = L"pt";
        previous.widthMm = 123.5;
        ASSERT_TRUE(saveSettings(previous));
        const std::string kept = readSettingsFile();
        AppSettings next;
        next.units = L"in";
        {
            std::optional<HeldFile> held;
            std::optional<HalfWayWrites> halfWay;
            if (fault == Fault::HeldOpen) held.emplace(settingsFilePath());
            if (fault == Fault::HalfWayWrite) halfWay.emplace();
            EXPECT_FALSE(saveSettings(next));
            runSessionWhoseSavesFail(false);
        }
        EXPECT_EQ(readSettingsFile(), kept);
        EXPECT_EQ(settingsFolderEntries(), std::vector<std::wstring>{L"settings.json"});
    }
}

TEST_F(SaveFaultTest, SettingsFolderThatVanishedIsMadeAgainOnTheNextSave) {
    harness->choose(harness->app().unitsCombo, 1);
    ASSERT_TRUE(settingsFileExists());
    removeSettingsFolder();
    harness->choose(harness->app().unitsCombo, 0);
    EXPECT_TRUE(harness->modalUi.messages.empty());
    EXPECT_EQ(loadSettings().units, L"mm");
}

// Run by the script alone, with the settings folder locked around a settings.json it wrote.
TEST(LockedSettingsFolder, SavesFailSilentlyAndTheFileStaysAsItWas) {
    if (!std::getenv("TESSARO_SETTINGS_FOLDER_LOCKED")) GTEST_SKIP() << "the settings folder is not locked";
    const std::string kept = readSettingsFile();
    ASSERT_NE(kept.find("\"pt\""), std::string::npos);
    EXPECT_FALSE(saveSettings(AppSettings{}));
    runSessionWhoseSavesFail(true);
    EXPECT_EQ(readSettingsFile(), kept);
    EXPECT_EQ(settingsFolderEntries(), std::vector<std::wstring>{L"settings.json"});
}

}  // namespace
