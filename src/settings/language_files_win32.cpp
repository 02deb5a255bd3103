#include "settings/language_files.h"

#include <windows.h>

std::vector<std::wstring> listLanguageFiles(const std::wstring& folder) {
    std::vector<std::wstring> paths;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*.json").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return paths;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) paths.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return paths;
}
