// tessaro-cli in process and as its own process: options, exit status, streams, starting projects and
// files that cannot be written.
#include "cli_options.h"
#include "cli_run.h"
#include "output/project_file.h"
#include "piece_report.h"
#include "support/files.h"
#include "support/seams.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

// The exit status a script sees from the program itself (no argument here holds a quote).
int processStatus(const std::vector<std::string>& args) {
    std::string command = "'" TESSARO_CLI "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliOptions, EveryOptionReachesItsFieldAndBadOnesSayWhy) {
    const CliParse all = parseCliOptions(
        {"--width", "1", "--width", "210.5", "--height", "80", "--depth", "1e2", "--thickness", "4", "--kerf", "0.2",
         "--clearance", "0", "--spacing", "5", "--tool-diameter", "6.35", "--fingers-width", "5", "--fingers-depth",
         "4", "--fingers-height", "2", "--width-dividers", "3", "--depth-dividers", "1", "--base-slots", "--internal",
         "--lid", "--cnc", "--pieces", "caja \xc3\xb1.json", "--project", "a.boxproj", "--dxf", "-", "--inches",
         "--dxf-closed", "c.dxf", "--svg", "p.svg", "--server-json", "s.json", "--save-project", "b.boxproj",
         "--sheet", "12x24.5", "--margin", "2", "--no-turn", "--help"});
    ASSERT_EQ(all.error, "");
    const CliOptions& o = all.options;
    const BoxParameters expected{
        .inputWidth = 210.5, .inputHeight = 80, .inputDepth = 100, .dimensionMode = DimensionMode::Internal,
        .materialThickness = 4, .fingerCountWidth = 5, .fingerCountDepth = 4, .fingerCountHeight = 2, .kerf = 0.2,
        .clearance = 0, .spacing = 5, .includeLid = true, .cutMode = CutMode::CncRouter, .toolDiameter = 6.35,
        .widthDividerCount = 3, .depthDividerCount = 1, .addDividerBaseSlots = true, .sheetSize = {12, 24.5},
        .sheetMargin = 2, .turnPieces = false};
    EXPECT_EQ(writeProjectJson(o.parameters), writeProjectJson(expected));
    EXPECT_TRUE(o.inches);
    EXPECT_TRUE(o.help);
    const std::vector<std::optional<std::string>> paths = {o.piecesPath, o.projectPath, o.dxfPath, o.closedDxfPath,
                                                           o.svgPath, o.serverJsonPath, o.saveProjectPath};
    const std::vector<std::optional<std::string>> named = {"caja \xc3\xb1.json", "a.boxproj", "-", "c.dxf",
                                                           "p.svg", "s.json", "b.boxproj"};
    EXPECT_EQ(paths, named);

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
        {{"--sheet", "600"}, "--sheet: '600' is not a sheet size (WxH in mm, a4 or a3)"},
        {{"--sheet", "a5"}, "--sheet: 'a5' is not a sheet size (WxH in mm, a4 or a3)"},
    };
    EXPECT_EQ(parseCliOptions({"--sheet", "A3"}).options.parameters.sheetSize, (SheetSize{420, 297}));
    for (const auto& [args, error] : refused) EXPECT_EQ(parseCliOptions(args).error, error);
    // --help shows each option's value in a column beside its help, a switch without one.
    EXPECT_NE(cliUsage().find("\n  --fingers-width N     fingers along the width\n"), std::string::npos);
    EXPECT_NE(cliUsage().find("\n  --lid                 add a lid\n"), std::string::npos);
}

// Each outcome in process, and its exit status from the program itself.
TEST(CliRun, ExitStatusStreamsProjectsAndFiles) {
    ScratchFolder folder;
    const std::string base = wideToUtf8(widePath(folder.path())) + "/";
    std::wstring error;
    ASSERT_TRUE(saveProject(folder.file(L"tapa.boxproj"), {.inputWidth = 250, .includeLid = true}, error));
    writeBytes(folder.file(L"mala.boxproj"), R"({"format": "TessaroProject", "widthDividerCount": -1})");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // the start of standard output
        std::string err;  // exact; "*" for the usage text after a reason
    } cases[] = {
        {{}, 0, "5 pieces, plan 424 x 374 mm: Atras, Lateral izquierdo, Base, Lateral derecho, Frente\n", ""},
        {{"--width-dividers", "2", "--width", "200.0004"}, 0,
         "7 pieces, plan 580 x 374 mm: Atras, Lateral izquierdo, Base, Lateral derecho, Frente, 2 x Divisor ancho\n",
         ""},
        {{"--help", "--width", "-5"}, 0, "Usage: tessaro-cli", ""},
        {{"--width", "-5"}, 1, "", "El ancho debe ser mayor a 0 mm.\n"},
        {{"--bogus"}, 2, "", "*"},
        {{"--width", "x", "--pieces", "-"}, 2, "", "*"},
        // The project is the starting design; the options given win over it.
        {{"--project", base + "tapa.boxproj", "--width", "260"}, 0,
         "6 pieces, plan 756 x 374 mm: Atras, Lateral izquierdo, Base, Lateral derecho, Frente, Tapa\n", ""},
        {{"--project", base + "mala.boxproj", "--lid"}, 1, "",
         "El proyecto contiene parametros invalidos: Las divisiones no pueden ser negativas.\n"},
        {{"--pieces", base + "sin carpeta/p.json"}, 1, "",
         "tessaro-cli: cannot write " + base + "sin carpeta/p.json\n"},
        {{"--save-project", base + "sin carpeta/p.boxproj"}, 1, "",
         "No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(processStatus(c.args), c.status) << r.err;
        EXPECT_TRUE(c.out.empty() ? r.out.empty() : r.out.starts_with(c.out)) << r.out;
        if (c.err != "*") {
            EXPECT_EQ(r.err, c.err);
            continue;
        }
        EXPECT_TRUE(r.err.starts_with("tessaro-cli: ")) << r.err;
        EXPECT_NE(r.err.find("\n\nUsage: tessaro-cli"), std::string::npos) << r.err;
    }
    EXPECT_EQ(run({"--save-project", "-"}).out, writeProjectJson(BoxParameters{}));

    // A write that fails half way leaves the file it was to replace, and nothing beside it.
    writeBytes(folder.file(L"plano.dxf"), "previous plan");
    setWriteFault(4);
    EXPECT_EQ(run({"--dxf", base + "plano.dxf"}).status, 1);
    clearWriteFault();
    EXPECT_EQ(readBytes(folder.file(L"plano.dxf")), "previous plan");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3);

    // Sheets: a file per sheet after the chosen name; one sheet keeps the name and may go to standard
    // output, several may not; the pieces and the summary say where each piece lies.
    const std::vector<std::string> sheets = {"--sheet", "300x200", "--width-dividers", "2"};
    const auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), sheets.begin(), sheets.end());
        return more;
    };
    const Outcome summary = run(sheets);
    EXPECT_TRUE(summary.out.starts_with("7 pieces on 5 sheets of 300 x 200 mm, 46% used: Atras, ")) << summary.out;
    EXPECT_EQ(run(with({"--dxf", base + "hojas.dxf", "--svg", base + "hojas.svg"})).status, 0);
    for (const char* name : {"hojas-1.dxf", "hojas-5.dxf", "hojas-1.svg", "hojas-5.svg"})
        EXPECT_TRUE(std::filesystem::exists(folder.path() / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "hojas.dxf"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "hojas-6.dxf"));
    const Outcome streamed = run(with({"--svg", "-"}));
    EXPECT_EQ(streamed.status, 2);
    EXPECT_EQ(streamed.out, "");
    EXPECT_EQ(streamed.err, "tessaro-cli: --svg -: the pieces lie on 5 sheets, a file each; give a file name\n");
    EXPECT_EQ(processStatus(with({"--svg", "-"})), 2);
    const Outcome one = run({"--sheet", "a3", "--width", "100", "--svg", "-"});
    EXPECT_EQ(one.status, 0);
    EXPECT_NE(one.out.find("width=\"420mm\" height=\"297mm\" viewBox=\"0 0 420 297\""), std::string::npos);
    const Outcome refused = run({"--sheet", "150x150", "--dxf", base + "nada.dxf"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "La pieza Base (200 x 150 mm) no cabe en la hoja (140 x 140 mm utiles).\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "nada.dxf"));
    const std::string listed = run(with({"--no-turn", "--pieces", "-"})).out;
    EXPECT_NE(listed.find("{\"name\": \"Base\", \"sheet\": 1, \"turned\": false, \"x\": 5, \"y\": 5,"),
              std::string::npos) << listed;
    EXPECT_EQ(listed.find("\"turned\": true"), std::string::npos) << "--no-turn keeps every piece as planned";

    Piece piece;
    piece.name = L"Divisor \"a\\b\"\n\u00e1";
    piece.x = 97.0 / 3;
    piece.y = -0.5;
    const std::string escaped =
        "\"name\": \"Divisor \\\"a\\\\b\\\"\\n\xc3\xa1\", \"x\": 32.333333333333336, \"y\": -0.5";
    EXPECT_NE(piecesJson({piece}).find(escaped), std::string::npos);
}

}  // namespace
