// The cut files (the exact DXF frame and entity text, number formats whatever the locale, SVG
// names) and the project file.
#include "output/cut_files.h"
#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/fit_test.h"
#include "output/project_file.h"
#include "output/server_request.h"
#include "output/svg_writer.h"
#include "support/files.h"
#include "support/path_segments.h"
#include "support/random_designs.h"
#include "support/sample_designs.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

std::string pairs(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text.append(line).push_back('\n');
    return text;
}

TEST(CutFiles, DxfFrameAndEntitiesByteForByte) {
    const std::string empty = readBytes(utf8ToWide(TESSARO_SOURCE_DIR "/tests/output/empty_mm.dxf"));
    const std::string kEnd = pairs({"0", "ENDSEC", "0", "EOF"});
    const std::string preamble = empty.substr(0, empty.size() - kEnd.size());
    ASSERT_TRUE(empty.ends_with(kEnd));
    EXPECT_EQ(buildDxf({}, false), empty);
    std::string inches = empty;
    inches.replace(inches.find("$INSUNITS\n70\n4\n"), 15, "$INSUNITS\n70\n1\n");
    inches.replace(inches.find("- mm"), 4, "- in");
    EXPECT_EQ(buildDxf({}, true), inches);

    // Placed lines in path order; a clockwise arc is written from its end angle; the layers follow
    // the piece and the segment's kind.
    Piece divider = bulgedPiece(L"Divisor ancho", 10, 20, false);
    divider.kind = PieceKind::Divider;
    divider.path.resize(2);
    EXPECT_EQ(buildDxf({divider}, false),
              preamble + pairs({"0", "LINE", "8", "DIVIDERS", "10", "10", "20", "20", "30", "0", "11", "14", "21",
                                "20", "31", "0", "0", "ARC", "8", "DOGBONES", "10", "14", "20", "21", "30", "0",
                                "40", "1", "50", "90", "51", "270"}) + kEnd);

    Piece slot = bulgedPiece(L"Ranura base ancho", 0.0004, 100.1234, false);
    slot.kind = PieceKind::BaseCutout;
    slot.path.resize(2);
    EXPECT_EQ(buildServerRequestJson({slot}),
              R"({"version":"1.0","sourceApp":"Tessaro","jobName":"tessaro_export","units":"mm",)"
              R"("dxfMode":"R12Entities","entities":[)"
              R"({"type":"line","layer":"CUT_INNER","start":{"x":0,"y":100.123},"end":{"x":4,"y":100.123}},)"
              R"({"type":"arc","layer":"DOGBONES","center":{"x":4,"y":101.123},"radius":1,"startAngle":90,)"
              R"("endAngle":270}]})");
}

TEST(CutFiles, NumbersKeepTheirDecimalsAndAPointWhateverTheLocale) {
    const struct {
        double value;
        const char* dxf;
        const char* server;
    } cases[] = {
        {100, "100", "100"},           {194.0 / 7.0, "27.714286", "27.714"}, {-0.0000001, "-0", "0"},
        {2.9999996, "3", "3"},         {-12.25, "-12.25", "-12.25"},        {0.0005, "0.0005", "0.001"},
        {1e-300, "0", "0"},            {-0.0004, "-0.0004", "0"},           {1234.5678, "1234.5678", "1234.568"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatDxfNumber(c.value), c.dxf) << c.value;
        EXPECT_EQ(formatServerNumber(c.value), c.server) << c.value;
    }

    const PieceSet pieces = generatePieces(heavyDesign());
    const std::function<std::string()> writers[] = {[&] { return buildDxf(pieces, true); },
                                                    [&] { return buildClosedDxf(pieces, false); },
                                                    [&] { return buildSvg(pieces); },
                                                    [&] { return buildServerRequestJson(pieces); }};
    std::vector<std::string> inC;
    for (const auto& write : writers) inC.push_back(write());
    bool comma = false;
    for (const char* name : {"de_DE", "de_DE.UTF-8", "German_Germany.1252"}) {
        if (!std::setlocale(LC_ALL, name)) continue;
        char probe[8];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        if ((comma = std::string(probe) == "1,5")) break;
    }
    for (size_t i = 0; comma && i < inC.size(); ++i) EXPECT_EQ(writers[i](), inC[i]) << i;
    std::setlocale(LC_ALL, "C");
#ifdef _WIN32
    EXPECT_TRUE(comma) << "the Windows build must be able to switch to a decimal-comma locale";
#else
    if (!comma) GTEST_SKIP() << "no decimal-comma locale installed";
#endif
}

TEST(CutFiles, SvgFrameIsThePlanAndIdsAreUniqueXmlNames) {
    Piece slot = bulgedPiece(L"Ranura base ancho", 3, 4);
    slot.kind = PieceKind::BaseCutout;
    const std::string svg = buildSvg({bulgedPiece(L"Atras", 10, 20), bulgedPiece(L"Divisor", -1, 2), slot});
    EXPECT_NE(svg.find(R"(width="16mm" height="20mm" viewBox="-1 2 16 20")"), std::string::npos) << svg;
    EXPECT_NE(svg.find(R"(<path d="M 10 20 L 14 20 A 1 1 0 0 1 14 22 L 10 22 Z"/>)"), std::string::npos);
    // At the plan's origin: a line and a quarter arc back to its start.
    Piece quarter;
    quarter.path = {lineSegment({0, 1}, {1, 0}), arcSegment({1, 0}, {0, 1}, {0, 0}, 1, false)};
    EXPECT_NE(buildSvg({quarter}).find(R"(<path d="M 0 1 L 1 0 A 1 1 0 1 0 0 1 Z"/>)"), std::string::npos);

    std::vector<std::string> used;
    const std::pair<std::wstring, const char*> ids[] = {
        {L"Lateral izquierdo", "lateral-izquierdo"}, {L"Lateral izquierdo", "lateral-izquierdo-2"},
        {L"lateral-izquierdo-2", "lateral-izquierdo-2-2"}, {L"  Tapa  ", "tapa"},
        {L"9 cajas", "piece-9-cajas"}, {L"\u00d1and\u00fa", "and"}, {L"", "piece"}, {L"***", "piece-2"},
    };
    for (const auto& [name, id] : ids) EXPECT_EQ(svgPieceId(name, used), id);
}

// The default design's text is the fuzz seed kept in the corpus: what earlier versions wrote.
// The fit test: the kerf row only for a laser, the whole test within its sheet, and the designs it
// cannot serve refused with their reason. What its notches fit is read back from its DXF.
TEST(FitTest, RowsForTheCutModeWithinItsSheetOrARefusal) {
    constexpr CutMode router = CutMode::CncRouter;
    const std::pair<BoxParameters, std::string> cases[] = {
        {{}, "Peine Lengueta Placa Ranura de prueba Ranura de prueba Ranura de prueba Ranura de prueba "
             "Ranura de prueba "},
        {{.cutMode = router, .toolDiameter = 3}, "Placa Ranura de prueba Ranura de prueba Ranura de prueba "
                                                 "Ranura de prueba Ranura de prueba "},
        {{.cutMode = router, .toolDiameter = 3.1}, "La fresa no entra en las ranuras de la pieza de prueba."},
        {{.inputWidth = 600, .inputHeight = 400, .inputDepth = 600, .materialThickness = 18},
         "La pieza de prueba no cabe en 120 x 60 mm con este espesor."},
        {{.inputWidth = -1}, "El ancho debe ser mayor a 0 mm."},
    };
    for (const auto& [design, outcome] : cases) {
        std::string names;
        try {
            const PieceSet test = fitTestPieces(design);
            for (const Piece& piece : test) names += std::string(piece.name.begin(), piece.name.end()) + " ";
            EXPECT_LE(planExtent(test).width(), kFitTestWidth);
            EXPECT_LE(planExtent(test).height(), kFitTestHeight);
        } catch (const std::runtime_error& refusal) {
            names = refusal.what();
        }
        EXPECT_EQ(names, outcome);
    }
}

// One file per sheet, named after the chosen name, each a sheet's pieces on a drawing of the sheet's
// size; without sheets, the plan in the chosen file.
TEST(CutFiles, SheetsAreAFileEachNamedAfterTheChosenOne) {
    const std::tuple<const wchar_t*, size_t, size_t, const wchar_t*> names[] = {
        {L"caja.dxf", 2, 3, L"caja-2.dxf"},
        {L"caja.dxf", 1, 1, L"caja.dxf"},
        {L"caja", 1, 2, L"caja-1"},
        {L"C:\\v1.2\\caja", 3, 3, L"C:\\v1.2\\caja-3"},
        {L"dir/caja.tar.svg", 10, 12, L"dir/caja.tar-10.svg"},
        {L"dir/a.svg", 2, 2, L"dir/a-2.svg"},
        {L"dir/.svg", 2, 2, L"dir/.svg-2"},
    };
    for (const auto& [chosen, number, count, expected] : names)
        EXPECT_EQ(sheetFileName(chosen, number, count), expected) << chosen;

    BoxParameters design{.widthDividerCount = 2, .sheetSize = {300, 200}};
    validateParameters(design);
    const PieceSet plan = generatePieces(design);
    const std::vector<Sheet> sheets = sheetsOf(design, plan);
    ASSERT_GT(sheets.size(), 1u);
    const std::vector<CutFile> files = cutFiles(CutFileType::Svg, L"caja.svg", plan, sheets, design.sheetSize, false);
    ASSERT_EQ(files.size(), sheets.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(files[i].path, L"caja-" + std::to_wstring(i + 1) + L".svg");
        EXPECT_EQ(files[i].text, buildSvg(sheets[i].pieces, design.sheetSize));
        EXPECT_NE(files[i].text.find(R"(width="300mm" height="200mm" viewBox="0 0 300 200")"), std::string::npos);
    }
    const std::vector<CutFile> one = cutFiles(CutFileType::DxfClosed, L"caja.dxf", plan, {}, {}, true);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].path, L"caja.dxf");
    EXPECT_EQ(one[0].text, buildClosedDxf(plan, true));
}

TEST(ProjectFile, DesignsRoundTripInTheirExactText) {
    EXPECT_EQ(writeProjectJson(BoxParameters{}),
              readBytes(utf8ToWide(TESSARO_SOURCE_DIR "/fuzz/corpus/fuzz_text_readers/defaults.boxproj")));
    ScratchFolder folder;
    const std::wstring path = folder.file(L"dise\u00f1o.boxproj");
    SeededDraws draws(7u);
    for (int i = 0; i < 150; ++i) {
        const BoxParameters design = drawValidDesign(draws);
        std::wstring error = L"stale";
        ASSERT_TRUE(saveProject(path, design, error));
        BoxParameters loaded;
        EXPECT_EQ(error, L"");
        ASSERT_TRUE(loadProject(path, loaded, error));
        EXPECT_EQ(readBytes(path), writeProjectJson(design));
        EXPECT_EQ(writeProjectJson(loaded), writeProjectJson(design));
        EXPECT_NEAR(loaded.outerWidth, design.outerWidth, 2e-6);
        EXPECT_EQ(loaded.inputWidth, std::round(design.inputWidth * 1e6) / 1e6);
    }
    // A sheet that is there but no pair of numbers refuses the project: the cut would not be the one saved.
    const std::pair<const char*, const wchar_t*> sheets[] = {
        {R"("sheetSize": [600, 400], "sheetMargin": 2, "turnPieces": false)", L""},
        {R"("sheetSize": [600])", L"El proyecto contiene parametros invalidos: Los valores deben ser numeros finitos."},
        {R"("sheetSize": [0, 400])",
         L"El proyecto contiene parametros invalidos: La hoja debe medir ancho x alto, mas de 0 mm cada lado."},
        {R"("sheetSize": [8, 400])", L"El proyecto contiene parametros invalidos: El margen no deja lugar en la hoja."},
    };
    for (const auto& [members, refusal] : sheets) {
        writeBytes(path, std::string(R"({"format": "TessaroProject", "parameters": {)") + members + "}}");
        BoxParameters loaded;
        std::wstring error;
        const bool read = loadProject(path, loaded, error);
        EXPECT_EQ(read, error.empty());
        EXPECT_EQ(error, refusal) << members;
        if (!error.empty()) continue;
        EXPECT_EQ(loaded.sheetSize, (SheetSize{600, 400}));
        EXPECT_FALSE(loaded.turnPieces);
    }
}

}  // namespace
