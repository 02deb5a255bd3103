// The settings file, interface texts (built-in tables, language files and the manager that merges
// them) and the UTF-8 conversion behind them.
#include "settings/app_settings.h"
#include "settings/language_manager.h"
#include "settings/sheet_size_text.h"
#include "settings/text_encoding.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <set>

namespace {

// The settings a file text gives after reading and normalizing, as loading does.
AppSettings loaded(const std::string& text) {
    AppSettings settings;
    readSettingsJson(text, settings);
    normalizeSettings(settings);
    return settings;
}

TEST(SettingsFile, KeysGiveNormalizedFields) {
    const std::pair<const char*, AppSettings> cases[] = {
        {R"({"design": {"fingerWidth": 0}, "fingerDepth": 25})",
         {.design = {.fingerCountWidth = 1, .fingerCountDepth = 10}}},
        {R"({"fingerWidth": 2.9, "fingerDepth": -2.9, "fingerHeight": 7})",
         {.design = {.fingerCountWidth = 2, .fingerCountDepth = 1, .fingerCountHeight = 7}}},
        {R"({"spacingMm": -1, "kerfMm": -1, "clearanceMm": 0.25})", {.design = {.kerf = 0, .clearance = 0.25}}},
        {R"({"widthMm": 0, "heightMm": -1, "depthMm": 1e999, "thicknessMm": 0, "toolDiameterMm": -3})", {}},
        {R"({"widthMm": 321.5, "heightMm": 12, "depthMm": 7.25, "thicknessMm": 6, "toolDiameterMm": 6.35})",
         {.design = {.inputWidth = 321.5, .inputHeight = 12, .inputDepth = 7.25, .materialThickness = 6,
                     .toolDiameter = 6.35}}},
        {R"({"render3dMode": 3, "checkUpdatesOnStart": "yes"})", {}},
        {R"({"render3dMode": 2, "checkUpdatesOnStart": 0})", {.render3dMode = 2, .checkUpdatesOnStart = false}},
        {R"({"preview3d": true, "internalDimensions": 1, "includeLid": true, "cncRouterMode": true})",
         {.preview3d = true,
          .design = {.dimensionMode = DimensionMode::Internal, .includeLid = true, .cutMode = CutMode::CncRouter}}},
        {R"({"units": "IN", "language": "pt"})", {.units = L"IN", .language = L"pt"}},
        {"{\"language\": \"Espa\xC3\xB1ol\"}", {.language = L"Espa\u00F1ol"}},
        {R"({"serverUrl": "http://x", "useServerDxf": true, "baseSlots": true, "sideSlots": 1})", {}},
        {R"({"widthDividers": 100, "depthDividers": 2.7, "dividerBaseSlots": true})",
         {.design = {.widthDividerCount = 100, .depthDividerCount = 2, .addDividerBaseSlots = true}}},
        {R"({"widthDividers": 101, "depthDividers": -1})", {}},
        {R"({"sheetSizeMm": [600, 400.5], "sheetMarginMm": 0, "turnPieces": false})",
         {.design = {.sheetSize = {600, 400.5}, .sheetMargin = 0, .turnPieces = false}}},
        {R"({"sheetSizeMm": [600, -1], "sheetMarginMm": -2})", {}},
        {R"({"sheetSizeMm": [1e6, 400]})", {}},
        {R"({"sheetSizeMm": "600 x 400"})", {}},
        {R"({"windowX": -99999999999, "windowY": 5, "windowWidth": 99999999999, "windowHeight": 640})",
         {.windowX = -100000, .windowY = 5, .windowWidth = 100000, .windowHeight = 640}},
        {R"({"windowX": 7, "windowWidth": 800, "windowHeight": -3, "windowMaximized": true})",
         {.windowX = 7, .windowMaximized = true}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(loaded(text), expected) << text;
    const AppSettings sheet{.design = {.sheetSize = {304.8, 609.6}, .sheetMargin = 1.5, .turnPieces = false}};
    EXPECT_EQ(loaded(writeSettingsJson(sheet)), sheet) << writeSettingsJson(sheet);
    const AppSettings start{.units = L"in", .checkUpdatesOnStart = false, .design = {.inputWidth = 99}};
    AppSettings settings = start;
    readSettingsJson(R"({"widthMm": "12", "units": in, "checkUpdatesOnStart": nope})", settings);
    EXPECT_EQ(settings, start) << "malformed values leave fields alone";

    const double nan = std::numeric_limits<double>::quiet_NaN();
    AppSettings s{.design = {.inputWidth = nan, .inputHeight = -1, .fingerCountHeight = 0, .kerf = nan, .spacing = nan,
                             .toolDiameter = 0}};
    normalizeSettings(s);
    EXPECT_EQ(s, AppSettings{.design = {.kerf = 0}});
}

// The exact text is a seed of the settings reader's fuzz corpus, which also reads back every
// text it writes, escapes included.
TEST(SettingsFile, WrittenTextHasItsExactLayout) {
    const AppSettings s{.serverUrl = L"a\"b\\c", .useServerDxf = true, .preview3d = true, .render3dMode = 2,
                        .units = L"in", .language = L"pt", .checkUpdatesOnStart = false,
                        .design = {.inputWidth = 254.5, .fingerCountDepth = 4, .includeLid = true,
                                   .cutMode = CutMode::CncRouter},
                        .baseSlots = true,
                        .sideSlots = true, .windowX = -40, .windowWidth = 900, .windowHeight = 700,
                        .windowMaximized = true};  // the server's fields and the slots are never written as set
    const std::string seed = TESSARO_SOURCE_DIR "/fuzz/corpus/fuzz_text_readers/written.json";
    EXPECT_EQ(writeSettingsJson(s), readBytes(utf8ToWide(seed)));
}

// A size typed on the panel or the command line, in the unit it names or else the one asked for.
TEST(SheetSizeText, PresetsTypedSizesAndStoredPairs) {
    using Size = std::optional<SheetSize>;
    const std::tuple<const wchar_t*, bool, Size> cases[] = {
        {L"600x400", false, SheetSize{600, 400}},
        {L" 600 X 400.5 ", false, SheetSize{600, 400.5}},
        {L"12 x 24", true, SheetSize{304.8, 609.6}},
        {L"300 x 200 mm", true, SheetSize{300, 200}},
        {L"24x12in", false, SheetSize{609.6, 304.8}},
        {L"a4", true, SheetSize{297, 210}},
        {L"A3 (420 x 297 mm)", true, SheetSize{420, 297}},
        {L"600", false, std::nullopt},
        {L"600x", false, std::nullopt},
        {L"x400", false, std::nullopt},
        {L"0x400", false, std::nullopt},
        {L"600x-400", false, std::nullopt},
        {L"600x400x3", false, std::nullopt},
        {L"600x400 cm", false, std::nullopt},
        {L"a5", false, std::nullopt},
        {L"", false, std::nullopt},
    };
    for (const auto& [text, inches, size] : cases) {
        const Size read = parseSheetSize(text, inches);
        EXPECT_EQ(read.has_value(), size.has_value()) << text;
        if (!read || !size) continue;
        EXPECT_NEAR(read->width, size->width, 1e-9) << text;
        EXPECT_NEAR(read->height, size->height, 1e-9) << text;
    }
    // Each listed sheet is the size its label says, in the label's unit.
    for (const SheetPreset& preset : sheetPresets()) {
        const std::wstring label = preset.label;
        const size_t open = label.find(L'(');
        const std::wstring said = open == std::wstring::npos ? label : label.substr(open + 1, label.size() - open - 2);
        EXPECT_EQ(parseSheetSize(said, true), preset.size) << preset.label;
        EXPECT_EQ(parseSheetSize(preset.label, false), preset.size) << preset.label;
    }
    EXPECT_EQ(sheetSizeText({304.8, 609.6}, true), L"12 x 24");
    EXPECT_EQ(sheetSizeText({600, 400.25}, false), L"600 x 400.25");
    const SheetSize odd{1.0 / 3, 1e5};
    const std::string stored = storedSheetSize(odd);
    EXPECT_EQ(stored, "[0.333333, 100000.000000]");
    EXPECT_EQ(readStoredSheetSize(stored, 0), (SheetSize{0.333333, 1e5}));
    for (const char* damaged : {"[600]", "[600, 400", "[600 400]", "600, 400]", "[, 400]"})
        EXPECT_FALSE(readStoredSheetSize(damaged, 0)) << damaged;
}

// Windows puts U+FFFD where bytes are no UTF-8 or a surrogate stands alone, the native build keeps
// one unit per byte: either way the text around them stays.
TEST(Utf8, WhatIsNoTextKeepsItsNeighbours) {
    const std::wstring wide = utf8ToWide("a\xFF" "b");
    EXPECT_TRUE(wide.starts_with(L'a'));
    EXPECT_TRUE(wide.ends_with(L'b'));
    const std::string narrow = wideToUtf8(std::wstring{L'x', static_cast<wchar_t>(0xD800), L'y'});
    EXPECT_TRUE(narrow.starts_with('x'));
    EXPECT_TRUE(narrow.ends_with('y'));
}

std::string utf8(const std::wstring& text) { return wideToUtf8(text); }

TEST(Languages, EveryKeyHasItsTextInEachShippedLanguage) {
    LanguageTable english, spanish, portuguese;
    buildEnglishTable(english);
    buildSpanishTable(spanish);
    ASSERT_TRUE(loadLanguageFile(utf8ToWide(TESSARO_SOURCE_DIR "/languages/pt.json"), portuguese));
    EXPECT_EQ(spanish.size(), english.size());
    EXPECT_EQ(portuguese.size(), english.size());
    for (const auto& [key, text] : english) {
        for (const LanguageTable* other : {&spanish, &portuguese}) {
            ASSERT_TRUE(other->contains(key)) << utf8(key);
            // The shell appends values to texts ending in a space.
            EXPECT_EQ(other->at(key).ends_with(L' '), text.ends_with(L' ')) << utf8(key);
        }
    }
    EXPECT_NE(portuguese[L"preview.zoomHintFormat"].find(L"%d%%"), std::wstring::npos);
}

TEST(Languages, TextScanReadsStringMembersAtAnyDepth) {
    const struct {
        std::wstring text;
        LanguageTable table;
    } cases[] = {
        {L"{\"o\": {\"a\": \"x\", \"n\": 5, \"d\": {\"b\": \"y\"}}, \"a\": \"z\"}", {{L"a", L"z"}, {L"b", L"y"}}},
        {L"{\"n\": 5, \"t\": true, \"z\": null, \"a\" \r\n\t: \r\n\t\"x\"}", {{L"a", L"x"}}},
        {L"{\"a\": \"l\\nr\\rt\\t q\\\" b\\\\ s\\/ x\\q\"}", {{L"a", L"l\nr\rt\t q\" b\\ s/ xq"}}},
        {L"{\"a\": \"\\u00ef\\u00CF\\u0g41\", \"b\": \"\\ud83d\\ude00\"}",
         {{L"a", L"\u00EF\u00CFA"}, {L"b", L"\U0001F600"}}},
        {L"{\"k\\r\\n\\\"\\\\\\t\": \"v\"}", {{L"k\r\n\"\\\t", L"v"}}},
        {L"{\"a\" , \"b\": \"c\"}", {{L"a", L"c"}}},  // the next colon anywhere belongs to the key
    };
    for (const auto& c : cases) {
        LanguageTable table = {{L"stale", L"entry"}};
        EXPECT_EQ(parseLanguageText(c.text, table), !c.table.empty()) << utf8(c.text);
        EXPECT_EQ(table, c.table) << utf8(c.text);
    }
    const std::pair<const wchar_t*, const wchar_t*> codes[] = {{L" \tPT-br \t", L"pt-br"}, {L" \t ", L"en"},
                                                               {L"\nEN", L"\nen"}};
    for (const auto& [code, normalized] : codes) EXPECT_EQ(normalizeLanguageCode(code), normalized);
}

// A language file of exactly `size` bytes whose one text is padding.
std::string fileOfSize(size_t size) { return "{\"a\": \"" + std::string(size - 9, 'x') + "\"}"; }

TEST(Languages, FilesUpToOneMebibyteAreListedAndMergedOverEnglish) {
    ScratchFolder folder, later;
    const std::pair<const wchar_t*, std::string> files[] = {
        {L"fr.json", "\xEF\xBB\xBF{\"language.name\": \"Fran\xC3\xA7" "ais\", \"status.ready\": \"Pr\xC3\xAAt\"}"},
        {L"ES.json", "{\"button.save\": \"Grabar\"}"}, {L".json", "{\"status.viewFit\": \"Fitted!\"}"},
        {L"big.json", fileOfSize(1048577)}, {L"limit.json", fileOfSize(1048576)},
        {L"a.b.JSON", "{\"language.name\": \"\"}"},
        {L"xx.json", "{\"language.name\": \"First\", \"status.ready\": \"one\"}"},
        {L"notes.txt", "{\"language.name\": \"Not a language\"}"}};
    for (const auto& [name, bytes] : files) writeBytes(folder.file(name), bytes);
    std::filesystem::create_directory(folder.path() / "dir.json");
    writeBytes(later.file(L"XX.json"), "{\"language.name\": \"Second\", \"status.ready\": \"two\"}");

    LanguageManager manager;
    EXPECT_EQ(manager.lookupText(L"status.ready"), L"Ready") << "a fresh manager speaks English";
    manager.applyLanguage(L"pt");  // an empty list is scanned first: the shipped files beside the program
    EXPECT_EQ(manager.lookupText(L"button.save"), L"Salvar");
    ASSERT_GE(manager.available().size(), 3u);
    EXPECT_EQ(manager.available()[1].displayName, L"Espa\u00F1ol");
    const size_t shipped = manager.available().size();
    for (const std::wstring& where : {widePath(folder.path()), widePath(later.path()), std::wstring(L"")})
        manager.scanLanguageFolder(where);

    const auto& list = manager.available();
    ASSERT_EQ(list.size(), shipped + 5);
    EXPECT_EQ(list[1].displayName, L"es") << "the file has no name of its own";
    std::set<std::wstring> added;
    for (size_t i = shipped; i < list.size(); ++i) added.insert(list[i].code + L"=" + list[i].displayName);
    EXPECT_EQ(added, (std::set<std::wstring>{L"fr=Fran\u00E7ais", L"big=big", L"limit=limit", L"a.b=a.b",
                                             L"xx=Second"}));
    const std::array<const wchar_t*, 4> cases[] = {  // asked for, chosen, key, text
        {L"FR", L"fr", L"status.ready", L"Pr\u00EAt"},  {L"fr", L"fr", L"button.save", L"Save"},
        {L"es", L"es", L"button.save", L"Grabar"},       {L"es", L"es", L"status.ready", L"Listo"},
        {L" EN\t", L"en", L"status.viewFit", L"Fitted!"}, {L"zz", L"en", L"status.ready", L"Ready"},
        {L"big", L"big", L"status.ready", L"Ready"},     {L"xx", L"xx", L"status.ready", L"two"},
        {L"en", L"en", L"no.such.key", L"no.such.key"},
    };
    for (const auto& [request, code, key, text] : cases) {
        manager.applyLanguage(request);
        EXPECT_EQ(manager.currentCode(), code) << utf8(request);
        EXPECT_EQ(manager.lookupText(key), text) << utf8(request);
    }
    EXPECT_EQ(manager.lookupText(static_cast<const wchar_t*>(nullptr)), L"");
    manager.applyLanguage(L"limit");
    EXPECT_EQ(manager.lookupText(L"a").size(), 1048576u - 9u);
    LanguageTable untouched = {{L"kept", L"yes"}};
    EXPECT_FALSE(loadLanguageFile(folder.file(L"big.json"), untouched));
    EXPECT_FALSE(loadLanguageFile(folder.file(L"absent.json"), untouched));
    EXPECT_EQ(untouched.size(), 1u);
}

}  // namespace
