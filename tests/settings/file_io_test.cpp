#include "settings/file_io.h"

#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string kBinary("line\r\nNUL\0 \xFF\xC3\xB1 end", 18);

TEST(WriteFileReplacing, WritesAndReplacesWholeFilesWithNoTemporaryLeft) {
    ScratchFolder folder;
    for (const std::wstring name : {L"plain.json", L"Espa\u00F1ol \u20AC.json"}) {
        const std::wstring path = folder.file(name);
        for (const std::string& content : {std::string("first version, rather long"), kBinary, std::string()}) {
            ASSERT_TRUE(writeFileReplacing(path, content));
            std::string back = "stale";
            ASSERT_TRUE(readFileBytes(path, back));
            EXPECT_EQ(back, content);
        }
    }
    EXPECT_EQ(folder.entries().size(), 2u);
}

TEST(WriteFileReplacing, FailureLeavesTargetAsItWasAndRemovesTemporary) {
    ScratchFolder folder;
    const std::wstring path = folder.file(L"settings.json");
    ASSERT_TRUE(writeFileReplacing(path, "old content"));

    setWriteFaultForTesting(4);
    EXPECT_FALSE(writeFileReplacing(path, "new content that is longer"));
    setWriteFaultForTesting(0);
    EXPECT_FALSE(writeFileReplacing(path, "x"));
    clearWriteFaultForTesting();
    EXPECT_EQ(readBytes(fsPath(path)), "old content");
    EXPECT_EQ(folder.entries(), std::vector<std::wstring>{L"settings.json"});

    // A directory where the file should go cannot be replaced.
    const std::wstring blocked = folder.file(L"blocked.json");
    std::filesystem::create_directory(fsPath(blocked));
    EXPECT_FALSE(writeFileReplacing(blocked, "data"));
    EXPECT_TRUE(std::filesystem::is_directory(fsPath(blocked)));
    EXPECT_EQ(folder.entries().size(), 2u);

    EXPECT_FALSE(writeFileReplacing(folder.file(L"missing") + L"/x.json", "data"));
    EXPECT_TRUE(writeFileReplacing(path, "after the faults"));
    EXPECT_EQ(readBytes(fsPath(path)), "after the faults");
}

TEST(ReadFileBytes, RefusesWhatIsNoFileAndKeepsTheBuffer) {
    ScratchFolder folder;
    std::string bytes = "kept";
    EXPECT_FALSE(readFileBytes(folder.file(L"absent"), bytes));
    EXPECT_FALSE(readFileBytes(folder.path().wstring(), bytes));
    EXPECT_EQ(bytes, "kept");
    EXPECT_EQ(openFile(folder.file(L"absent.txt"), "rb"), nullptr);
}

TEST(ParentPath, CutsBeforeTheLastSeparatorOfEitherKind) {
    const struct {
        std::wstring path, parent;
    } cases[] = {
        {L"C:\\Program Files\\Tessaro\\tessaro.exe", L"C:\\Program Files\\Tessaro"},
        {L"/opt/tessaro/bin/tessaro", L"/opt/tessaro/bin"},
        {L"C:\\mixed/dir\\file", L"C:\\mixed/dir"},
        {L"C:\\dir/", L"C:\\dir"},
        {L"tessaro.exe", L""},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(parentPath(c.path), c.parent);
}

TEST(ModuleFolder, IsTheFolderHoldingThisTest) {
    const std::filesystem::path folder(moduleFolder());
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    const auto holdsUs = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("settings_tests")) return true;
        return false;
    };
    EXPECT_TRUE(holdsUs());
}

}  // namespace
