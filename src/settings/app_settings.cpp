#include "settings/app_settings.h"

#include "model/design_options.h"
#include "model/tolerances.h"

#include "settings/flat_json.h"
#include "settings/number_text.h"
#include "settings/sheet_size_text.h"
#include "settings/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

bool equalsIgnoringCase(const std::wstring& text, const wchar_t* lowerAscii) {
    size_t i = 0;
    for (; i < text.size() && lowerAscii[i]; ++i) {
        const wchar_t c = text[i] >= L'A' && text[i] <= L'Z' ? text[i] - L'A' + L'a' : text[i];
        if (c != lowerAscii[i]) return false;
    }
    return i == text.size() && !lowerAscii[i];
}

// Non-finite values are repaired like out-of-range ones: they cannot be written back as JSON.
double repaired(const StoredRepair& repair, double value, double defaultValue) {
    switch (repair.rule) {
    case StoredRepair::Positive: return value > 0 && std::isfinite(value) ? value : defaultValue;
    case StoredRepair::NonNegative: return value >= 0 && std::isfinite(value) ? value : repair.fallback;
    case StoredRepair::Clamp: return std::clamp(value, repair.low, repair.high);
    case StoredRepair::InRange: return value >= repair.low && value <= repair.high ? value : defaultValue;
    case StoredRepair::SizeOrNone:
    case StoredRepair::None: break;
    }
    return value;
}

void readString(const std::string& text, const char* key, std::wstring& field) {
    if (const auto pos = findJsonValue(text, key))
        if (const auto value = readJsonString(text, *pos, StringRule{})) field = utf8ToWide(*value);
}

void readBool(const std::string& text, const char* key, bool& field) {
    if (const auto pos = findJsonValue(text, key))
        if (const auto value = readJsonBool(text, *pos)) field = *value;
}

void readDouble(const std::string& text, const char* key, double& field) {
    if (const auto pos = findJsonValue(text, key))
        if (const auto value = readJsonNumber(text, *pos)) field = *value;
}

// Truncates toward zero; values beyond the 32-bit range stop at its ends rather than overflow.
void readInt(const std::string& text, const char* key, int32_t& field) {
    double value = field;
    readDouble(text, key, value);
    field = saturatedInt32(value);
}

void member(std::string& out, int indent, const char* key, const std::string& value, bool last = false) {
    out.append(static_cast<size_t>(indent), ' ');
    out += '"';
    out += key;
    out += "\": ";
    out += value;
    out += last ? "\n" : ",\n";
}

// The text of an option's value in settings.json.
std::string storedText(const DesignOption& option, const BoxParameters& design) {
    const double value = option.access.get(design);
    switch (option.kind) {
    case OptionKind::Length: return formatFixed(value, 6);
    case OptionKind::Count: return std::to_string(static_cast<int32_t>(value));
    case OptionKind::Size: return storedSheetSize({value, option.second.get(design)});
    case OptionKind::Flag:
    case OptionKind::Choice: break;
    }
    return value != 0 ? "true" : "false";
}

// The "design" members in their places; the retired slot flags keep theirs, always false.
void writeDesign(std::string& out, const BoxParameters& design) {
    constexpr int kRetiredSlotsPlace = 15;
    std::vector<std::pair<int, std::string>> members = {{kRetiredSlotsPlace, "\"baseSlots\": false"},
                                                        {kRetiredSlotsPlace + 1, "\"sideSlots\": false"}};
    for (const DesignOption& option : designOptions()) {
        if (!isWritten(option, design)) continue;
        const std::string text = storedText(option, design);
        members.emplace_back(option.settingsPlace, '"' + std::string(option.settingsKey) + "\": " + text);
    }
    std::sort(members.begin(), members.end());
    for (size_t i = 0; i < members.size(); ++i) {
        out += "    " + members[i].second;
        out += i + 1 < members.size() ? ",\n" : "\n";
    }
}

void readDesign(const std::string& text, BoxParameters& design) {
    for (const DesignOption& option : designOptions()) {
        double value = option.access.get(design);
        if (option.kind == OptionKind::Size) {
            if (const auto pos = findJsonValue(text, option.settingsKey))
                if (const auto size = readStoredSheetSize(text, *pos)) {
                    option.access.set(design, size->width);
                    option.second.set(design, size->height);
                }
            continue;
        }
        if (option.kind == OptionKind::Length || option.kind == OptionKind::Count) {
            readDouble(text, option.settingsKey, value);
            // Counts truncate toward zero and stop at the 32-bit range's ends rather than overflow.
            if (option.kind == OptionKind::Count) value = saturatedInt32(value);
        } else {
            bool on = value != 0;
            readBool(text, option.settingsKey, on);
            value = on ? 1 : 0;
        }
        option.access.set(design, value);
    }
}

std::string quoted(const std::wstring& text) { return '"' + escapeJsonString(wideToUtf8(text)) + '"'; }
std::string boolean(bool value) { return value ? "true" : "false"; }

}  // namespace

bool unitsAreInches(const AppSettings& settings) { return equalsIgnoringCase(settings.units, L"in"); }

void normalizeSettings(AppSettings& s) {
    const BoxParameters defaults{};
    for (const DesignOption& option : designOptions()) {
        const double value = repaired(option.repair, option.access.get(s.design), option.access.get(defaults));
        option.access.set(s.design, value);
    }
    const auto usableSide = [](double side) { return side > 0 && side <= kLongestLength; };
    if (!usableSide(s.design.sheetSize.width) || !usableSide(s.design.sheetSize.height)) s.design.sheetSize = {};
    if (s.render3dMode < 0 || s.render3dMode > 2) s.render3dMode = 0;
    if (!unitsAreInches(s)) s.units = L"mm";
    if (s.language.empty()) s.language = L"es";
    s.useServerDxf = false;
    s.serverUrl.clear();
    s.baseSlots = false;
    s.sideSlots = false;
    // Kept within a range whose sums cannot overflow.
    constexpr int32_t kFarthest = 100000;
    s.windowX = std::clamp(s.windowX, -kFarthest, kFarthest);
    s.windowY = std::clamp(s.windowY, -kFarthest, kFarthest);
    s.windowWidth = std::clamp(s.windowWidth, 0, kFarthest);
    s.windowHeight = std::clamp(s.windowHeight, 0, kFarthest);
    if (s.windowWidth == 0 || s.windowHeight == 0) s.windowWidth = s.windowHeight = 0;
}

std::string writeSettingsJson(const AppSettings& s) {
    std::string out = "{\n";
    member(out, 2, "version", "1");
    member(out, 2, "app", "\"orvell-tessaro\"");
    member(out, 2, "language", quoted(s.language));
    member(out, 2, "units", quoted(s.units));
    member(out, 2, "checkUpdatesOnStart", boolean(s.checkUpdatesOnStart));
    member(out, 2, "preview3d", boolean(s.preview3d));
    member(out, 2, "render3dMode", std::to_string(s.render3dMode));
    member(out, 2, "serverUrl", quoted(s.serverUrl));
    member(out, 2, "useServerDxf", "false");
    out += "  \"design\": {\n";
    writeDesign(out, s.design);
    out += "  },\n";
    member(out, 2, "windowX", std::to_string(s.windowX));
    member(out, 2, "windowY", std::to_string(s.windowY));
    member(out, 2, "windowWidth", std::to_string(s.windowWidth));
    member(out, 2, "windowHeight", std::to_string(s.windowHeight));
    member(out, 2, "windowMaximized", boolean(s.windowMaximized), true);
    out += "}\n";
    return out;
}

void readSettingsJson(const std::string& text, AppSettings& s) {
    readString(text, "serverUrl", s.serverUrl);
    readString(text, "units", s.units);
    readString(text, "language", s.language);
    readBool(text, "useServerDxf", s.useServerDxf);
    readBool(text, "preview3d", s.preview3d);
    readBool(text, "checkUpdatesOnStart", s.checkUpdatesOnStart);
    readBool(text, "baseSlots", s.baseSlots);
    readBool(text, "sideSlots", s.sideSlots);
    readDesign(text, s.design);
    readInt(text, "render3dMode", s.render3dMode);
    readInt(text, "windowX", s.windowX);
    readInt(text, "windowY", s.windowY);
    readInt(text, "windowWidth", s.windowWidth);
    readInt(text, "windowHeight", s.windowHeight);
    readBool(text, "windowMaximized", s.windowMaximized);
}
