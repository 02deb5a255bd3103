#include "cli_outcome.h"

#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/project_file.h"
#include "output/server_request.h"
#include "output/svg_writer.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

CliOutcome run(const std::vector<std::string>& args) { return runCliCapturing(args); }

BoxParameters validated(BoxParameters p) {
    validateParameters(p);
    return p;
}

BoxParameters lidDesign() {
    BoxParameters p;
    p.includeLid = true;
    p.cutMode = CutMode::CncRouter;
    p.inputWidth = 250;
    return p;
}

// Each format on standard output is exactly what its builder makes of the design.
TEST(CliFormats, StandardOutputHoldsTheBuildersText) {
    const PieceSet defaults = generatePieces(BoxParameters{});
    const PieceSet lid = generatePieces(lidDesign());
    const std::vector<std::string> lidArgs = {"--lid", "--cnc", "--width", "250"};
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    auto with = [](std::vector<std::string> base, std::vector<std::string> more) {
        base.insert(base.end(), more.begin(), more.end());
        return base;
    };
    const Case cases[] = {
        {{"--dxf", "-"}, buildDxf(defaults, false)},
        {with(lidArgs, {"--dxf", "-", "--inches"}), buildDxf(lid, true)},
        {with(lidArgs, {"--dxf-closed", "-"}), buildClosedDxf(lid, false)},
        {{"--inches", "--dxf-closed", "-"}, buildClosedDxf(defaults, true)},
        {with(lidArgs, {"--svg", "-"}), buildSvg(lid)},
        {with(lidArgs, {"--server-json", "-"}), buildServerRequestJson(lid)},
        {with(lidArgs, {"--save-project", "-"}), writeProjectJson(validated(lidDesign()))},
    };
    for (const Case& c : cases) {
        const CliOutcome r = run(c.args);
        EXPECT_EQ(r.status, 0) << c.args[0] << r.err;
        EXPECT_EQ(r.out, c.expected) << c.args[0];
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliFormats, ProjectIsTheStartAndOptionsOverrideIt) {
    ScratchFolder folder;
    const std::wstring project = folder.file(L"caja \u00f1.boxproj");
    std::wstring error;
    ASSERT_TRUE(saveProject(project, lidDesign(), error));
    const std::string path = wideToUtf8(project);
    struct Case {
        std::vector<std::string> args;
        std::function<void(BoxParameters&)> change;
    };
    const Case cases[] = {
        {{"--project", path}, [](BoxParameters&) {}},
        {{"--project", path, "--width", "300", "--fingers-depth", "3"},
         [](BoxParameters& p) {
             p.inputWidth = 300;
             p.fingerCountDepth = 3;
         }},
        {{"--depth", "120", "--project", path, "--internal"},
         [](BoxParameters& p) {
             p.inputDepth = 120;
             p.dimensionMode = DimensionMode::Internal;
         }},
    };
    for (const Case& c : cases) {
        BoxParameters expected = lidDesign();
        c.change(expected);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--save-project", "-"});
        const CliOutcome r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, writeProjectJson(validated(expected)));
    }
}

TEST(CliFormats, ProjectFailuresPrintTheSpanishTextAndExit1) {
    ScratchFolder folder;
    writeBytes(folder.path() / "invalid.boxproj", "{\"format\": \"TessaroProject\", \"widthDividerCount\": -1}");
    writeBytes(folder.path() / "other.boxproj", "{}");
    const std::string base = wideToUtf8(widePath(folder.path()));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--project", base + "/missing.boxproj", "--dxf", "-"}, "No se pudo abrir el archivo de proyecto.\n"},
        {{"--project", base + "/invalid.boxproj"},
         "El proyecto contiene parametros invalidos: Las divisiones no pueden ser negativas.\n"},
        {{"--project", base + "/other.boxproj"}, "El archivo no parece ser un proyecto de Tessaro.\n"},
        {{"--save-project", base + "/no folder/x.boxproj"},
         "No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.\n"},
    };
    for (const auto& [args, message] : cases) {
        const CliOutcome r = run(args);
        EXPECT_EQ(r.status, 1) << args[1];
        EXPECT_EQ(r.out, "") << args[1];
        EXPECT_EQ(r.err, message);
    }
}

TEST(CliFormats, SeveralFilesInOneRun) {
    ScratchFolder folder;
    const std::string base = wideToUtf8(widePath(folder.path())) + "/";
    const CliOutcome r = run({"--cnc", "--dxf", base + "plano.dxf", "--dxf-closed", base + "cerrado.dxf", "--svg",
                           base + "plano.svg", "--server-json", base + "pedido.json", "--save-project",
                           base + "caja.boxproj", "--inches"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "") << "no summary when files are written";
    BoxParameters cnc;
    cnc.cutMode = CutMode::CncRouter;
    const PieceSet pieces = generatePieces(cnc);
    EXPECT_EQ(readBytes(folder.path() / "plano.dxf"), buildDxf(pieces, true));
    EXPECT_EQ(readBytes(folder.path() / "cerrado.dxf"), buildClosedDxf(pieces, true));
    EXPECT_EQ(readBytes(folder.path() / "plano.svg"), buildSvg(pieces));
    EXPECT_EQ(readBytes(folder.path() / "pedido.json"), buildServerRequestJson(pieces));
    BoxParameters loaded;
    std::wstring error;
    ASSERT_TRUE(loadProject(widePath(folder.path() / "caja.boxproj"), loaded, error));
    EXPECT_EQ(writeProjectJson(loaded), writeProjectJson(validated(cnc)));
}

}  // namespace
