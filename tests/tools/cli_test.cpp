// tessaro-cli in process and as its own process: options, exit status, streams and every format.
#include "cli_options.h"
#include "cli_run.h"
#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/project_file.h"
#include "output/server_request.h"
#include "output/svg_writer.h"
#include "piece_report.h"
#include "support/files.h"

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
    BoxParameters expected;
    expected.inputWidth = 210.5, expected.inputHeight = 80, expected.inputDepth = 100, expected.materialThickness = 4;
    expected.kerf = 0.2, expected.clearance = 0, expected.spacing = 5, expected.toolDiameter = 6.35;
    expected.fingerCountWidth = 5, expected.fingerCountDepth = 4, expected.fingerCountHeight = 2;
    expected.widthDividerCount = 3, expected.depthDividerCount = 1, expected.addDividerBaseSlots = true;
    expected.dimensionMode = DimensionMode::Internal, expected.includeLid = true, expected.cutMode = CutMode::CncRouter;
    EXPECT_EQ(writeProjectJson(o.parameters), writeProjectJson(expected));
    EXPECT_TRUE(o.inches && o.help);
    EXPECT_TRUE(o.piecesPath == "caja \xc3\xb1.json" && o.projectPath == "a.boxproj" && o.dxfPath == "-" &&
                o.closedDxfPath == "c.dxf" && o.svgPath == "p.svg" && o.serverJsonPath == "s.json" &&
                o.saveProjectPath == "b.boxproj");

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--colour", "red"}, "unknown option --colour"},
        {{"-w"}, "unknown option -w"},
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

TEST(CliRun, FilesHoldTheBuildersBytesOverAStartingProject) {
    ScratchFolder folder;
    const std::string base = wideToUtf8(widePath(folder.path())) + "/";
    BoxParameters start;
    start.includeLid = true, start.inputWidth = 250;
    std::wstring error;
    ASSERT_TRUE(saveProject(folder.file(L"caja \u00f1.boxproj"), start, error));
    const Outcome r = run({"--cnc", "--project", base + "caja \xc3\xb1.boxproj", "--width", "260", "--inches", "--dxf",
                           base + "plano.dxf", "--dxf-closed", base + "cerrado.dxf", "--svg", base + "plano.svg",
                           "--server-json", base + "pedido.json", "--save-project", base + "copia.boxproj",
                           "--pieces", base + "piezas.json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "") << "no summary when files are written";
    BoxParameters expected = start;
    expected.inputWidth = 260, expected.cutMode = CutMode::CncRouter;
    validateParameters(expected);
    const PieceSet pieces = generatePieces(expected);
    const std::pair<const wchar_t*, std::string> files[] = {
        {L"plano.dxf", buildDxf(pieces, true)}, {L"cerrado.dxf", buildClosedDxf(pieces, true)},
        {L"plano.svg", buildSvg(pieces)}, {L"pedido.json", buildServerRequestJson(pieces)},
        {L"copia.boxproj", writeProjectJson(expected)}, {L"piezas.json", piecesJson(pieces)}};
    for (const auto& [name, bytes] : files) EXPECT_EQ(readBytes(folder.file(name)), bytes) << wideToUtf8(name);
    EXPECT_EQ(run({"--project", base + "caja \xc3\xb1.boxproj", "--cnc", "--width", "260", "--svg", "-"}).out,
              buildSvg(pieces));

    // The project file's own refusals are its tests'; here, that they reach standard error.
    const std::pair<std::vector<std::string>, std::string> failures[] = {
        {{"--project", base + "missing.boxproj", "--dxf", "-"}, "No se pudo abrir el archivo de proyecto.\n"},
        {{"--save-project", base + "no folder/x.boxproj"},
         "No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.\n"},
        {{"--pieces", base + "no folder/x.json", "--dxf", base + "a", "--dxf-closed", base + "b", "--svg", base + "c",
          "--server-json", base + "d", "--save-project", base + "e"},
         "tessaro-cli: cannot write " + base + "no folder/x.json\n"},
    };
    for (const auto& [args, message] : failures) {
        const Outcome failed = run(args);
        EXPECT_TRUE(failed.status == 1 && failed.out.empty()) << failed.status;
        EXPECT_EQ(failed.err, message);
    }
}

TEST(CliProcess, ScriptsSeeTheExitStatusAndStandardOutput) {
    const std::string cli = "'" TESSARO_CLI "' ";
    EXPECT_EQ(commandOutput(cli + "--thickness 0"), "El espesor debe ser mayor a 0 mm.\nexit 1\n");
    EXPECT_TRUE(commandOutput(cli + "--fingers-depth 2.5").ends_with("exit 2\n"));
    BoxParameters lid;
    lid.includeLid = true;
    EXPECT_EQ(commandOutput(cli + "--lid --server-json -"), buildServerRequestJson(generatePieces(lid)) + "exit 0\n");
}

}  // namespace
