// Saves that fail: the previous file survives byte for byte, project and DXF failures are told in
// the program's words, and settings saves fail silently. The wrapper script locks the read-only
// folders, which the Windows side cannot do under Wine.
#include "shell_fixture_win32.h"

#include "settings/app_settings.h"
#include "settings/file_io.h"
#include "support/files.h"
#include "support/seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

enum class Fault { ReadOnlyFolder, HeldOpen, FolderVanished, HalfWayWrite };

// The folder the script locked, holding caja.dxf and caja.boxproj; empty when it could not lock one.
std::wstring lockedFolder() {
    const char* folder = std::getenv("TESSARO_LOCKED_FOLDER");
    std::wstring path = folder ? utf8ToWide(folder) : L"";
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::vector<std::wstring> entriesOf(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(fsPath(folder))) names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs action with the fault in force: the file held open without sharing, as another program may,
// or every write stopping after a few bytes, as on a full disk.
void underFault(Fault fault, const std::wstring& path, const std::function<void()>& action) {
    HANDLE held = INVALID_HANDLE_VALUE;
    if (fault == Fault::HeldOpen) held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (fault == Fault::HalfWayWrite) setWriteFault(64);
    if (fault == Fault::FolderVanished) fs::remove_all(fsPath(parentPath(path)));
    action();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    clearWriteFault();
}

using SaveFaults = FreshSettings;

TEST_F(SaveFaults, ProjectAndDxfSavesKeepThePreviousFileAndSayWhy) {
    const std::wstring projectError = L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.";
    const struct {
        int button;
        const wchar_t* fileName;
        const wchar_t* caption;
        const wchar_t* saved;
        const wchar_t* cannotOpen;
        const wchar_t* cannotWrite;
    } saves[] = {
        {SaveButtonId, L"caja.boxproj", L"No se pudo guardar proyecto", L"Proyecto guardado correctamente.",
         projectError.c_str(), projectError.c_str()},
        {ExportDxfButtonId, L"caja.dxf", L"No se pudo guardar", L"DXF local guardado en milimetros.",
         L"No se pudo abrir el archivo para escritura. Puede estar en uso.",
         L"No se pudo guardar el DXF. Revise permisos o si el archivo esta abierto."},
    };
    Shell shell;
    ScratchFolder folder;
    const std::wstring locked = lockedFolder();
    for (const auto& save : saves) {
        for (Fault fault : {Fault::ReadOnlyFolder, Fault::HeldOpen, Fault::FolderVanished, Fault::HalfWayWrite}) {
            SCOPED_TRACE(testing::Message() << wideToUtf8(save.fileName) << ", fault " << static_cast<int>(fault));
            if (fault == Fault::ReadOnlyFolder && locked.empty()) continue;
            const std::wstring home = fault == Fault::ReadOnlyFolder ? locked : folder.file(L"trabajos");
            const std::wstring path = home + L"\\" + save.fileName;
            if (fault != Fault::ReadOnlyFolder) {
                fs::create_directories(fsPath(home));
                writeBytes(path, "the maker's earlier file");
            }
            const std::string previous = readBytes(path);
            const std::vector<std::wstring> before = entriesOf(home);
            shell.ui.messages.clear();
            shell.ui.dialogNames.clear();
            shell.ui.choices = {path, std::nullopt};
            underFault(fault, path, [&] { shell.click(save.button); });
            const bool cannotOpen = fault == Fault::HeldOpen || fault == Fault::FolderVanished;
            ASSERT_EQ(shell.ui.messages.size(), 1u);
            EXPECT_EQ(shell.ui.messages[0].text, cannotOpen ? save.cannotOpen : save.cannotWrite);
            EXPECT_EQ(shell.ui.messages[0].caption, save.caption);
            EXPECT_EQ(shell.ui.messages[0].style, UINT(MB_OK | MB_ICONWARNING));
            EXPECT_EQ(shell.ui.dialogNames, (std::vector<std::wstring>{save.fileName, path})) << "offered again";
            EXPECT_NE(shell.status(), save.saved);
            if (fault == Fault::FolderVanished) {
                EXPECT_FALSE(fs::exists(fsPath(home))) << "nothing is made in its place";
                continue;
            }
            EXPECT_EQ(readBytes(path), previous);
            EXPECT_EQ(entriesOf(home), before) << "no temporary file is left";
            if (fault != Fault::ReadOnlyFolder) fs::remove_all(fsPath(home));
        }
    }
    if (locked.empty()) GTEST_SKIP() << "read-only folder rows skipped: this machine cannot lock a folder";
}

// A whole session whose settings saves fail: the other unit, the language, shutdown. None is told.
void runSessionWhoseSavesFail() {
    Shell shell;
    shell.choose(UnitsComboId, SendMessageW(shell.control(UnitsComboId), CB_GETCURSEL, 0, 0) == 1 ? 0 : 1);
    shell.choose(LanguageComboId, 0);
    shell.close();
    EXPECT_TRUE(shell.ui.messages.empty());
}

void expectSettingsFileKept(const std::string& kept) {
    EXPECT_EQ(readSettingsFile(), kept);
    EXPECT_EQ(entriesOf(parentPath(settingsFilePath())), std::vector<std::wstring>{L"settings.json"});
}

TEST_F(SaveFaults, SettingsSavesFailSilentlyAndAVanishedFolderIsMadeAgain) {
    for (Fault fault : {Fault::HeldOpen, Fault::HalfWayWrite}) {
        removeSettingsFolder();
        const AppSettings previous{.language = L"pt"};
        ASSERT_TRUE(saveSettings(previous));
        underFault(fault, settingsFilePath(), [] {
            EXPECT_FALSE(saveSettings(AppSettings{}));
            runSessionWhoseSavesFail();
        });
        expectSettingsFileKept(writeSettingsJson(previous));
    }
    Shell shell;
    removeSettingsFolder();
    shell.choose(UnitsComboId, 1);
    EXPECT_EQ(loadSettings().units, L"in");
}

// Run by the script alone, with the settings folder locked around a settings.json it wrote.
TEST(LockedSettingsFolder, SavesFailSilentlyAndTheFileStaysAsItWas) {
    if (!std::getenv("TESSARO_SETTINGS_FOLDER_LOCKED")) GTEST_SKIP() << "the settings folder is not locked";
    const std::string kept = readSettingsFile();
    ASSERT_NE(kept.find("\"pt\""), std::string::npos);
    EXPECT_FALSE(saveSettings(AppSettings{}));
    runSessionWhoseSavesFail();
    expectSettingsFileKept(kept);
}

}  // namespace
