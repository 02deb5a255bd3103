// The flat JSON helpers over any bytes: positions stay inside the text, and escaped text, six-decimal
// numbers and UTF-8 read back what was written.
#include "fuzz_check.h"
#include "settings/number_text.h"
#include "settings/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string key = input.ConsumeRandomLengthString(24);
    const double number = input.ConsumeFloatingPoint<double>();
    std::wstring wide;
    for (size_t i = input.ConsumeIntegralInRange<size_t>(0, 32); i > 0; --i) {
        const uint32_t cp = input.ConsumeIntegralInRange<uint32_t>(1, 0x10FFFF);
        wide += static_cast<wchar_t>(cp >= 0xD800 && cp <= 0xDFFF ? cp - 0x800 : cp);  // no surrogates
    }
    const std::string text = input.ConsumeRemainingBytesAsString();

    for (const std::string& name : {key, std::string("widthMm")}) {
        const auto pos = findJsonValue(text, name);
        if (!pos) continue;
        FUZZ_CHECK(*pos <= text.size() && text.find("\"" + name + "\"") + name.size() + 2 < *pos);
        if (const auto value = readJsonNumber(text, *pos)) FUZZ_CHECK(std::isfinite(*value));
        if (const auto value = readJsonString(text, *pos)) FUZZ_CHECK(value->size() <= text.size() - *pos);
        readJsonBool(text, *pos);
    }
    FUZZ_CHECK(readJsonString("\"" + escapeJsonString(text) + "\"", 0) == utf8ToWide(text));
    if (std::isfinite(number)) {
        const auto reread = readJsonNumber(formatFixed(number, 6), 0);
        FUZZ_CHECK(reread && std::fabs(*reread - number) <= 5e-7 + std::fabs(number) * 1e-15);
    }
    // Valid UTF-8 survives both conversions; anything else falls back to one unit per byte.
    std::wstring bytes;
    for (unsigned char c : text) bytes += static_cast<wchar_t>(c);
    FUZZ_CHECK(wideToUtf8(utf8ToWide(text)) == text || utf8ToWide(text) == bytes);
    FUZZ_CHECK(utf8ToWide(wideToUtf8(wide)) == wide);
    return 0;
}
