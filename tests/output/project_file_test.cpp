#include "output/project_file.h"

#include "settings/file_io.h"
#include "settings/scratch_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, removed afterwards; its name is not ASCII, so wide paths are exercised.
class ProjectFileTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / fsPath(std::wstring(L"tessaro proyecto \u00f1and\u00fa ") +
                                                     std::wstring(info->name(), info->name() + std::strlen(info->name())));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::wstring file(const wchar_t* name) const { return widePath(folder_ / fsPath(name)); }

    void writeText(const std::wstring& path, const std::string& text) const {
        writeBytes(fsPath(path), text);
    }

    std::string readText(const std::wstring& path) const {
        return readBytes(fsPath(path));
    }

    std::set<fs::path> folderEntries() const {
        std::set<fs::path> entries;
        for (const auto& entry : fs::recursive_directory_iterator(folder_)) entries.insert(entry.path());
        return entries;
    }

    fs::path folder_;
};

bool sameDesign(const BoxParameters& a, const BoxParameters& b) {
    return a.inputWidth == b.inputWidth && a.inputHeight == b.inputHeight && a.inputDepth == b.inputDepth &&
           a.outerWidth == b.outerWidth && a.outerHeight == b.outerHeight && a.outerDepth == b.outerDepth &&
           a.dimensionMode == b.dimensionMode && a.materialThickness == b.materialThickness &&
           a.fingerCountWidth == b.fingerCountWidth && a.fingerCountDepth == b.fingerCountDepth &&
           a.fingerCountHeight == b.fingerCountHeight && a.kerf == b.kerf && a.clearance == b.clearance &&
           a.spacing == b.spacing && a.includeLid == b.includeLid && a.cutMode == b.cutMode &&
           a.toolDiameter == b.toolDiameter && a.widthDividerCount == b.widthDividerCount &&
           a.depthDividerCount == b.depthDividerCount && a.addDividerBaseSlots == b.addDividerBaseSlots;
}

TEST(WriteProjectJson, DefaultDesignText) {
    const char* expected =
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
        "}\n";
    EXPECT_EQ(writeProjectJson(BoxParameters{}), expected);
}

// Random valid designs with values of at most six decimals come back exactly.
TEST_F(ProjectFileTest, RandomDesignsRoundTrip) {
    std::mt19937 random(20261206);
    auto micro = [&](double low, double high) {
        return std::round(std::uniform_real_distribution<double>(low, high)(random) * 1e6) / 1e6;
    };
    auto integer = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const std::wstring path = file(L"dise\u00f1o.boxproj");
    int saved = 0;
    for (int draw = 0; draw < 400 && saved < 150; ++draw) {
        BoxParameters p;
        p.inputWidth = micro(20, 600);
        p.inputHeight = micro(20, 400);
        p.inputDepth = micro(20, 600);
        p.dimensionMode = integer(0, 1) ? DimensionMode::Internal : DimensionMode::External;
        p.materialThickness = micro(1, 8);
        p.fingerCountWidth = integer(1, 6);
        p.fingerCountDepth = integer(1, 6);
        p.fingerCountHeight = integer(1, 4);
        p.kerf = micro(0, 0.5);
        p.clearance = micro(0, 0.5);
        p.spacing = micro(0, 30);
        p.includeLid = integer(0, 1);
        p.cutMode = integer(0, 1) ? CutMode::CncRouter : CutMode::Laser;
        p.toolDiameter = micro(0.5, 4);
        p.widthDividerCount = integer(0, 4);
        p.depthDividerCount = integer(0, 4);
        p.addDividerBaseSlots = integer(0, 1);
        BoxParameters expected = p;
        try {
            validateParameters(expected);
        } catch (const std::runtime_error&) {
            continue;
        }
        std::wstring error = L"stale";
        ASSERT_TRUE(saveProject(path, p, error)) << error.size();
        EXPECT_TRUE(error.empty());
        EXPECT_EQ(readText(path), writeProjectJson(expected));
        BoxParameters loaded;
        loaded.inputWidth = -1;
        ASSERT_TRUE(loadProject(path, loaded, error));
        EXPECT_TRUE(sameDesign(loaded, expected)) << writeProjectJson(loaded) << writeProjectJson(expected);
        ++saved;
    }
    EXPECT_GE(saved, 50);
}

TEST_F(ProjectFileTest, ValuesBeyondSixDecimalsAreRounded) {
    BoxParameters p;
    p.inputWidth = 200.1234567;
    p.kerf = 0.1499999;
    const std::wstring path = file(L"round.boxproj");
    std::wstring error;
    ASSERT_TRUE(saveProject(path, p, error));
    BoxParameters loaded;
    ASSERT_TRUE(loadProject(path, loaded, error));
    EXPECT_EQ(loaded.inputWidth, 200.123457);
    EXPECT_EQ(loaded.kerf, 0.15);
}

const std::string kMark = "{\"format\": \"TessaroProject\",\n";

struct LoadCase {
    const char* what;
    std::string text;
    const wchar_t* error;  // nullptr: loads
    void (*check)(const BoxParameters&);
};

TEST_F(ProjectFileTest, LoadReadsKeysFlatlyAndKeepsDefaultsForBadValues) {
    const LoadCase cases[] = {
        {"only the mark", "TessaroProject", nullptr, [](const BoxParameters& p) {
             EXPECT_EQ(writeProjectJson(p), writeProjectJson(BoxParameters{}));
             EXPECT_EQ(p.outerWidth, 200);
         }},
        {"empty file", "", L"El archivo no parece ser un proyecto de Tessaro.", nullptr},
        {"mark in lower case", "{\"format\": \"tessaroproject\"}", L"El archivo no parece ser un proyecto de Tessaro.",
         nullptr},
        {"lower-case mode names", kMark + "\"dimensionMode\": \"internal\", \"cutMode\": \"cncrouter\"}", nullptr,
         [](const BoxParameters& p) {
             EXPECT_EQ(p.dimensionMode, DimensionMode::External);
             EXPECT_EQ(p.cutMode, CutMode::Laser);
         }},
        {"exact mode names, odd spacing", kMark + "\"cutMode\"\t:\r\n  \"CncRouter\",\"dimensionMode\":\"Internal\"}",
         nullptr,
         [](const BoxParameters& p) {
             EXPECT_EQ(p.cutMode, CutMode::CncRouter);
             EXPECT_EQ(p.dimensionMode, DimensionMode::Internal);
             EXPECT_EQ(p.outerWidth, 206);
         }},
        {"boolean as a number", kMark + "\"includeLid\": 1, \"addDividerBaseSlots\": trueish", nullptr,
         [](const BoxParameters& p) {
             EXPECT_FALSE(p.includeLid);
             EXPECT_TRUE(p.addDividerBaseSlots);
         }},
        {"quoted integer", kMark + "\"fingerCountWidth\": \"4\"", nullptr,
         [](const BoxParameters& p) { EXPECT_EQ(p.fingerCountWidth, 3); }},
        {"fraction of an integer", kMark + "\"fingerCountWidth\": 4.9, \"fingerCountDepth\": +3", nullptr,
         [](const BoxParameters& p) {
             EXPECT_EQ(p.fingerCountWidth, 4);
             EXPECT_EQ(p.fingerCountDepth, 3);
         }},
        {"number forms", kMark + "\"inputWidth\": 2.5e2x, \"inputDepth\": -x, \"spacing\": 0", nullptr,
         [](const BoxParameters& p) {
             EXPECT_EQ(p.inputWidth, 250);
             EXPECT_EQ(p.inputDepth, 150);
             EXPECT_EQ(p.spacing, 0);
         }},
        {"unclosed string", kMark + "\"cutMode\": \"CncRouter", nullptr,
         [](const BoxParameters& p) { EXPECT_EQ(p.cutMode, CutMode::Laser); }},
        {"key named inside an earlier string", kMark + "\"note\": \"inputWidth\", \"inputHeight\": 120", nullptr,
         [](const BoxParameters& p) {
             EXPECT_EQ(p.inputWidth, 120);
             EXPECT_EQ(p.inputHeight, 120);
         }},
        {"negative divider count", kMark + "\"widthDividerCount\": -1",
         L"El proyecto contiene parametros invalidos: Las divisiones no pueden ser negativas.", nullptr},
        {"zero width", kMark + "\"inputWidth\": 0", L"El proyecto contiene parametros invalidos: El ancho debe ser mayor a 0 mm.",
         nullptr},
        {"overflowing number", kMark + "\"inputWidth\": 1e999",
         L"El proyecto contiene parametros invalidos: Los valores deben ser numeros finitos.", nullptr},
        {"overflowing integer", kMark + "\"fingerCountHeight\": 99999999999999999999",
         L"El proyecto contiene parametros invalidos: Hay demasiados encastres para el espesor elegido.", nullptr},
        {"hugely negative integer", kMark + "\"depthDividerCount\": -99999999999",
         L"El proyecto contiene parametros invalidos: Las divisiones no pueden ser negativas.", nullptr},
        {"huge divider count", kMark + "\"depthDividerCount\": 2147483647",
         L"El proyecto contiene parametros invalidos: Hay demasiadas divisiones en profundidad.", nullptr},
    };
    const std::wstring path = file(L"caso.boxproj");
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        writeText(path, c.text);
        BoxParameters result;
        result.inputWidth = 77;
        std::wstring error = L"stale";
        const bool loaded = loadProject(path, result, error);
        if (c.error == nullptr) {
            ASSERT_TRUE(loaded) << std::string(error.begin(), error.end());
            EXPECT_TRUE(error.empty());
            c.check(result);
        } else {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(error, c.error);
            EXPECT_EQ(result.inputWidth, 77) << "the output record must stay untouched";
        }
    }
}

TEST_F(ProjectFileTest, LoadFailsOnFilesThatCannotBeRead) {
    BoxParameters result;
    std::wstring error;
    EXPECT_FALSE(loadProject(file(L"missing.boxproj"), result, error));
    EXPECT_EQ(error, L"No se pudo abrir el archivo de proyecto.");
    EXPECT_FALSE(loadProject(file(L"no folder\\nor here/x.boxproj"), result, error));
    EXPECT_EQ(error, L"No se pudo abrir el archivo de proyecto.");
    // A folder is not a project, whichever step notices.
    EXPECT_FALSE(loadProject(widePath(folder_), result, error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ProjectFileTest, SaveRefusesInvalidDesignsWithoutTouchingTheFile) {
    const std::wstring path = file(L"keep.boxproj");
    writeText(path, "previous");
    BoxParameters p;
    p.inputWidth = -3;
    std::wstring error;
    EXPECT_FALSE(saveProject(path, p, error));
    EXPECT_EQ(error, L"No se pudo preparar el proyecto: El ancho debe ser mayor a 0 mm.");
    p = BoxParameters{};
    p.toolDiameter = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(saveProject(path, p, error));
    EXPECT_EQ(error, L"No se pudo preparar el proyecto: Los valores deben ser numeros finitos.");
    EXPECT_EQ(readText(path), "previous");
}

TEST_F(ProjectFileTest, FailedSaveLeavesNoTraceAndKeepsWhatWasThere) {
    std::wstring error;
    EXPECT_FALSE(saveProject(file(L"no such folder/x.boxproj"), BoxParameters{}, error));
    EXPECT_EQ(error, L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.");

    // A folder in the way cannot be replaced by a file: what it holds stays, and no temporary remains.
    const fs::path inWay = folder_ / "in the way.boxproj";
    fs::create_directories(inWay);
    writeBytes(inWay / "inner.txt", "kept");
    const auto before = folderEntries();
    EXPECT_FALSE(saveProject(widePath(inWay), BoxParameters{}, error));
    EXPECT_EQ(error, L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.");
    EXPECT_EQ(folderEntries(), before);
    EXPECT_EQ(readBytes(inWay / "inner.txt"), "kept");
}

TEST_F(ProjectFileTest, ShortWriteKeepsThePreviousProjectByteForByte) {
    const std::wstring path = file(L"caja.boxproj");
    BoxParameters previous;
    previous.includeLid = true;
    std::wstring error;
    ASSERT_TRUE(saveProject(path, previous, error));
    const std::string before = readText(path);
    const auto entries = folderEntries();
    for (size_t allowed : {size_t{0}, size_t{1}, before.size() / 2, before.size() - 1}) {
        setWriteFaultForTesting(allowed);
        const bool saved = saveProject(path, BoxParameters{}, error);
        clearWriteFaultForTesting();
        EXPECT_FALSE(saved) << allowed;
        EXPECT_EQ(error, L"No se pudo crear o reemplazar el archivo de proyecto. Puede estar en uso.");
        EXPECT_EQ(readText(path), before) << allowed;
        EXPECT_EQ(folderEntries(), entries) << "no temporary file may remain";
    }
}

}  // namespace
