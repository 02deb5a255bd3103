#include "app/update_reply.h"

#include "settings/flat_json.h"
#include "settings/number_text.h"
#include "settings/text_encoding.h"

std::wstring extractJsonString(const std::wstring& text, const std::wstring& key) {
    const auto pos = findJsonValue(text, key);
    if (!pos) return {};
    return readJsonString(text, *pos, {.seeksOpeningQuote = true}).value_or(L"");
}

int32_t nextVersionComponent(const std::wstring& version, size_t& cursor) {
    while (cursor < version.size() && (version[cursor] == L'v' || version[cursor] == L'V' || version[cursor] == L' '))
        ++cursor;
    size_t digits = 0;
    const int32_t value = scanLeadingInteger(std::wstring_view(version).substr(cursor), Sign::NotAllowed, &digits).value_or(0);
    const size_t dot = version.find(L'.', cursor + digits);
    cursor = dot == std::wstring::npos ? version.size() : dot + 1;
    return value;
}

bool isNewerVersion(const std::wstring& installed, const std::wstring& latest) {
    size_t a = 0, b = 0;
    for (int round = 0; round < 4; ++round) {
        const int32_t mine = nextVersionComponent(installed, a);
        const int32_t theirs = nextVersionComponent(latest, b);
        if (mine != theirs) return mine < theirs;
    }
    return false;
}

std::wstring downloadAddressToOpen(const std::wstring& downloadUrl, const std::wstring& productPage) {
    auto startsWithNoCase = [&](const std::wstring& prefix) {
        if (downloadUrl.size() <= prefix.size()) return false;
        for (size_t i = 0; i < prefix.size(); ++i) {
            wchar_t c = downloadUrl[i];
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
            if (c != prefix[i]) return false;
        }
        return true;
    };
    const bool web = startsWithNoCase(L"http://") || startsWithNoCase(L"https://");
    // Control characters or quotes could smuggle arguments or a second command into the shell.
    for (wchar_t c : downloadUrl)
        if (c < 0x20 || c == 0x7f || c == L'"') return productPage;
    return web ? downloadUrl : productPage;
}

bool readUpdateReply(const std::string& body, const std::wstring& productPage, UpdateCheckResult& result) {
    result = UpdateCheckResult{};
    const std::wstring text = utf8ToWide(body);
    const auto member = [&](const wchar_t* key, const wchar_t* fallbackKey) {
        std::wstring value = extractJsonString(text, key);
        return value.empty() ? extractJsonString(text, fallbackKey) : value;
    };
    result.latestVersion = member(L"latestVersion", L"version");
    result.downloadUrl = member(L"downloadUrl", L"url");
    result.message = extractJsonString(text, L"message");
    if (result.latestVersion.empty()) return false;
    if (result.downloadUrl.empty()) result.downloadUrl = productPage;
    result.updateAvailable = isNewerVersion(kInstalledVersion, result.latestVersion);
    return true;
}
