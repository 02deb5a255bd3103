// Any text typed into a panel field: numbers read finite or not at all, counts read within 32 bits,
// and what the panel writes reads back to the same value at its four decimals.
#include "fuzz_check.h"
#include "settings/number_text.h"
#include "settings/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const double value = input.ConsumeFloatingPoint<double>();
    const int32_t count = input.ConsumeIntegral<int32_t>();
    const std::wstring typed = utf8ToWide(input.ConsumeRemainingBytesAsString());

    if (const auto number = scanLeadingNumber(typed, Underflow::Zero)) FUZZ_CHECK(std::isfinite(*number));
    if (const auto integer = scanLeadingInteger(skipSpace(typed), Sign::Allowed)) {
        // Any leading digits count; the first digit after white space and a sign decides.
        FUZZ_CHECK(typed.find_first_of(L"0123456789") != std::wstring::npos);
    }

    const std::string shown = formatTrimmedFixed(value, 4, NegativeZero::AsZero);
    const auto reread = scanLeadingNumber(shown, Underflow::Zero);
    FUZZ_CHECK(reread);
    FUZZ_CHECK(std::fabs(*reread - value) <= 5e-5 + std::fabs(value) * 1e-15);
    FUZZ_CHECK(scanLeadingInteger(std::to_wstring(count), Sign::Allowed) == count);
    FUZZ_CHECK(scanLeadingInteger(skipSpace(L" +" + std::to_wstring(count) + L"x"), Sign::Allowed) == count || count < 0);
    return 0;
}
