// The settings file, the JSON and UTF-8 helpers behind it, and atomic file replacement.
#include "settings/app_settings.h"
#include "settings/file_io.h"
#include "settings/text_encoding.h"
#include "support/files.h"
#include "support/seams.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

// The settings a file text gives after reading and normalizing, as loading does.
AppSettings loaded(const std::string& text) {
    AppSettings settings;
    readSettingsJson(text, settings);
    normalizeSettings(settings);
    return settings;
}

TEST(SettingsFile, KeysGiveNormalizedFields) {
    using S = AppSettings&;
    const std::pair<const char*, std::function<void(S)>> cases[] = {  // the change to the defaults
        {R"({"design": {"fingerWidth": 0}, "fingerDepth": 25})", [](S s) { s.fingerWidth = 1, s.fingerDepth = 10; }},
        {R"({"fingerWidth": 2.9, "fingerDepth": -2.9, "fingerHeight": 7})",
         [](S s) { s.fingerWidth = 2, s.fingerDepth = 1, s.fingerHeight = 7; }},
        {R"({"spacingMm": -1, "kerfMm": -1, "clearanceMm": 0.25})", [](S s) { s.kerfMm = 0, s.clearanceMm = 0.25; }},
        {R"({"widthMm": 0, "heightMm": -1, "depthMm": 1e999, "thicknessMm": 0, "toolDiameterMm": -3})", [](S) {}},
        {R"({"widthMm": 321.5, "heightMm": 12, "depthMm": 7.25, "thicknessMm": 6, "toolDiameterMm": 6.35})",
         [](S s) { s.widthMm = 321.5, s.heightMm = 12, s.depthMm = 7.25, s.thicknessMm = 6, s.toolDiameterMm = 6.35; }},
        {R"({"render3dMode": 3, "checkUpdatesOnStart": "yes"})", [](S) {}},
        {R"({"render3dMode": 2, "checkUpdatesOnStart": 0})", [](S s) { s.render3dMode = 2, s.checkUpdatesOnStart = false; }},
        {R"({"preview3d": true, "internalDimensions": 1, "includeLid": true, "cncRouterMode": true})",
         [](S s) { s.preview3d = s.internalDimensions = s.includeLid = s.cncRouterMode = true; }},
        {R"({"units": "IN", "language": "pt"})", [](S s) { s.units = L"IN", s.language = L"pt"; }},
        {"{\"language\": \"Espa\xC3\xB1ol\"}", [](S s) { s.language = L"Espa\u00F1ol"; }},
        // The flat search takes the first "units" anywhere, here a string value, then the next colon.
        {R"({"language": "units", "x": "in", "units": "mm"})", [](S s) { s.language = L"units", s.units = L"in"; }},
        {R"({"serverUrl": "http://x", "useServerDxf": true, "baseSlots": true, "sideSlots": 1})", [](S) {}},
        {R"({"widthDividers": 100, "depthDividers": 2.7, "dividerBaseSlots": true})",
         [](S s) { s.widthDividers = 100, s.depthDividers = 2, s.dividerBaseSlots = true; }},
        {R"({"widthDividers": 101, "depthDividers": -1})", [](S) {}},
    };
    for (const auto& [text, change] : cases) {
        AppSettings expected;
        change(expected);
        EXPECT_EQ(loaded(text), expected) << text;
    }
    AppSettings start;
    start.widthMm = 99, start.units = L"in", start.checkUpdatesOnStart = false;
    AppSettings settings = start;
    readSettingsJson(R"({"widthMm": "12", "units": in, "checkUpdatesOnStart": nope})", settings);
    EXPECT_EQ(settings, start) << "malformed values leave fields alone";

    const double nan = std::numeric_limits<double>::quiet_NaN();
    AppSettings s, repaired;
    s.widthMm = nan, s.heightMm = -1, s.kerfMm = nan, s.spacingMm = nan, s.toolDiameterMm = 0, s.fingerHeight = 0;
    normalizeSettings(s);
    repaired.kerfMm = 0;
    EXPECT_EQ(s, repaired);
}

// The exact text is a seed of the settings reader's fuzz corpus, which also reads back every
// text it writes, escapes included.
TEST(SettingsFile, WrittenTextHasItsExactLayout) {
    AppSettings s;
    s.language = L"pt", s.units = L"in", s.preview3d = true, s.render3dMode = 2, s.checkUpdatesOnStart = false;
    s.widthMm = 254.5, s.fingerDepth = 4, s.includeLid = true, s.cncRouterMode = true, s.serverUrl = L"a\"b\\c";
    s.useServerDxf = s.baseSlots = s.sideSlots = true;  // never written as true
    EXPECT_EQ(writeSettingsJson(s), readBytes(utf8ToWide(TESSARO_SOURCE_DIR "/fuzz/corpus/fuzz_settings_reader/written.json")));
}

// Windows substitutes U+FFFD for bytes that are no UTF-8, the native build widens each: both keep
// the valid neighbours, and a lone surrogate keeps its neighbours on the way back.
TEST(Utf8, InvalidTextKeepsItsNeighbours) {
    for (const std::string bad : {"a\xFF" "b", "a\xC0\xAF" "b", "a\xED\xA0\x80" "b", "a\xF4\x90\x80\x80" "b"}) {
        const std::wstring wide = utf8ToWide(bad);
        EXPECT_TRUE(wide.size() >= 3 && wide.front() == L'a' && wide.back() == L'b') << bad;
    }
    const std::string narrow = wideToUtf8(std::wstring{L'x', static_cast<wchar_t>(0xD800), L'y'});
    EXPECT_TRUE(narrow.size() >= 3 && narrow.front() == 'x' && narrow.back() == 'y');
    EXPECT_EQ(wideToUtf8(L"Espa\u00F1ol \U0001F600"), "Espa\xC3\xB1ol \xF0\x9F\x98\x80");
}

TEST(FileReplacement, WholeFilesOrNothingAndNoTemporaryLeft) {
    ScratchFolder folder;
    const std::wstring path = folder.file(L"Espa\u00F1ol \u20AC.json"), blocked = folder.file(L"blocked.json");
    for (const std::string& content : {std::string("first version, rather long"), std::string("\r\nNUL\0\xFF", 7), std::string()}) {
        std::string back = "stale";
        ASSERT_TRUE(writeFileReplacing(path, content) && readFileBytes(path, back));
        EXPECT_EQ(back, content);
    }
    ASSERT_TRUE(writeFileReplacing(path, "old content"));
    for (size_t allowed : {size_t{0}, size_t{4}}) {
        setWriteFault(allowed);
        EXPECT_FALSE(writeFileReplacing(path, "new content that is longer"));
        clearWriteFault();
    }
    std::filesystem::create_directory(fsPath(blocked));
    EXPECT_FALSE(writeFileReplacing(blocked, "data")) << "a folder cannot be replaced";
    EXPECT_FALSE(writeFileReplacing(folder.file(L"missing") + L"/x.json", "data"));
    EXPECT_EQ(readBytes(path), "old content");
    EXPECT_EQ(folder.entries().size(), 2u);

    std::string bytes = "kept";
    EXPECT_FALSE(readFileBytes(folder.file(L"absent"), bytes) || readFileBytes(widePath(folder.path()), bytes) ||
                 readFileBytesUpTo(path, bytes, 10));
    EXPECT_EQ(bytes, "kept");
    EXPECT_TRUE(readFileBytesUpTo(path, bytes, 11));
    EXPECT_TRUE(parentPath(L"C:\\mixed/dir\\file") == L"C:\\mixed/dir" && parentPath(L"tessaro.exe").empty());
    EXPECT_TRUE(std::filesystem::is_directory(fsPath(joinPath(moduleFolder(), L"languages"))));
}

}  // namespace
