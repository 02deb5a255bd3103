// The settings store against the real per-user folders of the test's Wine prefix.
#include "settings/app_settings.h"
#include "settings/file_io.h"

#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path appData() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path))) return {};
    return path;
}

// Starts and ends every test with no settings at either location and no config.ini.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(appData().empty());
        clean();
    }
    void TearDown() override { clean(); }

    static void clean() {
        std::error_code ignored;
        fs::remove_all(appData() / L"Orvell", ignored);
        fs::remove_all(appData() / L"Velmora", ignored);
        fs::remove_all(configIni(), ignored);
    }

    static fs::path currentFile() { return appData() / L"Orvell" / L"Tessaro" / L"settings.json"; }
    static fs::path olderFile() { return appData() / L"Velmora" / L"VM Tessaro" / L"settings.json"; }
    static fs::path configIni() { return fs::path(moduleFolder()) / L"config.ini"; }

    static void place(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        writeBytes(path, bytes);
    }
};

TEST_F(SettingsStore, FirstRunSavesAndReturnsTheDefaults) {
    const AppSettings settings = loadSettings();
    EXPECT_EQ(settings, AppSettings{});
    EXPECT_EQ(readBytes(currentFile()), writeSettingsJson(AppSettings{}));
    EXPECT_EQ(fs::path(settingsFilePath()), currentFile());
    EXPECT_EQ(fs::path(settingsFolder()), currentFile().parent_path());
}

TEST_F(SettingsStore, ZeroByteFileKeepsDefaultsAndIsNotRewritten) {
    place(currentFile(), "");
    place(configIni(), "[preferences]\nlanguage=pt\n");
    EXPECT_EQ(loadSettings(), AppSettings{});
    EXPECT_EQ(fs::file_size(currentFile()), 0u);
}

TEST_F(SettingsStore, FileIsReadAsFoundAndNotRewrittenByLoading) {
    const struct {
        const char* text;
        std::function<void(AppSettings&)> expect;
    } cases[] = {
        {R"({"language": "pt", "units": "in", "design": {"widthMm": 321.5, "fingerWidth": 2.9}})",
         [](AppSettings& s) { s.language = L"pt", s.units = L"in", s.widthMm = 321.5, s.fingerWidth = 2; }},
        {R"({"language": "units", "other": "IN"})", [](AppSettings& s) { s.language = L"units", s.units = L"IN"; }},
        {"{\"language\": \"\", \"widthMm\": 1e999, \"heightMm\": \xFF}", [](AppSettings&) {}},
    };
    for (const auto& c : cases) {
        place(currentFile(), c.text);
        AppSettings expected;
        c.expect(expected);
        EXPECT_EQ(loadSettings(), expected) << c.text;
        EXPECT_EQ(readBytes(currentFile()), c.text);
    }
}

TEST_F(SettingsStore, OlderFileIsMigratedAndLeftInPlace) {
    const std::string older = R"({"language": "en", "units": "IN", "design": {"depthMm": 88, "includeLid": true}})";
    place(olderFile(), older);
    place(configIni(), "[preferences]\nlanguage=pt\n");  // not a first run: ignored
    AppSettings expected;
    expected.language = L"en", expected.units = L"IN", expected.depthMm = 88, expected.includeLid = true;
    EXPECT_EQ(loadSettings(), expected);
    EXPECT_EQ(readBytes(currentFile()), writeSettingsJson(expected));
    EXPECT_EQ(readBytes(olderFile()), older);

    place(olderFile(), R"({"language": "de"})");  // the current file now wins
    EXPECT_EQ(loadSettings(), expected);
}

TEST_F(SettingsStore, ConfigIniGivesFirstRunValuesOnly) {
    const struct {
        const char* ini;
        std::function<void(AppSettings&)> expect;
    } cases[] = {
        {"[preferences]\nunits=inches\nlanguage=pt\ncheck_updates_on_start=0\n"
         "[preview]\nview_3d=1\nrender_3d_mode=2\n[dxf]\nserver_url=http://dxf\nuse_server=1\n",
         [](AppSettings& s) {
             s.units = L"in", s.language = L"pt", s.checkUpdatesOnStart = false, s.preview3d = true;
             s.render3dMode = 2;
         }},
        {"[preferences]\nunits=INCH\n", [](AppSettings& s) { s.units = L"in"; }},
        {"[preferences]\nunits=In\n", [](AppSettings& s) { s.units = L"in"; }},
        {"[preferences]\nunits=cm\nlanguage=\n", [](AppSettings&) {}},
        {"[preview]\nrender_3d_mode=5\n", [](AppSettings&) {}},
        {"[preview]\nrender_3d_mode=-1\nview_3d=0\n", [](AppSettings&) {}},
        {"[other]\nunits=in\n", [](AppSettings&) {}},
    };
    for (const auto& c : cases) {
        clean();
        place(configIni(), c.ini);
        AppSettings expected;
        c.expect(expected);
        EXPECT_EQ(loadSettings(), expected) << c.ini;
        EXPECT_EQ(readBytes(currentFile()), writeSettingsJson(expected)) << c.ini;
        place(configIni(), "[preferences]\nlanguage=fr\n");
        EXPECT_EQ(loadSettings(), expected) << "config.ini read again after " << c.ini;
    }
}

TEST_F(SettingsStore, ConfigIniThatIsAFolderIsIgnored) {
    fs::create_directories(configIni());
    EXPECT_EQ(loadSettings(), AppSettings{});
}

TEST_F(SettingsStore, SaveThenLoadGivesTheNormalizedRecord) {
    AppSettings s;
    s.language = L"Portugu\u00EAs", s.units = L"in", s.preview3d = true, s.render3dMode = 1;
    s.widthMm = 254.25, s.kerfMm = -3, s.fingerHeight = 40, s.serverUrl = L"http://dxf", s.sideSlots = true;
    const AppSettings original = s;
    ASSERT_TRUE(saveSettings(s));
    EXPECT_EQ(s, original);  // the argument is not changed
    normalizeSettings(s);
    EXPECT_EQ(loadSettings(), s);
}

TEST_F(SettingsStore, FailedSaveReturnsFalseAndKeepsThePreviousFile) {
    AppSettings previous;
    previous.language = L"pt";
    ASSERT_TRUE(saveSettings(previous));
    const std::string kept = readBytes(currentFile());
    AppSettings next;
    next.language = L"en";

    setWriteFaultForTesting(20);  // the disk fills half-way through the text
    EXPECT_FALSE(saveSettings(next));
    clearWriteFaultForTesting();
    EXPECT_EQ(readBytes(currentFile()), kept);

    {  // another program holds the file open without sharing
        const HANDLE held = CreateFileW(currentFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(saveSettings(next));
        CloseHandle(held);
    }
    EXPECT_EQ(readBytes(currentFile()), kept);
    EXPECT_EQ(loadSettings().language, L"pt");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(currentFile().parent_path())) ++entries;
    EXPECT_EQ(entries, 1u);  // no temporary file left behind

    fs::remove(currentFile());
    fs::create_directory(currentFile());  // settings.json that is a folder
    EXPECT_FALSE(saveSettings(next));
    EXPECT_TRUE(fs::is_directory(currentFile()));
}

}  // namespace
