// Any zoom hint format a language file supplies: the line fits its buffer, plain text passes
// unchanged, and no "%" other than "%d" and "%%" is interpreted.
#include "fuzz_check.h"
#include "preview/zoom_hint.h"
#include "settings/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int32_t percent = input.ConsumeIntegral<int32_t>();
    const size_t bufferChars = input.ConsumeIntegralInRange<size_t>(0, 300);
    const std::wstring format = utf8ToWide(input.ConsumeRemainingBytesAsString());

    const std::wstring line = formatZoomHint(format, percent, bufferChars);
    FUZZ_CHECK(line.size() + 1 <= std::max<size_t>(bufferChars, 1));
    if (format.find(L'%') == std::wstring::npos) FUZZ_CHECK(format.starts_with(line));
    // Each "%d" grows the text by at most the number's length minus two.
    FUZZ_CHECK(line.size() <= format.size() * (std::to_wstring(percent).size() + 1));
    const std::wstring alone = formatZoomHint(L"%d", percent, 256);
    FUZZ_CHECK(alone == std::to_wstring(percent));
    return 0;
}
