#pragma once
// The persisted preferences and last design (settings.json). Lengths are millimetres whatever `units` says.
#include "model/box_parameters.h"

#include <cstdint>
#include <string>

struct AppSettings {
    std::wstring serverUrl{};         // always emptied by normalizeSettings
    bool useServerDxf = false;        // always cleared by normalizeSettings
    bool preview3d = false;
    int32_t render3dMode = 0;         // 0 automatic, 1 GDI, 2 Direct3D 9
    std::wstring units = L"mm";       // "mm" or "in" (any letter case)
    std::wstring language = L"es";
    bool checkUpdatesOnStart = true;
    BoxParameters design{};           // inputs only; each option repaired by its row's rule in normalizeSettings
    bool baseSlots = false;           // always false after normalizeSettings
    bool sideSlots = false;           // always false after normalizeSettings
    // The main window's normal rectangle in screen pixels (no size: never closed yet) and whether it
    // was maximised; coordinates within +-100000 after normalizeSettings.
    int32_t windowX = 0;
    int32_t windowY = 0;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    bool windowMaximized = false;

    bool operator==(const AppSettings&) const = default;
};

// Whether `units` names inches, in any letter case.
bool unitsAreInches(const AppSettings& settings);

// Repairs out-of-range values in place.
void normalizeSettings(AppSettings& settings);

// The settings.json text: UTF-8, line feeds, two-space indent.
std::string writeSettingsJson(const AppSettings& settings);

// Overlays every key found in a settings.json text on `settings` (missing or malformed keys
// leave the field alone); does not normalize.
void readSettingsJson(const std::string& text, AppSettings& settings);

// The operations below use the Windows per-user folders and exist only in the Windows build.

// Reads settings.json (or migrates the older file, or takes config.ini on a first run); never fails.
AppSettings loadSettings();

// Normalizes a copy and replaces settings.json in one step; false when it was not wholly written
// (the previous file is then left as it was).
bool saveSettings(const AppSettings& settings);

// %APPDATA%\Orvell\Tessaro (created on the way), else the executable's folder.
std::wstring settingsFolder();
std::wstring settingsFilePath();

// Overlays config.ini beside the executable, if it exists.
void applyConfigIni(AppSettings& settings);
