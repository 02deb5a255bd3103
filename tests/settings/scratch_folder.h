#pragma once
// A fresh, empty folder for one test, removed with everything in it when the test ends.
#include "settings/text_encoding.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// A file-system path from a wide one, by way of UTF-8 so the native build needs no locale.
inline std::filesystem::path fsPath(const std::wstring& path) {
    const std::string utf8 = wideToUtf8(path);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::wstring widePath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return utf8ToWide(std::string(utf8.begin(), utf8.end()));
}

class ScratchFolder {
public:
    ScratchFolder() {
        static int serial = 0;
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("tessaro-test-" + std::to_string(std::random_device{}()) + "-" + std::to_string(serial++));
        } while (std::filesystem::exists(path_));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return widePath(path_ / fsPath(name)); }

    // Names of the entries now in the folder.
    std::vector<std::wstring> entries() const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(widePath(entry.path().filename()));
        return names;
    }

private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
