#include "output/dxf_writer.h"

#include "output/dxf_polyline_writer.h"
#include "output/server_request.h"
#include "output/svg_writer.h"
#include "output/test_pieces.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct NumberCase {
    double value;
    const char* text;
};

TEST(FormatDxfNumber, SixDecimalsWithZerosCut) {
    const NumberCase cases[] = {
        {100, "100"},          {12.5, "12.5"},         {0, "0"},         {194.0 / 7.0, "27.714286"},
        {0.0000004, "0"},      {-0.0000001, "-0"},     {-12.25, "-12.25"}, {1000000, "1000000"},
        {2.9999996, "3"},     {-0.5, "-0.5"},   {1e-300, "0"},
        {123456789.123456, "123456789.123456"},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(formatDxfNumber(c.value), c.text) << c.value;
}

TEST(FormatServerNumber, ThreeDecimalsAndNoNegativeZero) {
    const NumberCase cases[] = {
        {12, "12"},      {0.15, "0.15"},   {3.175, "3.175"}, {1.9996, "2"}, {-0.0004, "0"},
        {-0.0, "0"},     {100, "100"},     {-1.5, "-1.5"},   {0.0005, "0.001"}, {270, "270"},
        {1234.5678, "1234.568"},
    };
    for (const NumberCase& c : cases) EXPECT_EQ(formatServerNumber(c.value), c.text) << c.value;
}

std::string pairs(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

const std::string kPreambleMm = pairs({
    "0", "SECTION", "2", "HEADER", "9", "$ACADVER", "1", "AC1009", "9", "$INSUNITS", "70", "4", "0", "ENDSEC",
    "0", "SECTION", "2", "TABLES",
    "0", "TABLE", "2", "LTYPE", "70", "1", "0", "LTYPE", "2", "CONTINUOUS", "70", "0", "3", "Solid line",
    "72", "65", "73", "0", "40", "0.0", "0", "ENDTAB",
    "0", "TABLE", "2", "LAYER", "70", "5",
    "0", "LAYER", "2", "CUT_OUTER", "70", "0", "62", "3", "6", "CONTINUOUS",
    "0", "LAYER", "2", "CUT_INNER", "70", "0", "62", "7", "6", "CONTINUOUS",
    "0", "LAYER", "2", "DOGBONES", "70", "0", "62", "4", "6", "CONTINUOUS",
    "0", "LAYER", "2", "DIVIDERS", "70", "0", "62", "2", "6", "CONTINUOUS",
    "0", "LAYER", "2", "REFERENCE", "70", "0", "62", "8", "6", "CONTINUOUS",
    "0", "ENDTAB", "0", "ENDSEC",
    "0", "SECTION", "2", "ENTITIES", "999", "Orvell Tessaro DXF R12 - mm",
});
const std::string kEnd = pairs({"0", "ENDSEC", "0", "EOF"});

TEST(BuildDxf, EmptySetIsTheWholeFrameByteForByte) {
    EXPECT_EQ(buildDxf({}, false), kPreambleMm + kEnd);
    std::string inches = kPreambleMm;
    inches.replace(inches.find("$INSUNITS\n70\n4\n"), 15, "$INSUNITS\n70\n1\n");
    inches.replace(inches.find("- mm"), 4, "- in");
    EXPECT_EQ(buildDxf({}, true), inches + kEnd);
    EXPECT_EQ(buildDxf({}, false).find('\r'), std::string::npos);
}

TEST(BuildDxf, PlacedLinesAndArcsInPathOrder) {
    const std::string expected = kPreambleMm + pairs({
        "0", "LINE", "8", "CUT_OUTER", "10", "10", "20", "20", "30", "0", "11", "14", "21", "20", "31", "0",
        "0", "ARC", "8", "DOGBONES", "10", "14", "20", "21", "30", "0", "40", "1", "50", "270", "51", "90",
        "0", "LINE", "8", "CUT_OUTER", "10", "14", "20", "22", "30", "0", "11", "10", "21", "22", "31", "0",
        "0", "LINE", "8", "CUT_OUTER", "10", "10", "20", "22", "30", "0", "11", "10", "21", "20", "31", "0",
    }) + kEnd;
    EXPECT_EQ(buildDxf({bulgedPiece(L"Atras", 10, 20)}, false), expected);
}

TEST(BuildDxf, ClockwiseArcIsWrittenFromItsEndAngle) {
    const std::string dxf = buildDxf({bulgedPiece(L"Atras", 10, 20, false)}, false);
    EXPECT_NE(dxf.find(pairs({"40", "1", "50", "90", "51", "270"})), std::string::npos);
}

TEST(BuildDxf, InchesScaleCoordinatesAndRadiiButNotAngles) {
    Piece p = bulgedPiece(L"Atras", 12.7, 25.4);
    p.path[1].radius = 3;
    const std::string dxf = buildDxf({p}, true);
    EXPECT_NE(dxf.find(pairs({"0", "LINE", "8", "CUT_OUTER", "10", "0.5", "20", "1", "30", "0"})), std::string::npos);
    EXPECT_NE(dxf.find(pairs({"40", "0.11811", "50", "270", "51", "90"})), std::string::npos);
    EXPECT_NE(dxf.find("999\nOrvell Tessaro DXF R12 - in\n"), std::string::npos);
}

TEST(BuildDxf, LayersFollowThePieceAndTheSegmentKind) {
    struct Case {
        std::wstring name;
        bool innerCut;
        const char* lineLayer;
    };
    const Case cases[] = {
        {L"Atras", false, "CUT_OUTER"},          {L"Tapa", false, "CUT_OUTER"},
        {L"Divisor ancho", false, "DIVIDERS"},   {L"Ranura base ancho", true, "CUT_INNER"},
        {L"Ranura suelta", false, "CUT_INNER"},  {L"divisor", false, "CUT_OUTER"},
    };
    for (const Case& c : cases) {
        Piece p = bulgedPiece(c.name, 0, 0);
        p.innerCut = c.innerCut;
        const std::string dxf = buildDxf({p}, false);
        EXPECT_NE(dxf.find(std::string("LINE\n8\n") + c.lineLayer + "\n"), std::string::npos) << c.lineLayer;
        EXPECT_NE(dxf.find("ARC\n8\nDOGBONES\n"), std::string::npos);
        const std::string closed = buildClosedDxf({p}, false);
        EXPECT_NE(closed.find(std::string("POLYLINE\n8\n") + c.lineLayer + "\n"), std::string::npos);
        EXPECT_EQ(closed.find("DOGBONES\n10"), std::string::npos);
    }
}

// Every builder writes numbers with a point even when the C library is set to a comma locale.
TEST(OutputNumbers, IndependentOfTheUserLocale) {
    PieceSet pieces = {bulgedPiece(L"Atras", 10.125, 20.5), bulgedPiece(L"Divisor ancho", 0.3, 1.7, false)};
    const std::string dxf = buildDxf(pieces, true);
    const std::string closed = buildClosedDxf(pieces, false);
    const std::string json = buildServerRequestJson(pieces);
    const std::string svg = buildSvg(pieces);
    const char* names[] = {"de_DE", "de_DE.UTF-8", "German_Germany.1252"};
    bool commaLocale = false;
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name) == nullptr) continue;
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        if (std::string(probe) == "1,5") {
            commaLocale = true;
            break;
        }
    }
    if (commaLocale) {
        EXPECT_EQ(buildDxf(pieces, true), dxf);
        EXPECT_EQ(buildClosedDxf(pieces, false), closed);
        EXPECT_EQ(buildServerRequestJson(pieces), json);
        EXPECT_EQ(buildSvg(pieces), svg);
        EXPECT_EQ(formatDxfNumber(0.5), "0.5");
    }
    std::setlocale(LC_ALL, "C");
#ifdef _WIN32
    EXPECT_TRUE(commaLocale) << "the Windows build must be able to switch to a decimal-comma locale";
#else
    if (!commaLocale) GTEST_SKIP() << "no decimal-comma locale installed";
#endif
}

TEST(BuildDxf, GeneratedDesignsWriteOneEntityPerSegment) {
    for (const auto& [name, parameters] : sampleDesigns()) {
        const PieceSet pieces = generatePieces(parameters);
        size_t segments = 0, arcs = 0;
        for (const Piece& p : pieces) {
            segments += p.path.size();
            for (const PathSegment& s : p.path) arcs += s.kind == SegmentKind::Arc;
        }
        const std::string dxf = buildDxf(pieces, false);
        size_t lines = 0, arcEntities = 0;
        for (size_t at = 0; (at = dxf.find("\n0\nLINE\n", at)) != std::string::npos; ++at) ++lines;
        for (size_t at = 0; (at = dxf.find("\n0\nARC\n", at)) != std::string::npos; ++at) ++arcEntities;
        EXPECT_EQ(lines + arcEntities, segments) << name;
        EXPECT_EQ(arcEntities, arcs) << name;
        EXPECT_TRUE(dxf.starts_with(kPreambleMm + "0\nLINE\n8\nCUT_OUTER\n")) << name;
    }
}

}  // namespace
