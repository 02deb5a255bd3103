#include "settings/language_manager.h"

#include "settings/file_io.h"
#include "settings/flat_json.h"
#include "settings/language_files.h"
#include "settings/text_encoding.h"

#include <algorithm>

namespace {

constexpr size_t kMaxLanguageFileBytes = 1048576;

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
        size_t afterKey = 0;
        std::optional<std::wstring> key = readJsonString(text, open, {.needsClosingQuote = true}, &afterKey);
        if (!key) break;
        const size_t colon = text.find(L':', afterKey);
        if (colon == std::wstring::npos) break;
        const size_t start = text.find_first_not_of(L" \r\n\t", colon + 1);
        if (start == std::wstring::npos) break;
        if (text[start] != L'"') {  // not a string: its members, if any, are read as they come
            pos = start;
            continue;
        }
        std::wstring value = readJsonString(text, start, {.escapes = StringRule::WithUnicode}, &pos).value_or(L"");
        if (!key->empty()) table.insert_or_assign(std::move(*key), std::move(value));
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
