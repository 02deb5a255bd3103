// The release zip as a user gets it, unpacked by scripts/run-unpacked.sh into a fresh folder: its
// tessaro.exe starts there, alone, and finds the languages folder that travels beside it.
#include "shell_fixture_win32.h"

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

TEST(ReleaseZip, UnpackedProgramHasItsIconAndOffersTheLanguagesBesideIt) {
    const char* folder = std::getenv("TESSARO_UNPACKED");
    ASSERT_NE(folder, nullptr) << "run through scripts/run-unpacked.sh";
    std::wstring exe = utf8ToWide(folder) + L"/OrvellTessaro-" TESSARO_VERSION "/tessaro.exe";
    std::replace(exe.begin(), exe.end(), L'/', L'\\');
    EXPECT_GE(ExtractIconExW(exe.c_str(), -1, nullptr, nullptr, 0), 1u) << "Explorer would show no icon";
    removeSettingsFolder();
    writeSettingsFile(R"({"checkUpdatesOnStart": false})");  // no request to the real product page
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    HWND combo = nullptr;
    pumpUntil([&] { return SendMessageW(combo = languageComboOf(process.dwProcessId), CB_GETCOUNT, 0, 0) > 0; }, 30000);
    std::vector<std::wstring> languages;
    for (LRESULT i = 0, count = SendMessageW(combo, CB_GETCOUNT, 0, 0); i < count; ++i) {
        wchar_t name[64] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 64) SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
        languages.push_back(name);
    }
    EXPECT_EQ(languages, (std::vector<std::wstring>{L"English", L"Espa\u00F1ol", L"Portugu\u00EAs"}));
    PostMessageW(GetParent(combo), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1;
    EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &exitCode) && exitCode == 0) << exitCode;
    CloseHandle(process.hThread), CloseHandle(process.hProcess);
    removeSettingsFolder();
}

TEST(ReleaseZip, WindowClassesCarryTheIconAtBothSizes) {
    Shell shell;
    EXPECT_TRUE(GetClassLongPtrW(shell.window(), GCLP_HICON) && GetClassLongPtrW(shell.window(), GCLP_HICONSM));
}

}  // namespace
