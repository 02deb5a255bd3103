// Any settings.json text: reading never fails, normalizing brings every value into range once and
// for all, and the written text reads back to itself.
#include "fuzz_check.h"
#include "settings/app_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AppSettings s;
    readSettingsJson(fuzzText(data, size), s);
    normalizeSettings(s);
    for (double v : {s.widthMm, s.heightMm, s.depthMm, s.thicknessMm, s.toolDiameterMm}) FUZZ_CHECK(std::isfinite(v) && v > 0);
    for (double v : {s.kerfMm, s.clearanceMm, s.spacingMm}) FUZZ_CHECK(std::isfinite(v) && v >= 0);
    for (int32_t count : {s.fingerWidth, s.fingerDepth, s.fingerHeight}) FUZZ_CHECK(count >= 1 && count <= 10);
    FUZZ_CHECK(s.render3dMode >= 0 && s.render3dMode <= 2 && !s.language.empty());
    FUZZ_CHECK(s.units == L"mm" || (s.units.size() == 2 && (s.units[0] | 0x20) == L'i' && (s.units[1] | 0x20) == L'n'));
    FUZZ_CHECK(s.serverUrl.empty() && !s.useServerDxf && !s.baseSlots && !s.sideSlots);
    AppSettings twice = s;
    normalizeSettings(twice);
    FUZZ_CHECK(twice == s);

    // The flat search takes a key's first quoted occurrence, so a language or unit that spells a key
    // would shadow the member itself: the round trip holds only without that.
    const std::string written = writeSettingsJson(s);
    for (size_t line = 0; line < written.size(); line = written.find('\n', line) + 1) {
        const size_t open = written.find_first_not_of(' ', line);  // each member's name starts its line
        const std::string key = written.substr(open, written.find('"', open + 1) + 1 - open);
        if (written[open] == '"' && written.find(key) != written.rfind(key)) return 0;
    }
    AppSettings reread;
    readSettingsJson(written, reread);
    FUZZ_CHECK(writeSettingsJson(reread) == written);
    return 0;
}
