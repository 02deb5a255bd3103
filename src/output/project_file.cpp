#include "output/project_file.h"

#include "settings/file_io.h"
#include "settings/number_text.h"
#include "settings/text_encoding.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace {

// A project is well under a kilobyte; anything this big is not one and is not read into memory.
constexpr long kMaxProjectBytes = 16L * 1024 * 1024;

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

// Everything between a quote and the next quote; project strings carry no escapes.
std::optional<std::string> readString(const std::string& text, size_t pos) {
    if (pos >= text.size() || text[pos] != '"') return std::nullopt;
    const size_t close = text.find('"', pos + 1);
    if (close == std::string::npos) return std::nullopt;
    return text.substr(pos + 1, close - pos - 1);
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

void readNumberKey(const std::string& text, const char* key, double& field) {
    if (const auto pos = findJsonValue(text, key))
        if (const auto value = readNumber(text, *pos)) field = *value;
}

void readIntegerKey(const std::string& text, const char* key, int32_t& field) {
    if (const auto pos = findJsonValue(text, key))
        if (const auto value = readInteger(text, *pos)) field = *value;
}

void readBooleanKey(const std::string& text, const char* key, bool& field) {
    if (const auto pos = findJsonValue(text, key))
        if (const auto value = readBoolean(text, *pos)) field = *value;
}

std::optional<std::string> readStringKey(const std::string& text, const char* key) {
    if (const auto pos = findJsonValue(text, key)) return readString(text, *pos);
    return std::nullopt;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string writeProjectJson(const BoxParameters& p) {
    std::string out;
    out.reserve(640);
    out += "{\n";
    out += "  \"format\": \"TessaroProject\",\n";
    out += "  \"version\": 1,\n";
    out += "  \"parameters\": {\n";
    appendMember(out, "inputWidth", formatFixed(p.inputWidth, 6));
    appendMember(out, "inputHeight", formatFixed(p.inputHeight, 6));
    appendMember(out, "inputDepth", formatFixed(p.inputDepth, 6));
    appendMember(out, "dimensionMode", p.dimensionMode == DimensionMode::Internal ? "\"Internal\"" : "\"External\"");
    appendMember(out, "materialThickness", formatFixed(p.materialThickness, 6));
    appendMember(out, "fingerCountWidth", std::to_string(p.fingerCountWidth));
    appendMember(out, "fingerCountDepth", std::to_string(p.fingerCountDepth));
    appendMember(out, "fingerCountHeight", std::to_string(p.fingerCountHeight));
    appendMember(out, "kerf", formatFixed(p.kerf, 6));
    appendMember(out, "clearance", formatFixed(p.clearance, 6));
    appendMember(out, "spacing", formatFixed(p.spacing, 6));
    appendMember(out, "includeLid", boolText(p.includeLid));
    appendMember(out, "cutMode", p.cutMode == CutMode::CncRouter ? "\"CncRouter\"" : "\"Laser\"");
    appendMember(out, "toolDiameter", formatFixed(p.toolDiameter, 6));
    appendMember(out, "widthDividerCount", std::to_string(p.widthDividerCount));
    appendMember(out, "depthDividerCount", std::to_string(p.depthDividerCount));
    appendMember(out, "addDividerBaseSlots", boolText(p.addDividerBaseSlots), true);
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
    const std::unique_ptr<std::FILE, FileCloser> file(openFile(path, "rb"));
    if (!file) {
        error = L"No se pudo abrir el archivo de proyecto.";
        return false;
    }
    long size = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        error = L"No se pudo leer el tama\u00f1o del archivo.";
        return false;
    }
    if (size > kMaxProjectBytes) {
        error = kNotAProjectMessage;
        return false;
    }
    std::string text(static_cast<size_t>(size), '\0');
    if (size > 0 && std::fread(text.data(), 1, text.size(), file.get()) != text.size()) {
        error = L"No se pudo leer todo el archivo de proyecto.";
        return false;
    }

    if (text.find(kFormatMark) == std::string::npos) {
        error = kNotAProjectMessage;
        return false;
    }

    BoxParameters loaded;
    readNumberKey(text, "inputWidth", loaded.inputWidth);
    readNumberKey(text, "inputHeight", loaded.inputHeight);
    readNumberKey(text, "inputDepth", loaded.inputDepth);
    readNumberKey(text, "materialThickness", loaded.materialThickness);
    readNumberKey(text, "kerf", loaded.kerf);
    readNumberKey(text, "clearance", loaded.clearance);
    readNumberKey(text, "spacing", loaded.spacing);
    readNumberKey(text, "toolDiameter", loaded.toolDiameter);
    readIntegerKey(text, "fingerCountWidth", loaded.fingerCountWidth);
    readIntegerKey(text, "fingerCountDepth", loaded.fingerCountDepth);
    readIntegerKey(text, "fingerCountHeight", loaded.fingerCountHeight);
    readIntegerKey(text, "widthDividerCount", loaded.widthDividerCount);
    readIntegerKey(text, "depthDividerCount", loaded.depthDividerCount);
    readBooleanKey(text, "includeLid", loaded.includeLid);
    readBooleanKey(text, "addDividerBaseSlots", loaded.addDividerBaseSlots);
    if (const auto mode = readStringKey(text, "dimensionMode"))
        loaded.dimensionMode = *mode == "Internal" ? DimensionMode::Internal : DimensionMode::External;
    if (const auto mode = readStringKey(text, "cutMode"))
        loaded.cutMode = *mode == "CncRouter" ? CutMode::CncRouter : CutMode::Laser;

    try {
        validateParameters(loaded);
    } catch (const std::runtime_error& e) {
        error = withMessage(L"El proyecto contiene parametros invalidos: ", e.what());
        return false;
    }
    result = loaded;
    return true;
}
