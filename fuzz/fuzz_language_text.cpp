// Any language file text, as the loader decodes it: the scan ends, keeps no empty key, reports
// exactly whether it found a text, and does not depend on what the table held before.
#include "fuzz_check.h"
#include "settings/language_manager.h"
#include "settings/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = utf8ToWide(fuzzText(data, size));
    LanguageTable table;
    const bool found = parseLanguageText(text, table);
    FUZZ_CHECK(found == !table.empty());
    FUZZ_CHECK(table.size() <= text.size() / 4);  // the shortest member, "k":"", takes six characters
    FUZZ_CHECK(!table.contains(L""));

    LanguageTable reused{{L"left.over", L"stale"}};
    FUZZ_CHECK(parseLanguageText(text, reused) == found);
    FUZZ_CHECK(reused == table);
    return 0;
}
