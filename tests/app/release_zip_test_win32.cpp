// The release zip as a user gets it, unpacked by scripts/run-unpacked.sh into a fresh folder: its
// tessaro.exe starts there, alone, opens the project it is given and finds the languages folder
// that travels beside it.
#include "shell_fixture_win32.h"

#include "output/project_file.h"
#include "settings/text_encoding.h"
#include "version.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>

namespace {

// The language box of process's main window; null while it has none.
HWND languageComboOf(DWORD process) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, MAIN_WINDOW_CLASS, nullptr));) {
        DWORD owner = 0;
        if (GetWindowThreadProcessId(window, &owner) && owner == process) return GetDlgItem(window, LanguageComboId);
    }
    return nullptr;
}

// Started with a project's path, as a double click in Explorer starts it.
TEST(ReleaseZip, UnpackedProgramOpensTheProjectGivenAndOffersTheLanguagesBesideIt) {
    const char* folder = std::getenv("TESSARO_UNPACKED");
    ASSERT_NE(folder, nullptr) << "run through scripts/run-unpacked.sh";
    std::wstring home = utf8ToWide(folder) + L"/OrvellTessaro-" TESSARO_VERSION;
    std::replace(home.begin(), home.end(), L'/', L'\\');
    const std::wstring program = home + L"\\tessaro.exe";
    EXPECT_GE(ExtractIconExW(program.c_str(), -1, nullptr, nullptr, 0), 1u) << "Explorer would show no icon";
    removeSettingsFolder();
    writeSettingsFile(R"({"checkUpdatesOnStart": false})");  // no request to the real product page
    std::wstring error;
    ASSERT_TRUE(saveProject(home + L"\\mi caja.boxproj", BoxParameters{}, error));
    const std::wstring project = L"\"" + home + L"\\mi caja.boxproj\"";
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS;
    start.lpFile = program.c_str();
    start.lpParameters = project.c_str();
    ASSERT_TRUE(ShellExecuteExW(&start));
    HANDLE process = start.hProcess;
    ASSERT_NE(process, nullptr);
    HWND combo = nullptr;
    pumpUntil([&] {
        combo = languageComboOf(GetProcessId(process));
        return SendMessageW(combo, CB_GETCOUNT, 0, 0) > 0;
    }, 30000);
    std::vector<std::wstring> languages;
    for (LRESULT i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t name[64] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 64)
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
        languages.push_back(name);
    }
    EXPECT_EQ(languages, (std::vector<std::wstring>{L"English", L"Espa\u00F1ol", L"Portugu\u00EAs"}));
    const std::wstring title = L"mi caja.boxproj - Orvell Tessaro " TESSARO_VERSION;
    EXPECT_TRUE(pumpUntil([&] { return windowTextOf(GetParent(combo)) == title; }, 5000));
    PostMessageW(GetParent(combo), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(process, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process);
    removeSettingsFolder();
}

TEST(ReleaseZip, WindowClassesCarryTheIconAtBothSizes) {
    Shell shell;
    EXPECT_NE(GetClassLongPtrW(shell.window(), GCLP_HICON), 0u);
    EXPECT_NE(GetClassLongPtrW(shell.window(), GCLP_HICONSM), 0u);
}

}  // namespace
