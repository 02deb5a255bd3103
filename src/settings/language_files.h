#pragma once
// Enumerating language files, the one part of the language list that needs the platform.
#include <string>
#include <vector>

// Full paths of the files (not folders) named *.json in folder, in file-system order; empty when
// the folder cannot be listed.
std::vector<std::wstring> listLanguageFiles(const std::wstring& folder);
