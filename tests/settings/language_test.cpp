#include "settings/language_manager.h"

#include "settings/scratch_folder.h"
#include "settings/text_encoding.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string utf8(const std::wstring& text) { return wideToUtf8(text); }

TEST(BuiltinTables, HoldEveryTextOfBothLanguages) {
    LanguageTable english, spanish;
    buildEnglishTable(english);
    buildSpanishTable(spanish);
    ASSERT_EQ(english.size(), 117u);
    ASSERT_EQ(spanish.size(), 117u);
    const struct {
        const wchar_t *key, *english, *spanish;
    } samples[] = {
        {L"language.name", L"English", L"Espa\u00F1ol"},
        {L"preview.zoomHintFormat",
         L"Zoom %d%%  |  Wheel: zoom in/out  |  Right or middle button: pan  |  Double click: fit",
         L"Zoom %d%%  |  Rueda: acercar/alejar  |  Boton derecho o central: mover  |  Doble clic: ajustar"},
        {L"status.invalidParameters", L"Invalid parameters: ", L"Parametros invalidos: "},
    };
    for (const auto& s : samples) {
        EXPECT_EQ(english.at(s.key), s.english) << utf8(s.key);
        EXPECT_EQ(spanish.at(s.key), s.spanish) << utf8(s.key);
    }
    // Texts Spanish shares with English; every other key has its own Spanish text.
    const std::set<std::wstring> shared = {
        L"app.title", L"app.windowTitle", L"app.versionLine", L"label.kerf", L"renderer.gdi", L"renderer.d3d9",
        L"status.preview", L"about.version", L"dialog.preview", L"file.dxfFilter"};
    std::set<std::wstring> same;
    for (const auto& [key, text] : english) {
        ASSERT_TRUE(spanish.count(key)) << utf8(key);
        if (spanish.at(key) == text) same.insert(key);
    }
    EXPECT_EQ(same, shared);
}

TEST(NormalizeLanguageCode, LowersAsciiAndTrimsSpacesAndTabs) {
    const struct {
        std::wstring in, out;
    } cases[] = {
        {L"es", L"es"}, {L"EN", L"en"}, {L" \tEs \t", L"es"}, {L"", L"en"}, {L" \t ", L"en"},
        {L"pt-BR", L"pt-br"}, {L"a b", L"a b"}, {L"\nen", L"\nen"}, {L"\u00C9S", L"\u00C9s"},
    };
    for (const auto& c : cases) EXPECT_EQ(normalizeLanguageCode(c.in), c.out) << utf8(c.in);
}

TEST(ParseLanguageText, ReadsStringMembersInOneForwardScan) {
    const struct {
        std::wstring text;
        LanguageTable table;
    } cases[] = {
        {L"{\"a\": \"x\", \"b\":\"y\"}", {{L"a", L"x"}, {L"b", L"y"}}},
        {L"{\"o\": {\"a\": \"x\", \"n\": 5, \"d\": {\"b\": \"y\"}}, \"c\": \"z\"}",
         {{L"a", L"x"}, {L"b", L"y"}, {L"c", L"z"}}},
        {L"{\"a\": \"1\", \"a\": \"2\"}", {{L"a", L"2"}}},
        {L"{\"n\": 5, \"t\": true, \"z\": null, \"a\": \"x\"}", {{L"a", L"x"}}},
        {L"{\"a\" \r\n\t: \r\n\t\"x\"}", {{L"a", L"x"}}},
        {L"{\"a\": \"l\\nr\\rt\\t q\\\" b\\\\ s\\/ x\\q\"}", {{L"a", L"l\nr\rt\t q\" b\\ s/ xq"}}},
        {L"{\"a\": \"\\u00e9\\u00C9\\u0g41\"}", {{L"a", L"\u00E9\u00C9A"}}},
        {L"{\"a\": \"\\ud83d\\ude00\"}", {{L"a", L"\U0001F600"}}},
        {L"{\"a\": \"\\u41", {{L"a", L"u41"}}},
        {L"{\"a\": \"open to the end", {{L"a", L"open to the end"}}},
        {L"{\"a\": \"x\\", {{L"a", L"x\\"}}},
        {L"{\"k\\r\\n\\\"\\\\\\t\": \"v\"}", {{L"kr\n\"\\\t", L"v"}}},
        {L"{\"a\" , \"b\": \"c\"}", {{L"a", L"c"}}},  // flat: the next colon anywhere belongs to the key
        {L"{\"a\": \"x\", \"b", {{L"a", L"x"}}},
        {L"{\"\": \"v\"}", {}},
        {L"{\"a\" \"b\"}", {}},
        {L"{\"a\":}", {}},
        {L"{}", {}},
        {L"", {}},
    };
    for (const auto& c : cases) {
        LanguageTable table = {{L"stale", L"entry"}};
        EXPECT_EQ(parseLanguageText(c.text, table), !c.table.empty()) << utf8(c.text);
        EXPECT_EQ(table, c.table) << utf8(c.text);
    }
}

TEST(ParseLanguageText, HostileTextEndsWithoutCrashOrHang) {
    const size_t mib = 1 << 20;
    std::wstring nested;
    for (size_t i = 0; i < mib / 6; ++i) nested += L"{\"k\": ";
    nested += L"\"deep\"" + std::wstring(mib / 6, L'}');
    std::wstring unpaired;
    for (int i = 0; i < 1000; ++i) unpaired += L"\"k" + std::to_wstring(i) + L"\": \"\\ud800\\udc00\\udfff\\ud83d\",";
    const struct {
        std::wstring text;
        size_t entries;
    } cases[] = {
        {std::wstring(mib, L'"'), 0},
        {std::wstring(mib, L'\\'), 0},
        {std::wstring(mib, L'{'), 0},
        {std::wstring(mib, L':'), 0},
        {L"\"a\"" + std::wstring(mib, L':'), 0},
        {L"{\"a\": \"" + std::wstring(mib, L'\\'), 1},
        {nested, 1},
        {L"{" + unpaired + L"}", 1000},
    };
    for (const auto& c : cases) {
        LanguageTable table;
        parseLanguageText(c.text, table);
        EXPECT_EQ(table.size(), c.entries);
    }
}

class LanguageFiles : public ::testing::Test {
protected:
    std::wstring write(const std::wstring& name, const std::string& bytes, const ScratchFolder& where) {
        writeBytes(fsPath(where.file(name)), bytes);
        return where.file(name);
    }
    std::wstring write(const std::wstring& name, const std::string& bytes) { return write(name, bytes, folder_); }

    ScratchFolder folder_;
};

// A language file of exactly `size` bytes whose one text is padding.
std::string fileOfSize(size_t size) {
    const std::string head = "{\"a\": \"", tail = "\"}";
    return head + std::string(size - head.size() - tail.size(), 'x') + tail;
}

TEST_F(LanguageFiles, ReadsFilesUpToOneMebibyte) {
    const std::string body = "{\"a\": \"\xC3\xA9\"}";
    const struct {
        const wchar_t* name;
        std::string bytes;
        std::wstring text;
        bool loads;
    } cases[] = {
        {L"plain.json", body, L"{\"a\": \"\u00E9\"}", true},
        {L"bom.json", "\xEF\xBB\xBF" + body, L"{\"a\": \"\u00E9\"}", true},
        {L"bomonly.json", "\xEF\xBB\xBF", L"", false},
        {L"empty.json", "", L"", false},
        {L"nomembers.json", "{}", L"{}", false},
        {L"limit.json", fileOfSize(1048576), utf8ToWide(fileOfSize(1048576)), true},
        {L"over.json", fileOfSize(1048577), L"", false},
    };
    for (const auto& c : cases) {
        const std::wstring path = write(c.name, c.bytes);
        EXPECT_EQ(readLanguageText(path), c.text) << utf8(c.name);
        LanguageTable table = {{L"untouched", L"yes"}};
        EXPECT_EQ(loadLanguageFile(path, table), c.loads) << utf8(c.name);
        if (c.text.empty()) {
            EXPECT_EQ(table, (LanguageTable{{L"untouched", L"yes"}})) << utf8(c.name);
        }
    }
    EXPECT_EQ(readLanguageText(folder_.file(L"absent.json")), L"");
    EXPECT_EQ(readLanguageText(folder_.path().wstring()), L"");
}

TEST_F(LanguageFiles, InvalidUtf8StillGivesTheMembers) {
    LanguageTable table;
    ASSERT_TRUE(loadLanguageFile(write(L"bad.json", "{\"a\": \"\xFF\xC3\", \"b\": \"\xED\xA0\x80ok\"}"), table));
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table.at(L"b").substr(table.at(L"b").size() - 2), L"ok");
}

TEST_F(LanguageFiles, FreshManagerSpeaksEnglishAndFallsBackToTheKey) {
    const LanguageManager manager;
    EXPECT_EQ(manager.currentCode(), L"en");
    EXPECT_TRUE(manager.available().empty());
    EXPECT_EQ(manager.lookupText(L"status.ready"), L"Ready");
    EXPECT_EQ(manager.lookupText(L"no.such.key"), L"no.such.key");
    EXPECT_EQ(manager.lookupText(static_cast<const wchar_t*>(nullptr)), L"");
}

TEST_F(LanguageFiles, FileLanguagesAreListedAndMergedOverEnglish) {
    write(L"fr.json", "{\"language.name\": \"Fran\xC3\xA7" "ais\", \"status.ready\": \"Pr\xC3\xAAt\", \"x.only\": \"X\"}");
    write(L"ES.json", "{\"button.save\": \"Grabar\"}");
    write(L".json", "{\"status.viewFit\": \"Fitted!\"}");
    write(L"big.json", fileOfSize(1048577));
    write(L"a.b.json", "{\"language.name\": \"\"}");
    write(L"notes.txt", "{\"language.name\": \"Not a language\"}");
    std::filesystem::create_directory(folder_.path() / "dir.json");

    LanguageManager manager;
    manager.scanLanguages();
    const size_t builtIn = manager.available().size();
    manager.scanLanguageFolder(folder_.path().wstring());
    manager.scanLanguageFolder(L"");
    manager.scanLanguageFolder(folder_.file(L"missing"));

    const auto& list = manager.available();
    ASSERT_EQ(list.size(), builtIn + 3);
    EXPECT_EQ(list[0].code, L"en");
    EXPECT_EQ(list[1].code, L"es");
    EXPECT_EQ(list[1].displayName, L"es");  // the file has no name of its own
    std::set<std::wstring> added;
    for (size_t i = builtIn; i < list.size(); ++i) added.insert(list[i].code + L"=" + list[i].displayName);
    EXPECT_EQ(added, (std::set<std::wstring>{L"fr=Fran\u00E7ais", L"big=big", L"a.b=a.b"}));

    const struct {
        const wchar_t* request;
        const wchar_t* code;
        const wchar_t* key;
        const wchar_t* text;
    } cases[] = {
        {L"fr", L"fr", L"status.ready", L"Pr\u00EAt"},
        {L"FR", L"fr", L"button.save", L"Save"},           // missing in the file: English
        {L"fr", L"fr", L"x.only", L"X"},
        {L"es", L"es", L"button.save", L"Grabar"},
        {L"es", L"es", L"status.ready", L"Listo"},
        {L"es", L"es", L"status.viewFit", L"Vista ajustada."},
        {L" EN\t", L"en", L"status.viewFit", L"Fitted!"},  // ".json" speaks for English
        {L"en", L"en", L"x.only", L"x.only"},              // nothing of French remains
        {L"zz", L"en", L"status.ready", L"Ready"},
        {L"", L"en", L"status.ready", L"Ready"},
        {L"big", L"big", L"status.ready", L"Ready"},
    };
    for (const auto& c : cases) {
        manager.applyLanguage(c.request);
        EXPECT_EQ(manager.currentCode(), c.code) << utf8(c.request);
        EXPECT_EQ(manager.lookupText(c.key), c.text) << utf8(c.request) << " " << utf8(c.key);
    }
}

TEST_F(LanguageFiles, LaterFolderReplacesNameAndFile) {
    ScratchFolder later;
    write(L"xx.json", "{\"language.name\": \"First\", \"status.ready\": \"one\"}");
    const std::wstring second = write(L"XX.json", "{\"language.name\": \"Second\", \"status.ready\": \"two\"}", later);
    LanguageManager manager;
    manager.scanLanguages();
    manager.scanLanguageFolder(folder_.path().wstring());
    manager.scanLanguageFolder(later.path().wstring());
    const auto info = manager.findLanguage(L" Xx ");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->displayName, L"Second");
    EXPECT_EQ(info->filePath, second);
    manager.applyLanguage(L"xx");
    EXPECT_EQ(manager.lookupText(L"status.ready"), L"two");
}

TEST(ScanLanguages, FindsTheShippedFilesBesideTheExecutable) {
    LanguageManager manager;
    manager.applyLanguage(L"pt");  // an empty list is scanned first
    ASSERT_GE(manager.available().size(), 3u);
    EXPECT_EQ(manager.available()[0].displayName, L"English");
    EXPECT_EQ(manager.available()[1].displayName, L"Espa\u00F1ol");
    const auto portuguese = manager.findLanguage(L"pt");
    ASSERT_TRUE(portuguese);
    EXPECT_EQ(portuguese->displayName, L"Portugu\u00EAs");
    EXPECT_EQ(manager.currentCode(), L"pt");
    EXPECT_EQ(manager.lookupText(L"button.save"), L"Salvar");
}

TEST(ShippedPortuguese, TranslatesEveryEnglishKey) {
    LanguageTable english, portuguese;
    buildEnglishTable(english);
    ASSERT_TRUE(loadLanguageFile(utf8ToWide(TESSARO_SOURCE_DIR "/languages/pt.json"), portuguese));
    EXPECT_EQ(portuguese.size(), english.size());
    for (const auto& [key, text] : english) {
        const auto found = portuguese.find(key);
        ASSERT_NE(found, portuguese.end()) << utf8(key);
        EXPECT_EQ(found->second.empty(), text.empty()) << utf8(key);
        // The shell appends values to texts ending in a space.
        EXPECT_EQ(found->second.ends_with(L' '), text.ends_with(L' ')) << utf8(key);
    }
    EXPECT_NE(portuguese[L"preview.zoomHintFormat"].find(L"%d%%"), std::wstring::npos);
}

}  // namespace
