// tessaro-cli in process and as its own process: options, exit status, streams and every format.
#include "cli_options.h"
#include "cli_run.h"
#include "output/project_file.h"
#include "piece_report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CliOptions, EveryOptionReachesItsFieldAndBadOnesSayWhy) {
    const CliParse all = parseCliOptions(
        {"--width", "1", "--width", "210.5", "--height", "80", "--depth", "1e2", "--thickness", "4", "--kerf", "0.2",
         "--clearance", "0", "--spacing", "5", "--tool-diameter", "6.35", "--fingers-width", "5", "--fingers-depth",
         "4", "--fingers-height", "2", "--width-dividers", "3", "--depth-dividers", "1", "--base-slots", "--internal",
         "--lid", "--cnc", "--pieces", "caja \xc3\xb1.json", "--project", "a.boxproj", "--dxf", "-", "--inches",
         "--dxf-closed", "c.dxf", "--svg", "p.svg", "--server-json", "s.json", "--save-project", "b.boxproj", "--help"});
    ASSERT_EQ(all.error, "");
    const CliOptions& o = all.options;
    const BoxParameters expected{
        .inputWidth = 210.5, .inputHeight = 80, .inputDepth = 100, .dimensionMode = DimensionMode::Internal,
        .materialThickness = 4, .fingerCountWidth = 5, .fingerCountDepth = 4, .fingerCountHeight = 2, .kerf = 0.2,
        .clearance = 0, .spacing = 5, .includeLid = true, .cutMode = CutMode::CncRouter, .toolDiameter = 6.35,
        .widthDividerCount = 3, .depthDividerCount = 1, .addDividerBaseSlots = true};
    EXPECT_EQ(writeProjectJson(o.parameters), writeProjectJson(expected));
    EXPECT_TRUE(o.inches && o.help);
    EXPECT_TRUE(o.piecesPath == "caja \xc3\xb1.json" && o.projectPath == "a.boxproj" && o.dxfPath == "-" &&
                o.closedDxfPath == "c.dxf" && o.svgPath == "p.svg" && o.serverJsonPath == "s.json" &&
                o.saveProjectPath == "b.boxproj");

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--colour", "red"}, "unknown option --colour"},
        {{"box.json"}, "unexpected argument box.json"},
        {{"--width"}, "--width needs a value"},
        {{"--pieces", "--lid"}, "--pieces needs a value"},
        {{"--width", "12,5"}, "--width: '12,5' is not a number"},
        {{"--height", "inf"}, "--height: 'inf' is not a number"},
        {{"--fingers-height", "3.0"}, "--fingers-height: '3.0' is not a whole number"},
        {{"--width-dividers", "99999999999"}, "--width-dividers: '99999999999' is not a whole number"},
        {{"--pieces", ""}, "--pieces: '' is not a file name"},
    };
    for (const auto& [args, error] : refused) EXPECT_EQ(parseCliOptions(args).error, error);
    // --help shows each option's value in a column beside its help, a switch without one.
    for (const char* line : {"\n  --fingers-width N     fingers along the width\n", "\n  --lid                 add a lid\n"})
        EXPECT_NE(cliUsage().find(line), std::string::npos) << line;
}

TEST(CliRun, ExitStatusStreamsAndSummary) {
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // the start of standard output
        std::string err;  // exact; "*" for the usage text after a reason
    } cases[] = {
        {{}, 0, "5 pieces, plan 424 x 374 mm: Atras, Lateral izquierdo, Base, Lateral derecho, Frente\n", ""},
        {{"--width-dividers", "2", "--width", "200.0004"}, 0,
         "7 pieces, plan 580 x 374 mm: Atras, Lateral izquierdo, Base, Lateral derecho, Frente, 2 x Divisor ancho\n", ""},
        {{"--help", "--width", "-5"}, 0, "Usage: tessaro-cli", ""},
        {{"--width", "-5"}, 1, "", "El ancho debe ser mayor a 0 mm.\n"},
        {{"--bogus"}, 2, "", "*"},
        {{"--width", "x", "--pieces", "-"}, 2, "", "*"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_TRUE(c.out.empty() ? r.out.empty() : r.out.starts_with(c.out)) << r.out;
        EXPECT_TRUE(c.err == "*" ? r.err.starts_with("tessaro-cli: ") && r.err.find("\n\nUsage: tessaro-cli") != std::string::npos
                                 : r.err == c.err) << r.err;
    }
    EXPECT_EQ(run({"--save-project", "-"}).out, writeProjectJson(BoxParameters{}));
    Piece piece;
    piece.name = L"Divisor \"a\\b\"\n\u00e1", piece.x = 97.0 / 3, piece.y = -0.5;
    EXPECT_NE(piecesJson({piece}).find("\"name\": \"Divisor \\\"a\\\\b\\\"\\n\xc3\xa1\", \"x\": 32.333333333333336, \"y\": -0.5"),
              std::string::npos);
}

}  // namespace
