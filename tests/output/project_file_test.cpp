#include "output/project_file.h"

#include "settings/file_io.h"
#include "support/files.h"
#include "support/random_designs.h"
#include "support/seams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

TEST(ProjectFile, DefaultDesignText) {
    EXPECT_EQ(writeProjectJson(BoxParameters{}),
              "{\n"
              "  \"format\": \"TessaroProject\",\n"
              "  \"version\": 1,\n"
              "  \"parameters\": {\n"
              "    \"inputWidth\": 200.000000,\n"
              "    \"inputHeight\": 100.000000,\n"
              "    \"inputDepth\": 150.000000,\n"
              "    \"dimensionMode\": \"External\",\n"
              "    \"materialThickness\": 3.000000,\n"
              "    \"fingerCountWidth\": 3,\n"
              "    \"fingerCountDepth\": 2,\n"
              "    \"fingerCountHeight\": 1,\n"
              "    \"kerf\": 0.150000,\n"
              "    \"clearance\": 0.100000,\n"
              "    \"spacing\": 12.000000,\n"
              "    \"includeLid\": false,\n"
              "    \"cutMode\": \"Laser\",\n"
              "    \"toolDiameter\": 3.175000,\n"
              "    \"widthDividerCount\": 0,\n"
              "    \"depthDividerCount\": 0,\n"
              "    \"addDividerBaseSlots\": false\n"
              "  }\n"
              "}\n");
}

// Valid designs come back with every length rounded to the file's six decimals.
TEST(ProjectFile, DesignsRoundTrip) {
    ScratchFolder folder;
    const std::wstring path = folder.file(L"dise\u00f1o.boxproj");
    SeededDraws draws(7u);
    for (int i = 0; i < 150; ++i) {
        const BoxParameters design = drawValidDesign(draws);
        std::wstring error = L"stale";
        ASSERT_TRUE(saveProject(path, design, error));
        EXPECT_TRUE(error.empty());
        BoxParameters loaded;
        ASSERT_TRUE(loadProject(path, loaded, error));
        EXPECT_EQ(writeProjectJson(loaded), writeProjectJson(design));
        EXPECT_EQ(writeProjectJson(loaded), readBytes(path));
        EXPECT_NEAR(loaded.outerWidth, design.outerWidth, 2e-6);
        EXPECT_EQ(loaded.inputWidth, std::round(design.inputWidth * 1e6) / 1e6);
    }
}

TEST(ProjectFile, LoadReadsKeysFlatlyAndRefusesWhatIsNoValidProject) {
    const std::string mark = "{\"format\": \"TessaroProject\",\n";
    const std::wstring invalid = L"El proyecto contiene parametros invalidos: ";
    const struct {
        std::string text;
        std::wstring error;  // empty: loads
        std::function<void(const BoxParameters&)> check = {};
    } cases[] = {
        {"TessaroProject", L"", [](const BoxParameters& p) {
             EXPECT_EQ(writeProjectJson(p), writeProjectJson(BoxParameters{}));
             EXPECT_EQ(p.outerWidth, 200);
         }},
        {"", L"El archivo no parece ser un proyecto de Tessaro."},
        {mark + "\"dimensionMode\": \"internal\", \"cutMode\": \"cncrouter\"}", L"", [](const BoxParameters& p) {
             EXPECT_EQ(p.dimensionMode, DimensionMode::External);
             EXPECT_EQ(p.cutMode, CutMode::Laser);
         }},
        {mark + "\"cutMode\"\t:\r\n  \"CncRouter\",\"dimensionMode\":\"Internal\"}", L"", [](const BoxParameters& p) {
             EXPECT_EQ(p.cutMode, CutMode::CncRouter);
             EXPECT_EQ(p.outerWidth, 206);
         }},
        {mark + "\"includeLid\": 1, \"addDividerBaseSlots\": trueish, \"fingerCountWidth\": \"4\"", L"",
         [](const BoxParameters& p) {
             EXPECT_FALSE(p.includeLid);
             EXPECT_TRUE(p.addDividerBaseSlots);
             EXPECT_EQ(p.fingerCountWidth, 3);
         }},
        {mark + "\"fingerCountWidth\": 4.9, \"fingerCountDepth\": +3, \"inputWidth\": 2.5e2x, \"inputDepth\": -x",
         L"", [](const BoxParameters& p) {
             EXPECT_EQ(p.fingerCountWidth, 4);
             EXPECT_EQ(p.fingerCountDepth, 3);
             EXPECT_EQ(p.inputWidth, 250);
             EXPECT_EQ(p.inputDepth, 150);
         }},
        {mark + "\"note\": \"inputWidth\", \"inputHeight\": 120", L"", [](const BoxParameters& p) {
             EXPECT_EQ(p.inputWidth, 120);  // the flat search takes the first "inputWidth" anywhere
         }},
        {mark + "\"widthDividerCount\": -1", invalid + L"Las divisiones no pueden ser negativas."},
        {mark + "\"inputWidth\": 1e999", invalid + L"Los valores deben ser numeros finitos."},
        {mark + "\"depthDividerCount\": -99999999999", invalid + L"Las divisiones no pueden ser negativas."},
    };
    ScratchFolder folder;
    const std::wstring path = folder.file(L"caso.boxproj");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        writeBytes(path, c.text);
        BoxParameters result;
        result.inputWidth = 77;
        std::wstring error = L"stale";
        EXPECT_EQ(loadProject(path, result, error), c.error.empty());
        EXPECT_EQ(error, c.error);
        if (c.check) {
            c.check(result);
        } else {
            EXPECT_EQ(result.inputWidth, 77) << "a refused file leaves the design alone";
        }
    }
    BoxParameters result;
    std::wstring error;
    EXPECT_FALSE(loadProject(folder.file(L"missing.boxproj"), result, error));
    EXPECT_EQ(error, L"No se pudo abrir el archivo de proyecto.");
}

TEST(ProjectFile, AFailedSaveKeepsThePreviousProjectByteForByte) {
    ScratchFolder folder;
    const std::wstring path = folder.file(L"caja.boxproj");
    BoxParameters previous;
    previous.includeLid = true;
    std::wstring error;
    ASSERT_TRUE(saveProject(path, previous, error));
    const std::string before = readBytes(path);

    BoxParameters refused;
    refused.inputWidth = -3;
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
