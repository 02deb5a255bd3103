// Any settings.json text: reading never fails, normalizing brings every value into range,
// and the written text reads back to the same record.
#include "fuzz_check.h"
#include "settings/app_settings.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

const char* const kKeys[] = {"version", "app", "language", "units", "checkUpdatesOnStart", "preview3d",
                             "render3dMode", "serverUrl", "useServerDxf", "design", "widthMm", "heightMm",
                             "depthMm", "thicknessMm", "kerfMm", "clearanceMm", "spacingMm", "fingerWidth",
                             "fingerDepth", "fingerHeight", "toolDiameterMm", "internalDimensions",
                             "includeLid", "cncRouterMode", "baseSlots", "sideSlots"};

// The flat key search takes the first quoted occurrence of a key, so a string value that spells
// a key (a language code "widthMm") shadows the member itself; the round trip holds only without that.
bool everyKeyOnce(const std::string& text) {
    for (const char* key : kKeys) {
        const std::string pattern = std::string("\"") + key + "\"";
        const size_t first = text.find(pattern);
        if (first == std::string::npos || text.find(pattern, first + 1) != std::string::npos) return false;
    }
    return true;
}

bool positive(double v) { return std::isfinite(v) && v > 0; }
bool nonNegative(double v) { return std::isfinite(v) && v >= 0; }

void checkInRange(const AppSettings& s) {
    FUZZ_CHECK(positive(s.widthMm) && positive(s.heightMm) && positive(s.depthMm) && positive(s.thicknessMm));
    FUZZ_CHECK(nonNegative(s.kerfMm) && nonNegative(s.clearanceMm) && nonNegative(s.spacingMm));
    FUZZ_CHECK(positive(s.toolDiameterMm));
    for (int32_t count : {s.fingerWidth, s.fingerDepth, s.fingerHeight}) FUZZ_CHECK(count >= 1 && count <= 10);
    FUZZ_CHECK(s.render3dMode >= 0 && s.render3dMode <= 2);
    FUZZ_CHECK(s.units == L"mm" || (s.units.size() == 2 && (s.units[0] | 0x20) == L'i' && (s.units[1] | 0x20) == L'n'));
    FUZZ_CHECK(!s.language.empty());
    FUZZ_CHECK(s.serverUrl.empty() && !s.useServerDxf && !s.baseSlots && !s.sideSlots);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    AppSettings settings;
    readSettingsJson(text, settings);
    normalizeSettings(settings);
    checkInRange(settings);

    AppSettings twice = settings;
    normalizeSettings(twice);
    FUZZ_CHECK(twice == settings);

    const std::string written = writeSettingsJson(settings);
    FUZZ_CHECK(written.find('\r') == std::string::npos && written.back() == '\n');
    if (everyKeyOnce(written)) {
        AppSettings reread;
        readSettingsJson(written, reread);
        // Numbers are stored with six decimals, so the record is compared through its text.
        FUZZ_CHECK(writeSettingsJson(reread) == written);
        FUZZ_CHECK(reread.language == settings.language && reread.units == settings.units);
    }
    return 0;
}
