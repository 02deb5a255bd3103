#include "cli_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

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

template <double BoxParameters::*Field>
bool setNumber(CliOptions& options, std::string_view value) {
    return readNumber(value, options.parameters.*Field);
}

template <int32_t BoxParameters::*Field>
bool setCount(CliOptions& options, std::string_view value) {
    return readCount(value, options.parameters.*Field);
}

template <bool BoxParameters::*Field>
bool setSwitch(CliOptions& options, std::string_view) {
    options.parameters.*Field = true;
    return true;
}

bool setInternal(CliOptions& options, std::string_view) {
    options.parameters.dimensionMode = DimensionMode::Internal;
    return true;
}

bool setRouter(CliOptions& options, std::string_view) {
    options.parameters.cutMode = CutMode::CncRouter;
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

constexpr OptionEntry kOptions[] = {
    {"--width", "N", setNumber<&BoxParameters::inputWidth>, "box width, mm (outer unless --internal)", kNotANumber},
    {"--height", "N", setNumber<&BoxParameters::inputHeight>, "box height, mm", kNotANumber},
    {"--depth", "N", setNumber<&BoxParameters::inputDepth>, "box depth, mm", kNotANumber},
    {"--thickness", "N", setNumber<&BoxParameters::materialThickness>, "sheet thickness, mm", kNotANumber},
    {"--kerf", "N", setNumber<&BoxParameters::kerf>, "beam width, mm", kNotANumber},
    {"--clearance", "N", setNumber<&BoxParameters::clearance>, "extra notch depth and slot width, mm", kNotANumber},
    {"--spacing", "N", setNumber<&BoxParameters::spacing>, "gap between pieces on the plan, mm", kNotANumber},
    {"--tool-diameter", "N", setNumber<&BoxParameters::toolDiameter>, "router bit diameter, mm", kNotANumber},
    {"--fingers-width", "N", setCount<&BoxParameters::fingerCountWidth>, "fingers along the width", kNotWhole},
    {"--fingers-depth", "N", setCount<&BoxParameters::fingerCountDepth>, "fingers along the depth", kNotWhole},
    {"--fingers-height", "N", setCount<&BoxParameters::fingerCountHeight>, "fingers up each corner", kNotWhole},
    {"--width-dividers", "N", setCount<&BoxParameters::widthDividerCount>, "dividers splitting the width", kNotWhole},
    {"--depth-dividers", "N", setCount<&BoxParameters::depthDividerCount>, "dividers splitting the depth", kNotWhole},
    {"--base-slots", "", setSwitch<&BoxParameters::addDividerBaseSlots>, "cut a slot in the base under each divider",
     ""},
    {"--internal", "", setInternal, "width, height and depth are inside measures", ""},
    {"--lid", "", setSwitch<&BoxParameters::includeLid>, "add a lid", ""},
    {"--cnc", "", setRouter, "cut with a router: dogbones in every inside corner", ""},
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
    {"--help", "", setHelp, "show this text", ""},
};

const OptionEntry* findOption(std::string_view name) {
    for (const OptionEntry& option : kOptions)
        if (option.name == name) return &option;
    return nullptr;
}

// A following option is not taken as a value, so "--pieces --lid" is a missing file name.
bool looksLikeOption(std::string_view text) { return text.size() > 2 && text.substr(0, 2) == "--"; }

}  // namespace

CliParse parseCliOptions(const std::vector<std::string>& args, const BoxParameters& start) {
    CliParse result;
    result.options.parameters = start;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const OptionEntry* option = findOption(arg);
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
        if (!option->apply(result.options, value)) {
            result.error = arg + ": '" + std::string(value) + "' " + std::string(option->valueProblem);
            return result;
        }
    }
    return result;
}

std::string cliUsage() {
    std::string text = "Usage: tessaro-cli [options]\n"
                       "Generates the pieces of a finger-jointed box; without an output option prints a summary.\n";
    for (const OptionEntry& option : kOptions) {
        std::string left = "  ";
        left.append(option.name);
        if (!option.value.empty()) left.append(" ").append(option.value);
        left.resize(std::max<size_t>(left.size() + 1, 24), ' ');
        text.append(left).append(option.help).append("\n");
    }
    text += "Exit status: 0 done, 1 design refused or output not written, 2 usage error.\n";
    return text;
}
