#pragma once
// Files for tests, read and written without the product's own file code: a scratch folder removed
// afterwards, and whole files.
#include "settings/text_encoding.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// Wide paths by way of UTF-8, so the native build needs no locale.
inline std::filesystem::path fsPath(const std::wstring& path) {
    const std::string utf8 = wideToUtf8(path);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::wstring widePath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return utf8ToWide(std::string(utf8.begin(), utf8.end()));
}

inline void writeBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(fsPath(path), std::ios::binary | std::ios::trunc) << bytes;
}

// Empty when the file cannot be read.
inline std::string readBytes(const std::wstring& path) {
    std::ifstream in(fsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ScratchFolder {
public:
    ScratchFolder() {
        static int serial = 0;
        do {
            path_ = std::filesystem::temp_directory_path() /
                    ("tessaro-test-" + std::to_string(std::random_device{}()) + "-" + std::to_string(serial++));
        } while (std::filesystem::exists(path_));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_, ignored_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return widePath(path_ / fsPath(name)); }

private:
    std::filesystem::path path_;
    std::error_code ignored_;
};
