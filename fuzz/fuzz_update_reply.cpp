// Any reply of the product page: the string scan stays inside the text, version comparison is a
// strict order, and the address handed to the shell is the product page or a web address.
#include "app/update_reply.h"
#include "fuzz_check.h"
#include "settings/text_encoding.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

const std::wstring kProductPage = L"https://orvell.example/tessaro/";

bool startsWithNoCase(const std::wstring& text, const std::wstring& lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i) {
        const wchar_t c = text[i] >= L'A' && text[i] <= L'Z' ? text[i] + (L'a' - L'A') : text[i];
        if (c != lowerPrefix[i]) return false;
    }
    return true;
}

// Every call moves the cursor forward until the text is used up.
void checkComponents(const std::wstring& version) {
    size_t cursor = 0;
    while (cursor < version.size()) {
        const size_t before = cursor;
        FUZZ_CHECK(nextVersionComponent(version, cursor) >= 0);
        FUZZ_CHECK(cursor > before && cursor <= version.size());
    }
    FUZZ_CHECK(nextVersionComponent(version, cursor) == 0 && cursor == version.size());
}

void checkOrder(const std::wstring& a, const std::wstring& b) {
    FUZZ_CHECK(!isNewerVersion(a, a));
    FUZZ_CHECK(!(isNewerVersion(a, b) && isNewerVersion(b, a)));
    isNewerVersion(kInstalledVersion, a);
}

void checkAddress(const std::wstring& url) {
    const std::wstring chosen = downloadAddressToOpen(url, kProductPage);
    if (chosen == kProductPage) return;
    FUZZ_CHECK(chosen == url);
    FUZZ_CHECK(startsWithNoCase(chosen, L"http://") || startsWithNoCase(chosen, L"https://"));
    for (wchar_t c : chosen) FUZZ_CHECK(c >= 0x20 && c != 0x7f && c != L'"');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::wstring other = utf8ToWide(input.ConsumeRandomLengthString(32));
    const std::wstring reply = utf8ToWide(input.ConsumeRemainingBytesAsString());

    const std::wstring latest = extractJsonString(reply, L"latestVersion");
    const std::wstring url = extractJsonString(reply, L"downloadUrl");
    const std::wstring message = extractJsonString(reply, L"message");
    for (const std::wstring* value : {&latest, &url, &message}) FUZZ_CHECK(value->size() <= reply.size());

    checkComponents(latest);
    checkComponents(other);
    checkOrder(latest, other);
    checkAddress(url);
    checkAddress(other);
    return 0;
}
