// The flat JSON helpers over any bytes: positions stay inside the text, readers never fail
// outside their contract, and the escape, number and UTF-8 conversions read back what they wrote.
#include "fuzz_check.h"
#include "settings/text_encoding.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

bool isJsonSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::wstring widened(const std::string& bytes) {
    std::wstring out;
    for (char c : bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

void checkValueReaders(const std::string& text, size_t pos) {
    if (const auto value = readJsonNumber(text, pos)) FUZZ_CHECK(std::isfinite(*value));
    readJsonBool(text, pos);
    if (const auto value = readJsonString(text, pos)) FUZZ_CHECK(value->size() <= text.size() - pos);
}

void checkKeySearch(const std::string& text, const std::string& key) {
    const auto pos = findJsonValue(text, key);
    if (!pos) return;
    FUZZ_CHECK(*pos <= text.size());
    const size_t keyAt = text.find("\"" + key + "\"");
    FUZZ_CHECK(keyAt != std::string::npos && keyAt + key.size() + 2 < *pos);
    FUZZ_CHECK(*pos == text.size() || !isJsonSpace(text[*pos]));
    checkValueReaders(text, *pos);
}

// Escaped bytes between quotes read back as the same text.
void checkEscapeRoundTrip(const std::string& bytes) {
    const auto value = readJsonString("\"" + escapeJsonString(bytes) + "\"", 0);
    FUZZ_CHECK(value && *value == utf8ToWide(bytes));
}

// Six decimals read back within half a unit of the last decimal.
void checkNumberRoundTrip(double value) {
    if (!std::isfinite(value)) return;
    const std::string text = formatFixed6(value);
    const auto reread = readJsonNumber(text, 0);
    FUZZ_CHECK(reread);
    FUZZ_CHECK(std::fabs(*reread - value) <= 5e-7 + std::fabs(value) * 1e-15);
}

// Valid UTF-8 survives both conversions; anything else falls back to one unit per byte.
void checkUtf8(const std::string& bytes) {
    const std::wstring wide = utf8ToWide(bytes);
    FUZZ_CHECK(wideToUtf8(wide) == bytes || wide == widened(bytes));
}

void checkCodePoints(FuzzedDataProvider& input) {
    std::wstring wide;
    const size_t count = input.ConsumeIntegralInRange<size_t>(0, 32);
    for (size_t i = 0; i < count; ++i) {
        uint32_t cp = input.ConsumeIntegralInRange<uint32_t>(1, 0x10FFFF);
        if (cp >= 0xD800 && cp <= 0xDFFF) cp -= 0x800;  // surrogates are not code points
        wide += static_cast<wchar_t>(cp);
    }
    FUZZ_CHECK(utf8ToWide(wideToUtf8(wide)) == wide);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string key = input.ConsumeRandomLengthString(24);
    const size_t pos = input.ConsumeIntegral<uint16_t>();
    const double number = input.ConsumeFloatingPoint<double>();
    checkCodePoints(input);
    const std::string text = input.ConsumeRemainingBytesAsString();

    checkKeySearch(text, key);
    for (const char* common : {"widthMm", "language", "latestVersion"}) checkKeySearch(text, common);
    checkValueReaders(text, pos);
    checkValueReaders(text, text.size());
    checkEscapeRoundTrip(text);
    checkNumberRoundTrip(number);
    checkUtf8(text);
    return 0;
}
