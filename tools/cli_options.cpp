#include "cli_options.h"

#include "model/design_options.h"
#include "settings/sheet_size_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// Applies an option's value; false when the value is not acceptable for it.
using Apply = bool (*)(CliOptions&, std::string_view);

struct OptionEntry {
    std::string_view name;
    std::string_view value;  // placeholder in the usage text; empty for a switch
    Apply apply;
    std::string_view help;
    std::string_view valueProblem;  // said when apply refuses the value
};

bool readNumber(std::string_view text, double& out) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return false;
    out = value;
    return true;
}

bool readCount(std::string_view text, int32_t& out) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    out = value;
    return true;
}

bool setInches(CliOptions& options, std::string_view) {
    options.inches = true;
    return true;
}

bool setHelp(CliOptions& options, std::string_view) {
    options.help = true;
    return true;
}

template <std::optional<std::string> CliOptions::*Field>
bool setFile(CliOptions& options, std::string_view value) {
    if (value.empty()) return false;
    options.*Field = std::string(value);
    return true;
}

constexpr std::string_view kNotANumber = "is not a number";
constexpr std::string_view kNotWhole = "is not a whole number";
constexpr std::string_view kNoFile = "is not a file name";
constexpr std::string_view kNotASize = "is not a sheet size (WxH in mm, a4 or a3)";

// The options that are not design options, after them in the usage text.
constexpr OptionEntry kOptions[] = {
    {"--project", "FILE", setFile<&CliOptions::projectPath>, "start from a .boxproj design; other options override it",
     kNoFile},
    {"--pieces", "FILE", setFile<&CliOptions::piecesPath>, "write the pieces as JSON (- for standard output)",
     kNoFile},
    {"--dxf", "FILE", setFile<&CliOptions::dxfPath>, "write the cut plan as DXF lines and arcs", kNoFile},
    {"--dxf-closed", "FILE", setFile<&CliOptions::closedDxfPath>, "write the cut plan as DXF, one closed polyline a piece",
     kNoFile},
    {"--inches", "", setInches, "write the DXF files in inches", ""},
    {"--svg", "FILE", setFile<&CliOptions::svgPath>, "write the cut plan as SVG (mm)", kNoFile},
    {"--server-json", "FILE", setFile<&CliOptions::serverJsonPath>, "write the DXF server's request body", kNoFile},
    {"--save-project", "FILE", setFile<&CliOptions::saveProjectPath>, "write the design as a .boxproj", kNoFile},
    {"--fit-test", "FILE", setFile<&CliOptions::fitTestPath>,
     "write a joint fit test for this material (SVG for a .svg name, else DXF lines and arcs)", kNoFile},
    {"--help", "", setHelp, "show this text", ""},
};

// A design option's entry: a length, a count or a size takes a value, a flag or a choice is a
// switch that sets it opposite to its default.
struct DesignEntry {
    const DesignOption* option;
    OptionEntry entry;
};

bool takesValue(const DesignOption& option) {
    return option.kind == OptionKind::Length || option.kind == OptionKind::Count || option.kind == OptionKind::Size;
}

std::string_view valueProblem(const DesignOption& option) {
    if (option.kind == OptionKind::Length) return kNotANumber;
    return option.kind == OptionKind::Size ? kNotASize : kNotWhole;
}

std::vector<DesignEntry> designEntries() {
    std::vector<DesignEntry> entries;
    for (const DesignOption& option : designOptions()) {
        const bool valued = takesValue(option);
        const std::string_view placeholder = option.kind == OptionKind::Size ? "WxH" : "N";
        entries.push_back(
            {&option, {option.cliFlag, valued ? placeholder : "", nullptr, option.cliHelp, valued ? valueProblem(option) : ""}});
    }
    std::sort(entries.begin(), entries.end(),
              [](const DesignEntry& a, const DesignEntry& b) { return a.option->cliPlace < b.option->cliPlace; });
    return entries;
}

bool applyDesignOption(CliOptions& options, const DesignOption& option, std::string_view text) {
    if (option.kind == OptionKind::Size) {
        const auto size = parseSheetSize(std::wstring(text.begin(), text.end()), false);
        if (!size) return false;
        option.access.set(options.parameters, size->width);
        option.second.set(options.parameters, size->height);
        return true;
    }
    double value = option.access.get(BoxParameters{}) != 0 ? 0 : 1;
    if (option.kind == OptionKind::Length && !readNumber(text, value)) return false;
    if (option.kind == OptionKind::Count) {
        int32_t count = 0;
        if (!readCount(text, count)) return false;
        value = count;
    }
    option.access.set(options.parameters, value);
    return true;
}

// The entry of an option name, and its design option when it is one; both null when it is unknown.
std::pair<const OptionEntry*, const DesignOption*> findOption(std::string_view name) {
    static const std::vector<DesignEntry> design = designEntries();
    for (const DesignEntry& known : design)
        if (known.entry.name == name) return {&known.entry, known.option};
    for (const OptionEntry& option : kOptions)
        if (option.name == name) return {&option, nullptr};
    return {nullptr, nullptr};
}

// A following option is not taken as a value, so "--pieces --lid" is a missing file name.
bool looksLikeOption(std::string_view text) { return text.size() > 2 && text.substr(0, 2) == "--"; }

}  // namespace

CliParse parseCliOptions(const std::vector<std::string>& args, const BoxParameters& start) {
    CliParse result;
    result.options.parameters = start;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto [option, designOption] = findOption(arg);
        if (!option) {
            result.error = looksLikeOption(arg) || arg.rfind('-', 0) == 0 ? "unknown option " + arg
                                                                          : "unexpected argument " + arg;
            return result;
        }
        std::string_view value;
        if (!option->value.empty()) {
            if (i + 1 >= args.size() || looksLikeOption(args[i + 1])) {
                result.error = arg + " needs a value";
                return result;
            }
            value = args[++i];
        }
        const bool applied = designOption ? applyDesignOption(result.options, *designOption, value)
                                          : option->apply(result.options, value);
        if (!applied) {
            result.error = arg + ": '" + std::string(value) + "' " + std::string(option->valueProblem);
            return result;
        }
    }
    return result;
}

std::string cliUsage() {
    std::string text = "Usage: tessaro-cli [options]\n"
                       "Generates the pieces of a finger-jointed box; without an output option prints a summary.\n";
    std::vector<OptionEntry> listed;
    for (const DesignEntry& design : designEntries()) listed.push_back(design.entry);
    listed.insert(listed.end(), std::begin(kOptions), std::end(kOptions));
    for (const OptionEntry& option : listed) {
        std::string left = "  ";
        left.append(option.name);
        if (!option.value.empty()) left.append(" ").append(option.value);
        left.resize(std::max<size_t>(left.size() + 1, 24), ' ');
        text.append(left).append(option.help).append("\n");
    }
    text += "Exit status: 0 done, 1 design refused or output not written, 2 usage error.\n";
    return text;
}
