// Any bytes, as each text reader meets them: settings.json, .boxproj files, language files and their
// zoom hint format, the product page's reply, the flat JSON helpers and the panel's numbers. No reader
// fails on them, and whatever it accepts, written out, reads back to the same thing.
#include "app/update_reply.h"
#include "fuzz_check.h"
#include "model/design_options.h"
#include "model/piece_set.h"
#include "output/project_file.h"
#include "preview/zoom_hint.h"
#include "settings/app_settings.h"
#include "settings/language_manager.h"
#include "settings/flat_json.h"
#include "settings/number_text.h"
#include "settings/text_encoding.h"

#include <cwctype>
#include <fstream>

namespace {

// Reading never fails, normalizing brings every value into range once and for all, and the written
// text reads back to itself.
void checkSettings(const std::string& text) {
    AppSettings s;
    readSettingsJson(text, s);
    normalizeSettings(s);
    for (const DesignOption& option : designOptions()) {
        const double value = option.access.get(s.design);
        FUZZ_CHECK(std::isfinite(value));
        const StoredRepair& repair = option.repair;
        if (repair.rule == StoredRepair::Positive) FUZZ_CHECK(value > 0);
        if (repair.rule == StoredRepair::NonNegative) FUZZ_CHECK(value >= 0);
        const bool ranged = repair.rule == StoredRepair::Clamp || repair.rule == StoredRepair::InRange;
        if (ranged) FUZZ_CHECK(value >= repair.low);
        if (ranged) FUZZ_CHECK(value <= repair.high);
        // A size is none or both lengths within reach: never half a sheet.
        const double height = option.second.get ? option.second.get(s.design) : 0;
        const bool none = value == 0 && height == 0;
        if (repair.rule == StoredRepair::SizeOrNone) FUZZ_CHECK(none || (value > 0 && height > 0 && value <= 1e5 && height <= 1e5));
    }
    FUZZ_CHECK(s.render3dMode >= 0 && s.render3dMode <= 2);
    FUZZ_CHECK(!s.language.empty());
    std::wstring units = s.units;
    for (wchar_t& c : units) c = std::towlower(c);
    FUZZ_CHECK(s.units == L"mm" || units == L"in");
    FUZZ_CHECK(s.serverUrl.empty());
    for (bool never : {s.useServerDxf, s.baseSlots, s.sideSlots}) FUZZ_CHECK(!never);
    AppSettings twice = s;
    normalizeSettings(twice);
    FUZZ_CHECK(twice == s);

    // The flat search takes a key's first quoted occurrence, so a language or unit that spells a key
    // would shadow the member itself: the round trip holds only without that.
    const std::string written = writeSettingsJson(s);
    for (size_t line = 0; line < written.size(); line = written.find('\n', line) + 1) {
        const size_t open = written.find_first_not_of(' ', line);  // each member's name starts its line
        const std::string key = written.substr(open, written.find('"', open + 1) + 1 - open);
        if (written[open] == '"' && written.find(key) != written.rfind(key)) return;
    }
    AppSettings reread;
    readSettingsJson(written, reread);
    FUZZ_CHECK(writeSettingsJson(reread) == written);
}

std::wstring scratchFile(const std::string& bytes) {
    const std::filesystem::path path = fuzzScratchFolder() / "project";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return std::wstring(path.native().begin(), path.native().end());
}

// Loading refuses with a reason and leaves the design alone, or gives a design that generates and
// saves to a text that loads back to the same design.
void checkProject(const std::string& bytes) {
    BoxParameters loaded;
    loaded.inputWidth = 123.0;
    std::wstring error;
    if (!loadProject(scratchFile(bytes), loaded, error)) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(loaded.inputWidth == 123.0);  // untouched
        return;
    }
    FUZZ_CHECK(bytes.find("TessaroProject") != std::string::npos);  // only a text marked as a project loads
    FUZZ_CHECK(error.empty());
    FUZZ_CHECK(!generatePieces(loaded).empty());  // a loaded design is never refused later
    const std::string saved = writeProjectJson(loaded);
    BoxParameters again;
    FUZZ_CHECK(loadProject(scratchFile(saved), again, error));
    FUZZ_CHECK(writeProjectJson(again) == saved);
}

// The scan ends, keeps no empty key, reports exactly whether it found a text, and does not depend
// on what the table held before.
void checkLanguage(const std::wstring& text) {
    LanguageTable table;
    const bool found = parseLanguageText(text, table);
    FUZZ_CHECK(found == !table.empty());
    FUZZ_CHECK(table.size() <= text.size() / 4);  // the shortest member, "k":"", takes six characters
    FUZZ_CHECK(!table.contains(L""));
    LanguageTable reused{{L"left.over", L"stale"}};
    FUZZ_CHECK(parseLanguageText(text, reused) == found);
    FUZZ_CHECK(reused == table);
}

// The string scan stays inside the text, version comparison is a strict order, and the address
// handed to the shell is the product page or an http or https address that stays one argument.
void checkUpdateReply(const std::string& body, const std::wstring& other) {
    const std::wstring page = L"https://orvell.example/tessaro/";
    UpdateCheckResult result;
    const bool named = readUpdateReply(body, page, result);
    FUZZ_CHECK(named == !result.latestVersion.empty());
    FUZZ_CHECK(result.latestVersion.size() <= body.size());
    for (const std::wstring& version : {result.latestVersion, other}) {
        size_t cursor = 0;
        while (cursor < version.size()) {  // every component moves the cursor on, to the end
            const size_t before = cursor;
            FUZZ_CHECK(nextVersionComponent(version, cursor) >= 0);
            FUZZ_CHECK(cursor > before && cursor <= version.size());
        }
        FUZZ_CHECK(!isNewerVersion(version, version));
    }
    if (isNewerVersion(result.latestVersion, other)) FUZZ_CHECK(!isNewerVersion(other, result.latestVersion));
    for (const std::wstring& address : {result.downloadUrl, other}) {
        const std::wstring chosen = downloadAddressToOpen(address, page);
        if (chosen == page) continue;
        FUZZ_CHECK(chosen == address);
        std::wstring scheme = chosen.substr(0, chosen.find(L"://"));
        for (wchar_t& c : scheme) c = std::towlower(c);
        FUZZ_CHECK(scheme == L"http" || scheme == L"https");
        FUZZ_CHECK(chosen.size() > scheme.size() + 3);  // a host follows
        for (wchar_t c : chosen) FUZZ_CHECK(c >= 0x20 && c != 0x7f && c != L'"');  // nothing breaks out of the command
    }
}

// Positions stay inside the text; escaped text, six-decimal numbers and UTF-8 read back what was
// written.
void checkJsonHelpers(const std::string& text, const std::string& key, double number, const std::wstring& wide) {
    for (const std::string& name : {key, std::string("widthMm")}) {
        const auto pos = findJsonValue(text, name);
        if (!pos) continue;
        FUZZ_CHECK(*pos <= text.size());
        FUZZ_CHECK(text.find("\"" + name + "\"") + name.size() + 2 < *pos);  // after the key's closing quote
        if (const auto value = readJsonNumber(text, *pos)) FUZZ_CHECK(std::isfinite(*value));
        const auto value = readJsonString(text, *pos, StringRule{});
        if (value) FUZZ_CHECK(value->size() <= text.size() - *pos);
        readJsonBool(text, *pos);
    }
    FUZZ_CHECK(readJsonString("\"" + escapeJsonString(text) + "\"", 0, StringRule{}) == text);
    if (std::isfinite(number)) {
        const auto reread = readJsonNumber(formatFixed(number, 6), 0);
        FUZZ_CHECK(reread);
        FUZZ_CHECK(std::fabs(*reread - number) <= 5e-7 + std::fabs(number) * 1e-15);
    }
    // Valid UTF-8 survives both conversions; anything else falls back to one unit per byte.
    std::wstring bytes;
    for (unsigned char c : text) bytes += static_cast<wchar_t>(c);
    FUZZ_CHECK(wideToUtf8(utf8ToWide(text)) == text || utf8ToWide(text) == bytes);
    FUZZ_CHECK(utf8ToWide(wideToUtf8(wide)) == wide);
}

// Typed numbers read finite or not at all, counts read within 32 bits, and what the panel writes
// reads back to the same value at its four decimals.
void checkPanelNumbers(const std::wstring& typed, double value, int32_t count) {
    if (const auto number = scanLeadingNumber(typed, Underflow::Zero)) FUZZ_CHECK(std::isfinite(*number));
    if (scanLeadingInteger(skipSpace(typed), Sign::Allowed))  // the first digit after space and a sign decides
        FUZZ_CHECK(typed.find_first_of(L"0123456789") != std::wstring::npos);
    const auto reread = scanLeadingNumber(formatTrimmedFixed(value, 4, NegativeZero::AsZero), Underflow::Zero);
    FUZZ_CHECK(reread);
    FUZZ_CHECK(std::fabs(*reread - value) <= 5e-5 + std::fabs(value) * 1e-15);
    FUZZ_CHECK(scanLeadingInteger(std::to_wstring(count), Sign::Allowed) == count);
    const std::wstring signedCount = L" +" + std::to_wstring(count) + L"x";
    if (count >= 0) FUZZ_CHECK(scanLeadingInteger(skipSpace(signedCount), Sign::Allowed) == count);
}

// A language file's zoom hint format: the line fits its buffer, plain text passes unchanged, and no
// "%" other than "%d" and "%%" is interpreted.
void checkZoomHint(const std::wstring& format, int32_t percent, size_t bufferChars) {
    const std::wstring line = formatZoomHint(format, percent, bufferChars);
    FUZZ_CHECK(line.size() + 1 <= std::max<size_t>(bufferChars, 1));
    if (format.find(L'%') == std::wstring::npos) FUZZ_CHECK(format.starts_with(line));
    // Each "%d" grows the text by at most the number's length minus two.
    FUZZ_CHECK(line.size() <= format.size() * (std::to_wstring(percent).size() + 1));
    FUZZ_CHECK(formatZoomHint(L"%d", percent, 256) == std::to_wstring(percent));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string whole = fuzzText(data, size);
    checkSettings(whole);
    checkProject(whole);
    checkLanguage(utf8ToWide(whole));
    // The same bytes split into a key, numbers, wide text and the rest, for the helpers under the readers.
    FuzzedDataProvider input(data, size);
    const std::string key = input.ConsumeRandomLengthString(24);
    const double number = input.ConsumeFloatingPoint<double>();
    const int32_t count = input.ConsumeIntegral<int32_t>();
    const size_t bufferChars = input.ConsumeIntegralInRange<size_t>(0, 300);
    std::wstring wide;
    for (size_t i = input.ConsumeIntegralInRange<size_t>(0, 32); i > 0; --i) {
        const uint32_t cp = input.ConsumeIntegralInRange<uint32_t>(1, 0x10FFFF);
        wide += static_cast<wchar_t>(cp >= 0xD800 && cp <= 0xDFFF ? cp - 0x800 : cp);  // no surrogates
    }
    const std::string rest = input.ConsumeRemainingBytesAsString();
    checkUpdateReply(whole, utf8ToWide(key));
    checkJsonHelpers(rest, key, number, wide);
    checkPanelNumbers(utf8ToWide(rest), number, count);
    checkZoomHint(utf8ToWide(rest), count, bufferChars);
    return 0;
}
