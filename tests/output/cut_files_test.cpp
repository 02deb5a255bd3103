// The cut files: the exact DXF frame and entity text, number formats whatever the locale, SVG names.
#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/server_request.h"
#include "output/svg_writer.h"
#include "support/path_segments.h"
#include "support/sample_designs.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

namespace {

std::string pairs(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text.append(line).push_back('\n');
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

TEST(CutFiles, DxfFrameAndEntitiesByteForByte) {
    EXPECT_EQ(buildDxf({}, false), kPreambleMm + kEnd);
    std::string inches = kPreambleMm;
    inches.replace(inches.find("$INSUNITS\n70\n4\n"), 15, "$INSUNITS\n70\n1\n");
    inches.replace(inches.find("- mm"), 4, "- in");
    EXPECT_EQ(buildDxf({}, true), inches + kEnd);

    // Placed lines in path order; a clockwise arc is written from its end angle; the layers follow
    // the piece and the segment's kind.
    Piece divider = bulgedPiece(L"Divisor ancho", 10, 20, false);
    divider.path.resize(2);
    EXPECT_EQ(buildDxf({divider}, false),
              kPreambleMm + pairs({"0", "LINE", "8", "DIVIDERS", "10", "10", "20", "20", "30", "0", "11", "14", "21",
                                   "20", "31", "0", "0", "ARC", "8", "DOGBONES", "10", "14", "20", "21", "30", "0",
                                   "40", "1", "50", "90", "51", "270"}) + kEnd);
    const std::string scaled = buildDxf({bulgedPiece(L"Atras", 12.7, 25.4)}, true);
    EXPECT_NE(scaled.find(pairs({"LINE", "8", "CUT_OUTER", "10", "0.5", "20", "1", "30", "0"})), std::string::npos);
    EXPECT_NE(scaled.find(pairs({"40", "0.03937", "50", "270", "51", "90"})), std::string::npos);

    Piece slot = bulgedPiece(L"Ranura base ancho", 0.0004, 100.1234, false);
    slot.innerCut = true;
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
    const std::string files[] = {buildDxf(pieces, true), buildClosedDxf(pieces, false), buildSvg(pieces),
                                 buildServerRequestJson(pieces)};
    bool comma = false;
    for (const char* name : {"de_DE", "de_DE.UTF-8", "German_Germany.1252"}) {
        if (!std::setlocale(LC_ALL, name)) continue;
        char probe[8];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        if ((comma = std::string(probe) == "1,5")) break;
    }
    if (comma) {
        EXPECT_EQ(buildDxf(pieces, true), files[0]);
        EXPECT_EQ(buildClosedDxf(pieces, false), files[1]);
        EXPECT_EQ(buildSvg(pieces), files[2]);
        EXPECT_EQ(buildServerRequestJson(pieces), files[3]);
    }
    std::setlocale(LC_ALL, "C");
#ifdef _WIN32
    EXPECT_TRUE(comma) << "the Windows build must be able to switch to a decimal-comma locale";
#else
    if (!comma) GTEST_SKIP() << "no decimal-comma locale installed";
#endif
}

TEST(CutFiles, SvgFrameIsThePlanAndIdsAreUniqueXmlNames) {
    Piece slot = bulgedPiece(L"Ranura base ancho", 3, 4);
    slot.innerCut = true;
    const std::string svg = buildSvg({bulgedPiece(L"Atras", 10, 20), bulgedPiece(L"Divisor", -1, 2), slot});
    EXPECT_NE(svg.find(R"(width="16mm" height="20mm" viewBox="-1 2 16 20")"), std::string::npos) << svg;
    EXPECT_NE(svg.find(R"(<path d="M 10 20 L 14 20 A 1 1 0 0 1 14 22 L 10 22 Z"/>)"), std::string::npos);
    Piece quarter;  // at the plan's origin: a line and a quarter arc back to its start
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

}  // namespace
