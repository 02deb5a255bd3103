#include "output/project_file.h"

#include "settings/file_io.h"
#include "support/files.h"
#include "support/random_designs.h"
#include "support/seams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// The default design's text is the fuzz seed kept in the corpus: what earlier versions wrote.
TEST(ProjectFile, DesignsRoundTripInTheirExactText) {
    EXPECT_EQ(writeProjectJson(BoxParameters{}),
              readBytes(utf8ToWide(TESSARO_SOURCE_DIR "/fuzz/corpus/fuzz_project_file/defaults.boxproj")));
    ScratchFolder folder;
    const std::wstring path = folder.file(L"dise\u00f1o.boxproj");
    SeededDraws draws(7u);
    for (int i = 0; i < 150; ++i) {
        const BoxParameters design = drawValidDesign(draws);
        std::wstring error = L"stale";
        ASSERT_TRUE(saveProject(path, design, error));
        BoxParameters loaded;
        ASSERT_TRUE(error.empty() && loadProject(path, loaded, error));
        EXPECT_TRUE(writeProjectJson(loaded) == writeProjectJson(design) && writeProjectJson(loaded) == readBytes(path));
        EXPECT_NEAR(loaded.outerWidth, design.outerWidth, 2e-6);
        EXPECT_EQ(loaded.inputWidth, std::round(design.inputWidth * 1e6) / 1e6);
    }
}

// Hostile texts live in the fuzz corpus; these are the readings a hand-edited file relies on.
TEST(ProjectFile, LoadReadsKeysFlatlyAndRefusesWhatIsNoValidProject) {
    const std::string mark = "{\"format\": \"TessaroProject\",\n";
    using P = const BoxParameters&;
    const struct {
        std::string text;
        std::wstring error;  // empty: loads
        std::function<bool(P)> check = {};
    } cases[] = {
        {"TessaroProject", L"", [](P p) { return writeProjectJson(p) == writeProjectJson({}) && p.outerWidth == 200; }},
        {"", L"El archivo no parece ser un proyecto de Tessaro."},
        {mark + "\"dimensionMode\": \"internal\", \"cutMode\": \"cncrouter\"}", L"",
         [](P p) { return p.dimensionMode == DimensionMode::External && p.cutMode == CutMode::Laser; }},
        {mark + "\"cutMode\"\t:\r\n  \"CncRouter\",\"dimensionMode\":\"Internal\"}", L"",
         [](P p) { return p.cutMode == CutMode::CncRouter && p.outerWidth == 206; }},
        {mark + "\"includeLid\": 1, \"addDividerBaseSlots\": trueish, \"fingerCountWidth\": \"4\"", L"",
         [](P p) { return !p.includeLid && p.addDividerBaseSlots && p.fingerCountWidth == 3; }},
        {mark + "\"fingerCountWidth\": 4.9, \"fingerCountDepth\": +3, \"inputWidth\": 2.5e2x, \"inputDepth\": -x", L"",
         [](P p) { return p.fingerCountWidth == 4 && p.fingerCountDepth == 3 && p.inputWidth == 250 && p.inputDepth == 150; }},
        {mark + "\"widthDividerCount\": -1",
         L"El proyecto contiene parametros invalidos: Las divisiones no pueden ser negativas."},
        {mark + "\"inputWidth\": 1e999", L"El proyecto contiene parametros invalidos: Los valores deben ser numeros finitos."},
    };
    ScratchFolder folder;
    const std::wstring path = folder.file(L"caso.boxproj");
    for (const auto& c : cases) {
        writeBytes(path, c.text);
        BoxParameters result;
        result.inputWidth = 77;
        std::wstring error = L"stale";
        EXPECT_EQ(loadProject(path, result, error), c.error.empty()) << c.text;
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(c.check ? c.check(result) : result.inputWidth == 77) << c.text;
    }
    BoxParameters result;
    std::wstring error;
    EXPECT_FALSE(loadProject(folder.file(L"missing.boxproj"), result, error));
    EXPECT_EQ(error, L"No se pudo abrir el archivo de proyecto.");
}

TEST(ProjectFile, AFailedSaveKeepsThePreviousProjectByteForByte) {
    ScratchFolder folder;
    const std::wstring path = folder.file(L"caja.boxproj");
    BoxParameters previous, refused;
    previous.includeLid = true, refused.inputWidth = -3;
    std::wstring error;
    ASSERT_TRUE(saveProject(path, previous, error));
    const std::string before = readBytes(path);
    EXPECT_FALSE(saveProject(path, refused, error));
    EXPECT_EQ(error, L"No se pudo preparar el proyecto: El ancho debe ser mayor a 0 mm.");
    for (size_t allowed : {size_t{0}, before.size() / 2, before.size() - 1}) {
        setWriteFault(allowed);
        EXPECT_FALSE(saveProject(path, BoxParameters{}, error));
        clearWriteFault();
        EXPECT_EQ(error, L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.");
    }
    EXPECT_FALSE(saveProject(folder.file(L"no such folder/x.boxproj"), BoxParameters{}, error));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(folder.entries(), std::vector<std::wstring>{L"caja.boxproj"}) << "no temporary file may remain";
}

}  // namespace
