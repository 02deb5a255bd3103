#include "settings/language_manager.h"

#include "settings/file_io.h"
#include "settings/language_files.h"
#include "settings/text_encoding.h"

#include <algorithm>

namespace {

constexpr size_t kMaxLanguageFileBytes = 1048576;

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return 0;  // anything else counts as zero
}

// Appends one UTF-16 unit. Where wchar_t holds whole code points, a low surrogate that follows
// a high one joins it, so \uD83D\uDE00 reads the same on every platform.
void appendUnit(std::wstring& text, unsigned unit) {
    if constexpr (sizeof(wchar_t) == 4) {
        if (unit >= 0xDC00 && unit <= 0xDFFF && !text.empty()) {
            const auto high = static_cast<unsigned>(text.back());
            if (high >= 0xD800 && high <= 0xDBFF) {
                text.back() = static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
                return;
            }
        }
    }
    text += static_cast<wchar_t>(unit);
}

// Reads a key after its opening quote; npos when the text ends before the closing quote.
size_t readKey(const std::wstring& text, size_t i, std::wstring& key) {
    while (i < text.size()) {
        const wchar_t c = text[i++];
        if (c == L'"') return i;
        if (c != L'\\' || i == text.size()) {
            key += c;
            continue;
        }
        const wchar_t escaped = text[i++];
        key += escaped == L'n' ? L'\n' : escaped == L't' ? L'\t' : escaped;
    }
    return std::wstring::npos;
}

// Reads a value after its opening quote, up to the closing quote or the end; returns the position after it.
size_t readValue(const std::wstring& text, size_t i, std::wstring& value) {
    while (i < text.size()) {
        const wchar_t c = text[i++];
        if (c == L'"') break;
        if (c != L'\\' || i == text.size()) {
            value += c;
            continue;
        }
        const wchar_t escaped = text[i++];
        switch (escaped) {
        case L'n': value += L'\n'; break;
        case L'r': value += L'\r'; break;
        case L't': value += L'\t'; break;
        case L'u':
            if (text.size() - i >= 4) {
                unsigned unit = 0;
                for (size_t k = 0; k < 4; ++k) unit = unit * 16 + static_cast<unsigned>(hexDigit(text[i + k]));
                appendUnit(value, unit);
                i += 4;
            } else {
                value += L'u';
            }
            break;
        default: value += escaped; break;
        }
    }
    return i;
}

// The code a language file stands for: its name without path and extension, normalized.
std::wstring codeOfFile(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.resize(dot);
    return normalizeLanguageCode(name);
}

}  // namespace

std::wstring normalizeLanguageCode(const std::wstring& code) {
    const size_t first = code.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return L"en";
    std::wstring result = code.substr(first, code.find_last_not_of(L" \t") - first + 1);
    for (wchar_t& c : result)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return result;
}

std::wstring readLanguageText(const std::wstring& path) {
    std::string bytes;
    if (!readFileBytesUpTo(path, bytes, kMaxLanguageFileBytes) || bytes.empty()) return {};
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    return utf8ToWide(bytes);
}

bool loadLanguageFile(const std::wstring& path, LanguageTable& table) {
    const std::wstring text = readLanguageText(path);
    return !text.empty() && parseLanguageText(text, table);
}

bool parseLanguageText(const std::wstring& text, LanguageTable& table) {
    // Every search starts where the previous one ended, so the scan stays linear in the text.
    table.clear();
    size_t pos = 0;
    for (;;) {
        const size_t open = text.find(L'"', pos);
        if (open == std::wstring::npos) break;
        std::wstring key;
        const size_t afterKey = readKey(text, open + 1, key);
        if (afterKey == std::wstring::npos) break;
        const size_t colon = text.find(L':', afterKey);
        if (colon == std::wstring::npos) break;
        const size_t start = text.find_first_not_of(L" \r\n\t", colon + 1);
        if (start == std::wstring::npos) break;
        if (text[start] != L'"') {  // not a string: its members, if any, are read as they come
            pos = start;
            continue;
        }
        std::wstring value;
        pos = readValue(text, start + 1, value);
        if (!key.empty()) table.insert_or_assign(std::move(key), std::move(value));
    }
    return !table.empty();
}

LanguageManager::LanguageManager() {
    buildEnglishTable(english_);
    buildSpanishTable(spanish_);
    active_ = english_;
}

void LanguageManager::scanLanguages() {
    available_.clear();
    available_.push_back({L"en", L"English", L""});
    available_.push_back({L"es", L"Espa\u00F1ol", L""});
    // The executable's own folder, the one holding it, and one more level up; a root has no parent.
    const std::wstring module = moduleFolder();
    const std::wstring parent = parentPath(module);
    const std::wstring grandparent = parentPath(parent);
    scanLanguageFolder(joinPath(module, L"languages"));
    if (!parent.empty()) scanLanguageFolder(joinPath(parent, L"languages"));
    if (!grandparent.empty()) scanLanguageFolder(joinPath(grandparent, L"languages"));
}

void LanguageManager::scanLanguageFolder(const std::wstring& folder) {
    if (folder.empty()) return;
    for (const std::wstring& path : listLanguageFiles(folder)) {
        const std::wstring code = codeOfFile(path);
        LanguageTable table;
        loadLanguageFile(path, table);
        const auto name = table.find(L"language.name");
        const std::wstring displayName = name != table.end() && !name->second.empty() ? name->second : code;
        const auto known = std::find_if(available_.begin(), available_.end(), [&](const LanguageInfo& info) {
            return normalizeLanguageCode(info.code) == code;
        });
        if (known != available_.end()) {
            known->displayName = displayName;
            known->filePath = path;
        } else {
            available_.push_back({code, displayName, path});
        }
    }
}

void LanguageManager::applyLanguage(const std::wstring& code) {
    if (available_.empty()) scanLanguages();
    std::wstring chosen = normalizeLanguageCode(code);
    std::optional<LanguageInfo> info = findLanguage(chosen);
    if (!info) {
        chosen = L"en";
        info = findLanguage(chosen);
    }
    active_ = english_;
    if (chosen == L"es")
        for (const auto& [key, text] : spanish_) active_[key] = text;
    if (info && !info->filePath.empty()) {
        LanguageTable file;
        if (loadLanguageFile(info->filePath, file))
            for (auto& [key, text] : file) active_[key] = std::move(text);
    }
    currentCode_ = chosen;
}

std::wstring LanguageManager::lookupText(const wchar_t* key) const {
    if (!key) return {};
    if (const auto found = active_.find(key); found != active_.end()) return found->second;
    if (const auto found = english_.find(key); found != english_.end()) return found->second;
    return key;
}

std::optional<LanguageInfo> LanguageManager::findLanguage(const std::wstring& code) const {
    const std::wstring wanted = normalizeLanguageCode(code);
    for (const LanguageInfo& info : available_)
        if (normalizeLanguageCode(info.code) == wanted) return info;
    return std::nullopt;
}
