#pragma once
// Interface texts by dotted key: built-in English and Spanish plus JSON language files.
#include <map>
#include <optional>
#include <string>
#include <vector>

// Key -> text, one text per key.
using LanguageTable = std::map<std::wstring, std::wstring>;

struct LanguageInfo {
    std::wstring code;         // normalized code, "en", "es" or a file name without extension
    std::wstring displayName;  // shown in the language box
    std::wstring filePath;     // file supplying texts; empty for the built-in ones
};

class LanguageManager {
public:
    LanguageManager();  // built-in tables filled, English current, nothing scanned

    // Lists English, Spanish and the *.json files of the "languages" folders at and above the executable.
    void scanLanguages();
    // Adds the language files of one folder; a later file of a known code replaces its name and file.
    void scanLanguageFolder(const std::wstring& folder);
    // Makes a language current (unknown codes become "en").
    void applyLanguage(const std::wstring& code);
    // Current text, else English, else the key itself; empty for an absent key.
    std::wstring lookupText(const wchar_t* key) const;
    std::wstring lookupText(const std::wstring& key) const { return lookupText(key.c_str()); }
    std::optional<LanguageInfo> findLanguage(const std::wstring& code) const;

    const std::vector<LanguageInfo>& available() const { return available_; }
    const std::wstring& currentCode() const { return currentCode_; }

private:
    std::vector<LanguageInfo> available_;
    LanguageTable english_;
    LanguageTable spanish_;
    LanguageTable active_;
    std::wstring currentCode_ = L"en";
};

// Lower-cases A-Z, trims spaces and tabs; empty becomes "en".
std::wstring normalizeLanguageCode(const std::wstring& code);
// Reads and parses a language file into table; false (table untouched) when the file gives no text.
bool loadLanguageFile(const std::wstring& path, LanguageTable& table);
// The file's text as wide characters, byte-order mark dropped; empty when missing, empty or over 1 MiB.
std::wstring readLanguageText(const std::wstring& path);
// One forward scan for "key": "text" members at any depth; true when the table ends non-empty.
bool parseLanguageText(const std::wstring& text, LanguageTable& table);
// The built-in tables (117 entries each).
void buildEnglishTable(LanguageTable& table);
void buildSpanishTable(LanguageTable& table);
