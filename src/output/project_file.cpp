#include "output/project_file.h"

#include "model/design_options.h"

#include "settings/file_io.h"
#include "settings/flat_json.h"
#include "settings/number_text.h"
#include "settings/sheet_size_text.h"
#include "settings/text_encoding.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace {

// A project is well under a kilobyte; anything this big is not one and is not read into memory.
constexpr size_t kMaxProjectBytes = 16 * 1024 * 1024;

constexpr std::string_view kFormatMark = "TessaroProject";

void appendMember(std::string& out, std::string_view key, std::string_view value, bool last = false) {
    out += "    \"";
    out += key;
    out += "\": ";
    out += value;
    out += last ? "\n" : ",\n";
}

const char* boolText(bool value) { return value ? "true" : "false"; }

// Validation messages are plain ASCII.
std::wstring withMessage(const wchar_t* prefix, const char* message) { return prefix + widenBytes(message); }

// Optional sign and digits; a fraction is not read. Out-of-range values saturate, so the
// validation refuses them instead of silently keeping a wrapped number.
std::optional<int32_t> readInteger(const std::string& text, size_t pos) {
    return scanLeadingInteger(std::string_view(text).substr(pos), Sign::Allowed);
}

// Only the words true and false; 1 and 0 are not booleans in a project.
std::optional<bool> readBoolean(const std::string& text, size_t pos) {
    const std::string_view rest = std::string_view(text).substr(pos);
    if (rest.starts_with("true")) return true;
    if (rest.starts_with("false")) return false;
    return std::nullopt;
}

// A number beyond the range of a double is read as infinite, so the validation refuses the project
// instead of quietly keeping the default.
std::optional<double> readNumber(const std::string& text, size_t pos) {
    if (const auto value = readJsonNumber(text, pos)) return value;
    const bool negative = pos < text.size() && text[pos] == '-';
    const size_t digit = pos + ((pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ? 1 : 0);
    const size_t firstDigit = digit < text.size() && text[digit] == '.' ? digit + 1 : digit;
    if (firstDigit < text.size() && text[firstDigit] >= '0' && text[firstDigit] <= '9')
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return std::nullopt;
}

// The text of an option's value in a project.
std::string projectText(const DesignOption& option, const BoxParameters& design) {
    const double value = option.access.get(design);
    switch (option.kind) {
    case OptionKind::Length: return formatFixed(value, 6);
    case OptionKind::Size: return storedSheetSize({value, option.second.get(design)});
    case OptionKind::Count: return std::to_string(static_cast<int32_t>(value));
    case OptionKind::Flag: return boolText(value != 0);
    case OptionKind::Choice: break;
    }
    return '"' + std::string(option.choiceNames[value != 0 ? 1 : 0]) + '"';
}

// The option's value in a project text, when its key is there with a value of its kind. A choice
// whose name is not its second is its first.
std::optional<double> readOption(const std::string& text, const DesignOption& option) {
    const auto pos = findJsonValue(text, option.projectKey);
    if (!pos) return std::nullopt;
    switch (option.kind) {
    case OptionKind::Size: return std::nullopt;  // two values: readSize
    case OptionKind::Length: return readNumber(text, *pos);
    case OptionKind::Count:
        if (const auto value = readInteger(text, *pos)) return *value;
        return std::nullopt;
    case OptionKind::Flag:
        if (const auto value = readBoolean(text, *pos)) return *value ? 1.0 : 0.0;
        return std::nullopt;
    case OptionKind::Choice: break;
    }
    // Everything between a quote and the next quote: project strings carry no escapes.
    if (const auto name = readJsonString(text, *pos, {StringRule::None, true})) return *name == option.choiceNames[1] ? 1.0 : 0.0;
    return std::nullopt;
}

// A size that is there but no pair of numbers is refused, not dropped: the cut would not be the one saved.
void readSize(const std::string& text, const DesignOption& option, BoxParameters& design) {
    const auto pos = findJsonValue(text, option.projectKey);
    if (!pos) return;
    const auto size = readStoredSheetSize(text, *pos);
    option.access.set(design, size ? size->width : std::numeric_limits<double>::quiet_NaN());
    option.second.set(design, size ? size->height : std::numeric_limits<double>::quiet_NaN());
}

}  // namespace

std::string writeProjectJson(const BoxParameters& p) {
    std::string out;
    out.reserve(640);
    out += "{\n";
    out += "  \"format\": \"TessaroProject\",\n";
    out += "  \"version\": 1,\n";
    out += "  \"parameters\": {\n";
    std::vector<const DesignOption*> written;
    for (const DesignOption& option : designOptions())
        if (isWritten(option, p)) written.push_back(&option);
    for (const DesignOption* option : written)
        appendMember(out, option->projectKey, projectText(*option, p), option == written.back());
    out += "  }\n";
    out += "}\n";
    return out;
}

bool saveProject(const std::wstring& path, const BoxParameters& parameters, std::wstring& error) {
    error.clear();
    BoxParameters checked = parameters;
    try {
        validateParameters(checked);
    } catch (const std::runtime_error& e) {
        error = withMessage(L"No se pudo preparar el proyecto: ", e.what());
        return false;
    }
    // Written beside the target and swapped in, so a failure never costs the previous project.
    if (!writeFileReplacing(path, writeProjectJson(checked))) {
        error = L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.";
        return false;
    }
    return true;
}

bool loadProject(const std::wstring& path, BoxParameters& result, std::wstring& error) {
    error.clear();
    std::string text;
    ReadFailure failure = ReadFailure::None;
    if (!readFileBytesUpTo(path, text, kMaxProjectBytes, &failure)) {
        switch (failure) {
        case ReadFailure::Open: error = L"No se pudo abrir el archivo de proyecto."; break;
        case ReadFailure::Size: error = L"No se pudo leer el tama\u00f1o del archivo."; break;
        case ReadFailure::TooLarge: error = kNotAProjectMessage; break;
        case ReadFailure::Read:
        case ReadFailure::None: error = L"No se pudo leer todo el archivo de proyecto."; break;
        }
        return false;
    }

    if (text.find(kFormatMark) == std::string::npos) {
        error = kNotAProjectMessage;
        return false;
    }

    BoxParameters loaded;
    for (const DesignOption& option : designOptions()) {
        if (option.kind == OptionKind::Size) readSize(text, option, loaded);
        else if (const auto value = readOption(text, option)) option.access.set(loaded, *value);
    }

    try {
        validateParameters(loaded);
    } catch (const std::runtime_error& e) {
        error = withMessage(L"El proyecto contiene parametros invalidos: ", e.what());
        return false;
    }
    result = loaded;
    return true;
}
