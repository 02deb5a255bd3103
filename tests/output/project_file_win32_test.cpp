#include "output/project_file.h"

#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// Another program holding the project open without sharing: the save fails and the old project,
// byte for byte, is still there afterwards, with no temporary file beside it.
TEST(SaveProjectOnWindows, FileInUseKeepsThePreviousProject) {
    const ScratchFolder folder;
    const std::filesystem::path path = folder.path() / L"caja.boxproj";
    BoxParameters previous;
    previous.includeLid = true;
    std::wstring error;
    ASSERT_TRUE(saveProject(path.wstring(), previous, error));
    const std::string before = readBytes(path);

    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(saveProject(path.wstring(), BoxParameters{}, error));
    CloseHandle(held);
    EXPECT_EQ(error, L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.");
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(folder.entries().size(), 1u);
}

}  // namespace
