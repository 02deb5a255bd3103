#include "settings/text_encoding.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

TEST(Utf8Conversion, ValidTextRoundTrips) {
    const struct {
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"plain ASCII", L"plain ASCII"},
        {"Espa\xC3\xB1ol", L"Espa\u00F1ol"},
        {"\xE2\x82\xAC 5", L"\u20AC 5"},
        {"\xF0\x9F\x98\x80", L"\U0001F600"},  // beyond the basic plane: a surrogate pair on Windows
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToWide(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(wideToUtf8(c.wide), c.utf8) << c.utf8;
    }
}

TEST(Utf8Conversion, InvalidInputKeepsOneUnitPerByteAroundTheFault) {
    // Windows substitutes U+FFFD, the native build widens every byte; both keep the valid neighbours.
    for (const std::string bad : {"a\xFF" "b", "a\xC3" "b", "a\xC0\xAF" "b", "a\xED\xA0\x80" "b"}) {
        const std::wstring wide = utf8ToWide(bad);
        ASSERT_GE(wide.size(), 3u) << bad;
        EXPECT_EQ(wide.front(), L'a');
        EXPECT_EQ(wide.back(), L'b');
    }
    // A lone surrogate cannot be encoded; its neighbours survive either way.
    const std::string narrow = wideToUtf8(std::wstring{L'x', static_cast<wchar_t>(0xD800), L'y'});
    ASSERT_FALSE(narrow.empty());
    EXPECT_EQ(narrow.front(), 'x');
    EXPECT_EQ(narrow.back(), 'y');
}

TEST(EscapeJsonString, EscapesOnlyTheFiveCharacters) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"tab\there", "tab\\there"},
        {"a\nb\rc", "a\\nb\\rc"},
        {"say \"hi\"", "say \\\"hi\\\""},
        {"C:\\dir\\", "C:\\\\dir\\\\"},
        {"\x01\x7F \xC3\xB1", "\x01\x7F \xC3\xB1"},  // other control bytes and UTF-8 stay as they are
    };
    for (const auto& c : cases) EXPECT_EQ(escapeJsonString(c.in), c.out) << c.in;
}

TEST(FindJsonValue, FlatSearchFindsFirstQuotedKeyThenNextColon) {
    const struct {
        const char* text;
        const char* key;
        std::optional<size_t> pos;
    } cases[] = {
        {R"({"a": 1})", "a", 6},
        {R"({"a":1})", "a", 5},
        {"{\"a\" \r\n\t:\t\r\n 7}", "a", 13},
        {R"({"b": 1})", "a", std::nullopt},
        {R"({"a" 1})", "a", std::nullopt},          // no colon after the key
        {R"({"ab": 1, "a": 2})", "a", 15},          // "ab" is not "a"
        {R"({"x": "a", "a": 2})", "a", 16},         // an earlier string value counts as the key
        {R"({"d": {"a": 3}})", "a", 12},            // nesting is not considered
        {R"({"a":)", "a", 5},                       // value at the end of the text
    };
    for (const auto& c : cases) EXPECT_EQ(findJsonValue(c.text, c.key), c.pos) << c.text;
}

TEST(ReadJsonString, CollectsUpToUnescapedQuote) {
    const struct {
        std::string text;
        std::optional<std::wstring> value;
    } cases[] = {
        {R"("mm")", L"mm"},
        {R"("")", L""},
        {R"(mm")", std::nullopt},
        {R"( "mm")", std::nullopt},
        {R"("a\"b\\c")", L"a\"b\\c"},
        {R"("l\nr\rt\t")", L"l\nr\rt\t"},
        {R"("\u0041")", L"u0041"},           // \u is not decoded here
        {R"("\/x")", L"/x"},
        {R"("open to the end)", L"open to the end"},
        {"\"ends in \\", L"ends in \\"},
        {"\"Espa\xC3\xB1ol\"", L"Espa\u00F1ol"},
    };
    for (const auto& c : cases) EXPECT_EQ(readJsonString(c.text, 0), c.value) << c.text;
    EXPECT_EQ(readJsonString(R"(x"a")", 1), L"a");
    EXPECT_EQ(readJsonString("\"a\"", 9), std::nullopt);
}

TEST(ReadJsonBool, AcceptsWordsAndDigitsAtTheStart) {
    const struct {
        const char* text;
        std::optional<bool> value;
    } cases[] = {
        {"true", true}, {"1", true}, {"true,", true}, {"10", true}, {"false}", false}, {"0", false},
        {"0.5", false}, {"True", std::nullopt}, {"\"true\"", std::nullopt}, {"yes", std::nullopt},
        {"", std::nullopt}, {" true", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(readJsonBool(c.text, 0), c.value) << c.text;
}

TEST(ReadJsonNumber, TakesTheLongestNumberPrefix) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"12.5", 12.5},   {"200", 200.0},     {"-3", -3.0},       {"+4.25", 4.25},    {" \t\n7", 7.0},
        {"2.9,", 2.9},    {"1e3", 1000.0},    {"1E-2}", 0.01},    {"1e", 1.0},        {"1e+", 1.0},
        {".5", 0.5},      {"5.", 5.0},        {"1,5", 1.0},       {"0x10", 0.0},      {"-0", -0.0},
        {"007", 7.0},     {"3.175000\n", 3.175},
        {"", std::nullopt},     {"-", std::nullopt},       {".", std::nullopt},  {"+.", std::nullopt},
        {"\"2\"", std::nullopt}, {"abc", std::nullopt},    {"e5", std::nullopt}, {"--1", std::nullopt},
        {"1e999", std::nullopt}, {"-1e999", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(readJsonNumber(c.text, 0), c.value) << c.text;
    EXPECT_EQ(readJsonNumber("x: 9", 2), 9.0);
    EXPECT_EQ(readJsonNumber("9", 5), std::nullopt);
}

TEST(FormatFixed6, SixDecimalsWithPoint) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {200, "200.000000"}, {0.15, "0.150000"}, {3.175, "3.175000"}, {0, "0.000000"},
        {-12.5, "-12.500000"}, {1e-7, "0.000000"}, {0.0000009, "0.000001"}, {1e15, "1000000000000000.000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatFixed6(c.value), c.text) << c.value;
    EXPECT_EQ(formatFixed6(1.7976931348623157e308).size(), 309u + 7u);
}

TEST(NumberText, IgnoresADecimalCommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const bool comma = std::setlocale(LC_ALL, "de_DE") || std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(formatFixed6(0.15), "0.150000");
    EXPECT_EQ(readJsonNumber("2.5", 0), 2.5);
    std::setlocale(LC_ALL, saved.c_str());
    if (!comma) GTEST_SKIP() << "no German locale here";
}

}  // namespace
