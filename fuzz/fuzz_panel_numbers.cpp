// Any text typed into a panel field: numbers read finite or not at all, counts read within 32 bits,
// and what the panel writes reads back to the same value at its four decimals.
#include "app/number_text.h"
#include "fuzz_check.h"
#include "settings/text_encoding.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const double value = input.ConsumeFloatingPoint<double>();
    const int32_t count = input.ConsumeIntegral<int32_t>();
    const std::wstring typed = utf8ToWide(input.ConsumeRemainingBytesAsString());

    if (const auto number = parseLeadingNumber(typed)) FUZZ_CHECK(std::isfinite(*number));
    if (const auto integer = parseLeadingInteger(typed)) {
        // Any leading digits count; the first digit after white space and a sign decides.
        FUZZ_CHECK(typed.find_first_of(L"0123456789") != std::wstring::npos);
    }

    const std::wstring shown = formatPanelNumber(value);
    const auto reread = parseLeadingNumber(shown);
    FUZZ_CHECK(reread);
    FUZZ_CHECK(std::fabs(*reread - value) <= 5e-5 + std::fabs(value) * 1e-15);
    FUZZ_CHECK(parseLeadingInteger(std::to_wstring(count)) == count);
    FUZZ_CHECK(parseLeadingInteger(L" +" + std::to_wstring(count) + L"x") == count || count < 0);
    return 0;
}
