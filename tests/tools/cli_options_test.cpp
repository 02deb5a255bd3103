#include "cli_options.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

TEST(ParseCliOptions, EveryOptionReachesItsField) {
    struct Case {
        std::vector<std::string> args;
        std::function<bool(const CliOptions&)> holds;
    };
    const Case cases[] = {
        {{}, [](const CliOptions& o) { return o.parameters.inputWidth == 200 && !o.piecesPath && !o.help; }},
        {{"--width", "210.5"}, [](const CliOptions& o) { return o.parameters.inputWidth == 210.5; }},
        {{"--height", "80"}, [](const CliOptions& o) { return o.parameters.inputHeight == 80; }},
        {{"--depth", "1e2"}, [](const CliOptions& o) { return o.parameters.inputDepth == 100; }},
        {{"--thickness", "4"}, [](const CliOptions& o) { return o.parameters.materialThickness == 4; }},
        {{"--kerf", "0.2"}, [](const CliOptions& o) { return o.parameters.kerf == 0.2; }},
        {{"--clearance", "0"}, [](const CliOptions& o) { return o.parameters.clearance == 0; }},
        {{"--spacing", "5"}, [](const CliOptions& o) { return o.parameters.spacing == 5; }},
        {{"--tool-diameter", "6.35"}, [](const CliOptions& o) { return o.parameters.toolDiameter == 6.35; }},
        {{"--fingers-width", "5"}, [](const CliOptions& o) { return o.parameters.fingerCountWidth == 5; }},
        {{"--fingers-depth", "4"}, [](const CliOptions& o) { return o.parameters.fingerCountDepth == 4; }},
        {{"--fingers-height", "2"}, [](const CliOptions& o) { return o.parameters.fingerCountHeight == 2; }},
        {{"--width-dividers", "3"}, [](const CliOptions& o) { return o.parameters.widthDividerCount == 3; }},
        {{"--depth-dividers", "1"}, [](const CliOptions& o) { return o.parameters.depthDividerCount == 1; }},
        {{"--base-slots"}, [](const CliOptions& o) { return o.parameters.addDividerBaseSlots; }},
        {{"--internal"}, [](const CliOptions& o) { return o.parameters.dimensionMode == DimensionMode::Internal; }},
        {{"--lid"}, [](const CliOptions& o) { return o.parameters.includeLid; }},
        {{"--cnc"}, [](const CliOptions& o) { return o.parameters.cutMode == CutMode::CncRouter; }},
        {{"--pieces", "-"}, [](const CliOptions& o) { return o.piecesPath == "-"; }},
        {{"--pieces", "caja ñ.json"}, [](const CliOptions& o) { return o.piecesPath == "caja ñ.json"; }},
        {{"--project", "a.boxproj"}, [](const CliOptions& o) { return o.projectPath == "a.boxproj"; }},
        {{"--dxf", "-", "--inches"}, [](const CliOptions& o) { return o.dxfPath == "-" && o.inches; }},
        {{"--dxf-closed", "c.dxf"}, [](const CliOptions& o) { return o.closedDxfPath == "c.dxf" && !o.inches; }},
        {{"--svg", "p.svg"}, [](const CliOptions& o) { return o.svgPath == "p.svg"; }},
        {{"--server-json", "-"}, [](const CliOptions& o) { return o.serverJsonPath == "-"; }},
        {{"--save-project", "b.boxproj"}, [](const CliOptions& o) { return o.saveProjectPath == "b.boxproj"; }},
        {{"--help"}, [](const CliOptions& o) { return o.help; }},
        // Negative values are the model's to refuse, with its own message.
        {{"--width", "-5"}, [](const CliOptions& o) { return o.parameters.inputWidth == -5; }},
        {{"--width", "1", "--width", "2"}, [](const CliOptions& o) { return o.parameters.inputWidth == 2; }},
    };
    for (const Case& c : cases) {
        const CliParse parsed = parseCliOptions(c.args);
        const std::string line = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(parsed.error, "") << line;
        EXPECT_TRUE(c.holds(parsed.options)) << line;
    }
}

TEST(ParseCliOptions, UnusableCommandLinesSayWhy) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"--colour", "red"}, "unknown option --colour"},
        {{"-w"}, "unknown option -w"},
        {{"box.json"}, "unexpected argument box.json"},
        {{"--width"}, "--width needs a value"},
        {{"--pieces", "--lid"}, "--pieces needs a value"},
        {{"--width", "abc"}, "--width: 'abc' is not a number"},
        {{"--width", "12mm"}, "--width: '12mm' is not a number"},
        {{"--width", "12,5"}, "--width: '12,5' is not a number"},
        {{"--width", "nan"}, "--width: 'nan' is not a number"},
        {{"--height", "inf"}, "--height: 'inf' is not a number"},
        {{"--width", ""}, "--width: '' is not a number"},
        {{"--fingers-width", "2.5"}, "--fingers-width: '2.5' is not a whole number"},
        {{"--fingers-height", "3.0"}, "--fingers-height: '3.0' is not a whole number"},
        {{"--width-dividers", "99999999999"}, "--width-dividers: '99999999999' is not a whole number"},
        {{"--pieces", ""}, "--pieces: '' is not a file name"},
    };
    for (const Case& c : cases) EXPECT_EQ(parseCliOptions(c.args).error, c.error) << c.args[0];
}

TEST(CliUsage, ListsEveryOption) {
    const std::string usage = cliUsage();
    for (const char* name : {"--width N", "--height N", "--depth N", "--thickness N", "--kerf N", "--clearance N",
                             "--spacing N", "--tool-diameter N", "--fingers-width N", "--fingers-depth N",
                             "--fingers-height N", "--width-dividers N", "--depth-dividers N", "--base-slots",
                             "--internal", "--lid", "--cnc", "--project FILE", "--pieces FILE", "--dxf FILE",
                             "--dxf-closed FILE", "--inches", "--svg FILE", "--server-json FILE",
                             "--save-project FILE", "--help"})
        EXPECT_NE(usage.find(name), std::string::npos) << name;
}

}  // namespace
