#include "settings/app_settings.h"

#include "settings/number_text.h"
#include "settings/text_encoding.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
void requirePositive(double& value, double repair) {
    if (!(value > 0) || !std::isfinite(value)) value = repair;
}

void requireNonNegative(double& value, double repair) {
    if (!(value >= 0) || !std::isfinite(value)) value = repair;
}

void clampInt(int32_t& value, int32_t low, int32_t high) {
    value = value < low ? low : value > high ? high : value;
}

void requireDividerCount(int32_t& value) {
    constexpr int32_t kMaxDividers = 100;
    if (value < 0 || value > kMaxDividers) value = 0;
}

void readString(const std::string& text, const char* key, std::wstring& field) {
    if (const auto pos = findJsonValue(text, key))
        if (const auto value = readJsonString(text, *pos)) field = *value;
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

std::string quoted(const std::wstring& text) { return '"' + escapeJsonString(wideToUtf8(text)) + '"'; }
std::string boolean(bool value) { return value ? "true" : "false"; }

}  // namespace

void normalizeSettings(AppSettings& s) {
    requirePositive(s.widthMm, 200.0);
    requirePositive(s.heightMm, 100.0);
    requirePositive(s.depthMm, 150.0);
    requirePositive(s.thicknessMm, 3.0);
    requireNonNegative(s.kerfMm, 0.0);
    requireNonNegative(s.clearanceMm, 0.0);
    requireNonNegative(s.spacingMm, 12.0);
    clampInt(s.fingerWidth, 1, 10);
    clampInt(s.fingerDepth, 1, 10);
    clampInt(s.fingerHeight, 1, 10);
    requirePositive(s.toolDiameterMm, 3.175);
    if (s.render3dMode < 0 || s.render3dMode > 2) s.render3dMode = 0;
    if (!equalsIgnoringCase(s.units, L"in")) s.units = L"mm";
    if (s.language.empty()) s.language = L"es";
    s.useServerDxf = false;
    s.serverUrl.clear();
    s.baseSlots = false;
    s.sideSlots = false;
    requireDividerCount(s.widthDividers);
    requireDividerCount(s.depthDividers);
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
    member(out, 4, "widthMm", formatFixed(s.widthMm, 6));
    member(out, 4, "heightMm", formatFixed(s.heightMm, 6));
    member(out, 4, "depthMm", formatFixed(s.depthMm, 6));
    member(out, 4, "thicknessMm", formatFixed(s.thicknessMm, 6));
    member(out, 4, "kerfMm", formatFixed(s.kerfMm, 6));
    member(out, 4, "clearanceMm", formatFixed(s.clearanceMm, 6));
    member(out, 4, "spacingMm", formatFixed(s.spacingMm, 6));
    member(out, 4, "fingerWidth", std::to_string(s.fingerWidth));
    member(out, 4, "fingerDepth", std::to_string(s.fingerDepth));
    member(out, 4, "fingerHeight", std::to_string(s.fingerHeight));
    member(out, 4, "toolDiameterMm", formatFixed(s.toolDiameterMm, 6));
    member(out, 4, "internalDimensions", boolean(s.internalDimensions));
    member(out, 4, "includeLid", boolean(s.includeLid));
    member(out, 4, "cncRouterMode", boolean(s.cncRouterMode));
    member(out, 4, "baseSlots", "false");
    member(out, 4, "sideSlots", "false");
    // Added after the older keys, so a program that knows only those reads the file as before.
    member(out, 4, "widthDividers", std::to_string(s.widthDividers));
    member(out, 4, "depthDividers", std::to_string(s.depthDividers));
    member(out, 4, "dividerBaseSlots", boolean(s.dividerBaseSlots), true);
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
    readBool(text, "internalDimensions", s.internalDimensions);
    readBool(text, "includeLid", s.includeLid);
    readBool(text, "cncRouterMode", s.cncRouterMode);
    readBool(text, "baseSlots", s.baseSlots);
    readBool(text, "sideSlots", s.sideSlots);
    readDouble(text, "widthMm", s.widthMm);
    readDouble(text, "heightMm", s.heightMm);
    readDouble(text, "depthMm", s.depthMm);
    readDouble(text, "thicknessMm", s.thicknessMm);
    readDouble(text, "kerfMm", s.kerfMm);
    readDouble(text, "clearanceMm", s.clearanceMm);
    readDouble(text, "spacingMm", s.spacingMm);
    readDouble(text, "toolDiameterMm", s.toolDiameterMm);
    readInt(text, "render3dMode", s.render3dMode);
    readInt(text, "fingerWidth", s.fingerWidth);
    readInt(text, "fingerDepth", s.fingerDepth);
    readInt(text, "fingerHeight", s.fingerHeight);
    readInt(text, "widthDividers", s.widthDividers);
    readInt(text, "depthDividers", s.depthDividers);
    readBool(text, "dividerBaseSlots", s.dividerBaseSlots);
    readInt(text, "windowX", s.windowX);
    readInt(text, "windowY", s.windowY);
    readInt(text, "windowWidth", s.windowWidth);
    readInt(text, "windowHeight", s.windowHeight);
    readBool(text, "windowMaximized", s.windowMaximized);
}
