#include "output/project_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& path) {
    std::ifstream in{path, std::ios::binary};
    return {std::istreambuf_iterator<char>(in), {}};
}

// Another program holding the project open without sharing: the save fails and the old project,
// byte for byte, is still there afterwards, with no temporary file beside it.
TEST(SaveProjectOnWindows, FileInUseKeepsThePreviousProject) {
    const fs::path folder = fs::temp_directory_path() / L"tessaro proyecto en uso";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path path = folder / L"caja.boxproj";
    BoxParameters previous;
    previous.includeLid = true;
    std::wstring error;
    ASSERT_TRUE(saveProject(path.wstring(), previous, error));
    const std::string before = readText(path);

    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(saveProject(path.wstring(), BoxParameters{}, error));
    CloseHandle(held);
    EXPECT_EQ(error, L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.");
    EXPECT_EQ(readText(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);
}

}  // namespace
