#include "cli_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ParseCliOptions, EveryOptionReachesItsField) {
    const CliParse none = parseCliOptions({});
    EXPECT_EQ(none.error, "");
    EXPECT_EQ(none.options.parameters.inputWidth, 200);
    EXPECT_FALSE(none.options.piecesPath || none.options.help || none.options.inches);

    const CliParse all = parseCliOptions(
        {"--width", "1", "--width", "210.5", "--height", "80", "--depth", "1e2", "--thickness", "4", "--kerf", "0.2",
         "--clearance", "0", "--spacing", "5", "--tool-diameter", "6.35", "--fingers-width", "5", "--fingers-depth",
         "4", "--fingers-height", "2", "--width-dividers", "3", "--depth-dividers", "1", "--base-slots", "--internal",
         "--lid", "--cnc", "--pieces", "caja ñ.json", "--project", "a.boxproj", "--dxf", "-", "--inches",
         "--dxf-closed", "c.dxf", "--svg", "p.svg", "--server-json", "s.json", "--save-project", "b.boxproj", "--help"});
    ASSERT_EQ(all.error, "");
    const CliOptions& o = all.options;
    const BoxParameters& p = o.parameters;
    EXPECT_EQ(p.inputWidth, 210.5) << "the last value wins";
    EXPECT_EQ(p.inputHeight, 80);
    EXPECT_EQ(p.inputDepth, 100);
    EXPECT_EQ(p.materialThickness, 4);
    EXPECT_EQ(p.kerf, 0.2);
    EXPECT_EQ(p.clearance, 0);
    EXPECT_EQ(p.spacing, 5);
    EXPECT_EQ(p.toolDiameter, 6.35);
    EXPECT_EQ(p.fingerCountWidth, 5);
    EXPECT_EQ(p.fingerCountDepth, 4);
    EXPECT_EQ(p.fingerCountHeight, 2);
    EXPECT_EQ(p.widthDividerCount, 3);
    EXPECT_EQ(p.depthDividerCount, 1);
    EXPECT_TRUE(p.addDividerBaseSlots && p.includeLid && o.inches && o.help);
    EXPECT_EQ(p.dimensionMode, DimensionMode::Internal);
    EXPECT_EQ(p.cutMode, CutMode::CncRouter);
    EXPECT_EQ(o.piecesPath, "caja ñ.json");
    EXPECT_EQ(o.projectPath, "a.boxproj");
    EXPECT_EQ(o.dxfPath, "-");
    EXPECT_EQ(o.closedDxfPath, "c.dxf");
    EXPECT_EQ(o.svgPath, "p.svg");
    EXPECT_EQ(o.serverJsonPath, "s.json");
    EXPECT_EQ(o.saveProjectPath, "b.boxproj");
    // Negative values are the model's to refuse, with its own message.
    EXPECT_EQ(parseCliOptions({"--width", "-5"}).options.parameters.inputWidth, -5);
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
