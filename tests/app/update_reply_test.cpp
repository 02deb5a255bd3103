#include "app/update_reply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ExtractJsonString, ReadsStringMembersByScanning) {
    struct Case {
        const wchar_t* text;
        const wchar_t* key;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {LR"({"latestVersion": "0.2.0"})", L"latestVersion", L"0.2.0"},
        {LR"({"latestVersion":"a\"b\\c\/d\ne\tf\rg"})", L"latestVersion", L"a\"b\\c/d\ne\tf\rg"},
        {LR"({"message":"caf\u00e9"})", L"message", L"cafu00e9"},
        {LR"({"version": 1, "url": "https://x/"})", L"version", L"url"},  // numbers are not versions
        {LR"({"version": 1})", L"version", L""},
        {LR"({"latestVersion": "unterminated)", L"latestVersion", L"unterminated"},
        {LR"({"latestVersion": "ends in a backslash\)", L"latestVersion", L"ends in a backslash\\"},
        {LR"({"latestVersion" "no colon"})", L"latestVersion", L""},
        {LR"({"other": "x"})", L"latestVersion", L""},
        {L"", L"latestVersion", L""},
        {LR"({"downloadUrl": "", "url": "https://u/"})", L"downloadUrl", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(extractJsonString(c.text, c.key), c.expected) << c.text;
}

std::vector<int32_t> components(const std::wstring& version) {
    std::vector<int32_t> out;
    size_t cursor = 0;
    for (int i = 0; i < 4; ++i) out.push_back(nextVersionComponent(version, cursor));
    return out;
}

TEST(NextVersionComponent, ReadsDottedNumbersLeniently) {
    EXPECT_EQ(components(L"0.1.0"), (std::vector<int32_t>{0, 1, 0, 0}));
    EXPECT_EQ(components(L"v0.2"), (std::vector<int32_t>{0, 2, 0, 0}));
    EXPECT_EQ(components(L"V 1.2-beta.3"), (std::vector<int32_t>{1, 2, 3, 0}));
    EXPECT_EQ(components(L""), (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(components(L"x.y"), (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST(NextVersionComponent, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(components(L"2147483647.99999999999999999999.1"),
              (std::vector<int32_t>{2147483647, 2147483647, 1, 0}));
    EXPECT_TRUE(isNewerVersion(kInstalledVersion, L"0.99999999999999999999"));
}

TEST(IsNewerVersion, ComparesAtMostFourComponents) {
    struct Case {
        const wchar_t* latest;
        bool newer;
    };
    const Case cases[] = {
        {L"0.1.0", false}, {L"0.1", false},   {L"0.1.1", true},    {L"v0.2", true},
        {L"0.0.9", false}, {L"1", true},      {L"0.1.0.0.1", false}, {L"0.1.0.1", true},
        {L"", false},      {L"garbage", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isNewerVersion(kInstalledVersion, c.latest), c.newer) << c.latest;
}

TEST(DownloadAddressToOpen, OpensOnlyWebAddresses) {
    const std::wstring page = L"https://orvell.example/tessaro/";
    struct Case {
        const wchar_t* reply;
        bool kept;
    };
    const Case cases[] = {
        {L"https://orvell.example/download", true},
        {L"HTTP://mirror.example/t.zip", true},
        {L"file:///C:/Windows/System32/calc.exe", false},
        {L"C:\\Windows\\System32\\calc.exe", false},
        {L"calc.exe", false},
        {L"\\\\server\\share\\setup.exe", false},
        {L"javascript:alert(1)", false},
        {L"https://", false},
        {L"https://x/\" --evil", false},
        {L"https://x/\nline", false},
        {L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(downloadAddressToOpen(c.reply, page), c.kept ? std::wstring(c.reply) : page) << c.reply;
}

TEST(ReadUpdateReply, TakesStringMembersWithTheirFallbacks) {
    const std::wstring page = L"https://orvell.example/tessaro/";
    struct Case {
        const char* body;
        bool found;
        bool newer;
        const wchar_t* version;
        const wchar_t* address;
        const wchar_t* message;
    };
    const Case cases[] = {
        {R"({"latestVersion": "0.2.0", "downloadUrl": "https://d/", "message": "Hola"})", true, true, L"0.2.0",
         L"https://d/", L"Hola"},
        {R"({"latestVersion": "0.1.0"})", true, false, L"0.1.0", page.c_str(), L""},
        {R"({"latestVersion": "0.0.9"})", true, false, L"0.0.9", page.c_str(), L""},
        {R"({"latestVersion": "0.1.1", "downloadUrl": ""})", true, true, L"0.1.1", page.c_str(), L""},
        // Only the fallback members, the version as fetched (letter included).
        {R"({"version": "v0.2", "url": "https://u/"})", true, true, L"v0.2", L"https://u/", L""},
        {R"({"latestVersion": "", "version": "1.0", "downloadUrl": "", "url": "https://u/"})", true, true, L"1.0",
         L"https://u/", L""},
        // A number is no version: the scan takes the next quoted text, here the next member's name.
        {R"({"latestVersion": 1, "downloadUrl": "https://d/"})", true, false, L"downloadUrl", L"https://d/", L""},
        {R"({"latestVersion": 1})", false, false, L"", page.c_str(), L""},
        {"", false, false, L"", page.c_str(), L""},
        {"<html><body>404 Not Found</body></html>", false, false, L"", page.c_str(), L""},
        {R"({"message": "no version here"})", false, false, L"", page.c_str(), L"no version here"},
        {"{\"latestVersion\": \"0.3\", \"message\": \"caf\xc3\xa9\"}", true, true, L"0.3", page.c_str(),
         L"caf\u00e9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        UpdateCheckResult result;
        result.message = L"left over";
        ASSERT_EQ(readUpdateReply(c.body, page, result), c.found);
        EXPECT_EQ(result.latestVersion, c.version);
        EXPECT_EQ(result.updateAvailable, c.newer);
        EXPECT_EQ(result.message, c.message);
        if (c.found) {
            EXPECT_EQ(result.downloadUrl, c.address);
        }
    }
}

TEST(ReadUpdateReply, BytesThatAreNoUtf8StillGiveTheVersion) {
    UpdateCheckResult result;
    ASSERT_TRUE(readUpdateReply("{\"latestVersion\": \"0.4\", \"message\": \"caf\xe9 \xff\"}", L"https://p/", result));
    EXPECT_EQ(result.latestVersion, L"0.4");
    EXPECT_TRUE(result.updateAvailable);
    EXPECT_EQ(result.message.substr(0, 3), L"caf");
    EXPECT_EQ(result.message.size(), 6u);  // one unit per stray byte
}

}  // namespace
