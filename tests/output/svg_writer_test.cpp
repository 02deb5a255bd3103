#include "output/svg_writer.h"

#include "output/dxf_polyline_writer.h"
#include "output/test_pieces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

namespace {

std::vector<std::string> pathData(const std::string& svg) {
    std::vector<std::string> paths;
    const std::regex d(R"re(<path d="([^"]*)")re");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), d); it != std::sregex_iterator(); ++it)
        paths.push_back((*it)[1]);
    return paths;
}

// The sweep flag follows the model's direction and the large-arc flag only arcs past a half circle.
TEST(BuildSvg, ArcFlagsFollowTheModelArc) {
    struct Case {
        const char* what;
        PathSegment arc;
        const char* path;
    };
    const double h = std::sqrt(0.5), r2 = std::sqrt(2.0);
    const Case cases[] = {
        {"half circle, counter-clockwise", arcSegment({4, 0}, {4, 2}, {4, 1}, 1, true), "M 4 2 L 4 0 A 1 1 0 0 1 4 2 Z"},
        {"half circle, clockwise", arcSegment({4, 0}, {4, 2}, {4, 1}, 1, false), "M 4 2 L 4 0 A 1 1 0 0 0 4 2 Z"},
        {"quarter, counter-clockwise", arcSegment({1, 0}, {0, 1}, {0, 0}, 1, true), "M 0 1 L 1 0 A 1 1 0 0 1 0 1 Z"},
        {"three quarters, clockwise", arcSegment({1, 0}, {0, 1}, {0, 0}, 1, false), "M 0 1 L 1 0 A 1 1 0 1 0 0 1 Z"},
        {"dogbone past a corner", arcSegment({194, 32 - r2}, {194 + r2, 32}, {194 + h, 32 - h}, 1, false),
         "M 195.414214 32 L 194 30.585786 A 1 1 0 0 0 195.414214 32 Z"},
    };
    for (const Case& c : cases) {
        Piece p;
        p.name = L"Atras";
        p.path = {lineSegment(c.arc.end, c.arc.start), c.arc};
        EXPECT_EQ(pathData(buildSvg({p})), std::vector<std::string>{c.path}) << c.what;
    }
}

TEST(BuildSvg, FrameGroupsAndColours) {
    Piece slot = bulgedPiece(L"Ranura base ancho", 3, 4);
    slot.innerCut = true;
    const PieceSet pieces = {bulgedPiece(L"Atras", 10, 20), bulgedPiece(L"Divisor ancho", -1, 2),
                             bulgedPiece(L"Divisor ancho", 30, 40), slot};
    const std::string svg = buildSvg(pieces);
    EXPECT_NE(svg.find(R"(width="36mm" height="40mm" viewBox="-1 2 36 40")"), std::string::npos) << svg;
    EXPECT_NE(svg.find(R"(<g id="atras" fill="none" stroke="#000000" stroke-width="0.1">)"), std::string::npos);
    EXPECT_NE(svg.find(R"(<g id="divisor-ancho" fill="none" stroke="#000000")"), std::string::npos);
    EXPECT_NE(svg.find(R"(<g id="divisor-ancho-2" fill="none" stroke="#000000")"), std::string::npos);
    EXPECT_NE(svg.find(R"(<g id="ranura-base-ancho" fill="none" stroke="#0000ff")"), std::string::npos);
    const std::vector<std::string> paths = pathData(svg);
    ASSERT_EQ(paths.size(), 4u);
    // The closing line is left to Z; plan coordinates are written unchanged.
    EXPECT_EQ(paths[0], "M 10 20 L 14 20 A 1 1 0 0 1 14 22 L 10 22 Z");
    EXPECT_EQ(buildSvg({}).find("<g"), std::string::npos);
}

TEST(SvgPieceId, UniqueXmlIdsFromNames) {
    std::vector<std::string> used;
    const std::pair<std::wstring, const char*> cases[] = {
        {L"Lateral izquierdo", "lateral-izquierdo"}, {L"Lateral izquierdo", "lateral-izquierdo-2"},
        {L"lateral-izquierdo-2", "lateral-izquierdo-2-2"}, {L"  Tapa  ", "tapa"},
        {L"3 cajas", "piece-3-cajas"}, {L"\u00d1and\u00fa", "and"}, {L"", "piece"}, {L"***", "piece-2"},
    };
    for (const auto& [name, id] : cases) EXPECT_EQ(svgPieceId(name, used), id);
}

TEST(BuildClosedDxf, OnePolylinePerPieceWithBulgesAndCutOutsFirst) {
    Piece slot = bulgedPiece(L"Ranura base ancho", 3, 4, false);
    slot.innerCut = true;
    const std::string dxf = buildClosedDxf({bulgedPiece(L"Atras", 10, 20), slot}, false);
    const size_t inner = dxf.find("POLYLINE\n8\nCUT_INNER\n66\n1\n10\n0\n20\n0\n30\n0\n70\n1\n");
    const size_t outer = dxf.find("POLYLINE\n8\nCUT_OUTER\n66\n1\n10\n0\n20\n0\n30\n0\n70\n1\n");
    ASSERT_NE(inner, std::string::npos);
    ASSERT_NE(outer, std::string::npos);
    EXPECT_LT(inner, outer);
    // Start vertex of the arc carries the bulge: +1 for a counter-clockwise half circle, -1 clockwise.
    EXPECT_NE(dxf.find("VERTEX\n8\nCUT_OUTER\n10\n14\n20\n20\n30\n0\n42\n1\n0\nVERTEX\n"), std::string::npos);
    EXPECT_NE(dxf.find("VERTEX\n8\nCUT_INNER\n10\n7\n20\n4\n30\n0\n42\n-1\n0\nVERTEX\n"), std::string::npos);
    EXPECT_NE(dxf.find("VERTEX\n8\nCUT_OUTER\n10\n10\n20\n22\n30\n0\n0\nSEQEND\n8\nCUT_OUTER\n"), std::string::npos);
    EXPECT_TRUE(dxf.ends_with("0\nENDSEC\n0\nEOF\n"));
    size_t vertices = 0;
    for (size_t at = 0; (at = dxf.find("\nVERTEX\n", at)) != std::string::npos; ++at) ++vertices;
    EXPECT_EQ(vertices, 8u);
}

TEST(BuildClosedDxf, QuarterArcBulgeAndInches) {
    Piece p;
    p.name = L"Tapa";
    p.path = {lineSegment({0, 1}, {1, 0}), arcSegment({1, 0}, {0, 1}, {0, 0}, 1, true)};
    EXPECT_NE(buildClosedDxf({p}, false).find("\n42\n0.414214\n"), std::string::npos);
    p.path[1].counterClockwise = false;
    p.x = 25.4;
    const std::string inches = buildClosedDxf({p}, true);
    EXPECT_NE(inches.find("\n42\n-2.414214\n"), std::string::npos);
    EXPECT_NE(inches.find("VERTEX\n8\nCUT_OUTER\n10\n1.03937\n20\n0\n"), std::string::npos) << inches;
}

}  // namespace
