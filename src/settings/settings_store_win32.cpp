// Where settings.json lives, the first-run and migration rules, and config.ini.
#include "settings/app_settings.h"

#include "settings/file_io.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// The roaming application-data folder, created if missing; empty when Windows has none.
std::wstring appDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path))) return {};
    return path;
}

bool isDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ensureDirectory(const std::wstring& path) {
    if (!isDirectory(path)) CreateDirectoryW(path.c_str(), nullptr);
}

std::wstring profileString(const std::wstring& ini, const wchar_t* section, const wchar_t* key,
                           const std::wstring& fallback, DWORD capacity) {
    std::wstring value(capacity + 1, L'\0');
    const DWORD length = GetPrivateProfileStringW(section, key, fallback.c_str(), value.data(),
                                                  static_cast<DWORD>(value.size()), ini.c_str());
    value.resize(length);
    return value;
}

bool profileFlag(const std::wstring& ini, const wchar_t* section, const wchar_t* key, bool fallback) {
    return GetPrivateProfileIntW(section, key, fallback ? 1 : 0, ini.c_str()) != 0;
}

std::wstring lowerAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

}  // namespace

std::wstring settingsFolder() {
    const std::wstring appData = appDataFolder();
    if (appData.empty()) return moduleFolder();
    const std::wstring vendor = appData + L"\\Orvell";
    const std::wstring product = vendor + L"\\Tessaro";
    ensureDirectory(vendor);
    ensureDirectory(product);
    return isDirectory(product) ? product : moduleFolder();
}

std::wstring settingsFilePath() { return settingsFolder() + L"\\settings.json"; }

void applyConfigIni(AppSettings& settings) {
    const std::wstring ini = moduleFolder() + L"\\config.ini";
    const DWORD attributes = GetFileAttributesW(ini.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;

    const std::wstring serverUrl = profileString(ini, L"dxf", L"server_url", settings.serverUrl, 1023);
    if (!serverUrl.empty()) settings.serverUrl = serverUrl;
    settings.useServerDxf = profileFlag(ini, L"dxf", L"use_server", settings.useServerDxf);
    settings.preview3d = profileFlag(ini, L"preview", L"view_3d", settings.preview3d);
    const int mode = static_cast<int>(GetPrivateProfileIntW(L"preview", L"render_3d_mode", settings.render3dMode,
                                                            ini.c_str()));
    settings.render3dMode = mode < 0 || mode > 2 ? 0 : mode;
    const std::wstring units = lowerAscii(profileString(ini, L"preferences", L"units", settings.units, 31));
    settings.units = units == L"in" || units == L"inch" || units == L"inches" ? L"in" : L"mm";
    const std::wstring language = profileString(ini, L"preferences", L"language", settings.language, 63);
    if (!language.empty()) settings.language = language;
    settings.checkUpdatesOnStart =
        profileFlag(ini, L"preferences", L"check_updates_on_start", settings.checkUpdatesOnStart);
}

AppSettings loadSettings() {
    AppSettings settings;
    std::string text;
    bool migrated = false;
    if (!readFileBytes(settingsFilePath(), text)) {
        const std::wstring appData = appDataFolder();
        if (appData.empty() || !readFileBytes(appData + L"\\Velmora\\VM Tessaro\\settings.json", text)) {
            applyConfigIni(settings);
            normalizeSettings(settings);
            saveSettings(settings);
            return settings;
        }
        migrated = true;
    }
    readSettingsJson(text, settings);
    normalizeSettings(settings);
    if (migrated) saveSettings(settings);
    return settings;
}

bool saveSettings(const AppSettings& settings) {
    AppSettings normalized = settings;
    normalizeSettings(normalized);
    return writeFileReplacing(settingsFilePath(), writeSettingsJson(normalized));
}
