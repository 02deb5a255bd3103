// Any reply of the product page: the string scan stays inside the text, version comparison is a
// strict order, and the address handed to the shell is the product page or a web address.
#include "app/update_reply.h"
#include "fuzz_check.h"
#include "settings/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::wstring other = utf8ToWide(input.ConsumeRandomLengthString(32));
    const std::string body = input.ConsumeRemainingBytesAsString();
    const std::wstring page = L"https://orvell.example/tessaro/";
    UpdateCheckResult result;
    const bool named = readUpdateReply(body, page, result);
    FUZZ_CHECK(named == !result.latestVersion.empty() && result.latestVersion.size() <= body.size());
    for (const std::wstring& version : {result.latestVersion, other}) {
        size_t cursor = 0, before = 0;
        while (cursor < version.size()) {  // every component moves the cursor on, to the end
            FUZZ_CHECK(nextVersionComponent(version, cursor) >= 0 && cursor > before && cursor <= version.size());
            before = cursor;
        }
        FUZZ_CHECK(!isNewerVersion(version, version));
    }
    FUZZ_CHECK(!(isNewerVersion(result.latestVersion, other) && isNewerVersion(other, result.latestVersion)));
    for (const std::wstring& address : {result.downloadUrl, other}) {
        const std::wstring chosen = downloadAddressToOpen(address, page);
        if (chosen == page) continue;
        FUZZ_CHECK(chosen == address && chosen.find(L"://") != std::wstring::npos);
        for (wchar_t c : chosen) FUZZ_CHECK(c >= 0x20 && c != 0x7f && c != L'"');
    }
    return 0;
}
