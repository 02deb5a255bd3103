#include "settings/language_files.h"

#include "settings/text_encoding.h"

#include <filesystem>

namespace {

// Windows matches "*.json" ignoring case; do the same here.
bool hasJsonExtension(const std::string& name) {
    if (name.size() < 5) return false;
    std::string tail = name.substr(name.size() - 5);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return tail == ".json";
}

}  // namespace

std::vector<std::wstring> listLanguageFiles(const std::wstring& folder) {
    std::vector<std::wstring> paths;
    const std::string utf8 = wideToUtf8(folder);
    std::error_code error;
    std::filesystem::directory_iterator entries(std::u8string(utf8.begin(), utf8.end()), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::u8string name8 = entries->path().filename().u8string();
        const std::string name(name8.begin(), name8.end());
        std::error_code typeError;
        if (hasJsonExtension(name) && !entries->is_directory(typeError))
            paths.push_back(folder + L"/" + utf8ToWide(name));
    }
    return paths;
}
