#include "output/svg_writer.h"

#include "output/dxf_polyline_writer.h"
#include "output/test_pieces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The centre-form reading of an SVG elliptical arc (equal radii, no rotation), as a viewer does it.
Point2 svgArcMidpoint(Point2 from, Point2 to, double r, bool large, bool sweep) {
    const double x1 = (from.x - to.x) / 2, y1 = (from.y - to.y) / 2;
    const double lambda = (x1 * x1 + y1 * y1) / (r * r);
    if (lambda > 1) r *= std::sqrt(lambda);
    const double num = r * r * r * r - r * r * y1 * y1 - r * r * x1 * x1;
    double coef = std::sqrt(std::max(0.0, num / (r * r * y1 * y1 + r * r * x1 * x1)));
    if (large == sweep) coef = -coef;
    const double cx1 = coef * y1, cy1 = -coef * x1;
    const Point2 c{cx1 + (from.x + to.x) / 2, cy1 + (from.y + to.y) / 2};
    const double a1 = std::atan2(from.y - c.y, from.x - c.x);
    double delta = std::atan2(to.y - c.y, to.x - c.x) - a1;
    if (sweep && delta < 0) delta += 2 * std::numbers::pi;
    if (!sweep && delta > 0) delta -= 2 * std::numbers::pi;
    return {c.x + r * std::cos(a1 + delta / 2), c.y + r * std::sin(a1 + delta / 2)};
}

// The point halfway along a model arc, walking from its start in its own direction.
Point2 modelArcMidpoint(const PathSegment& s) {
    const double a1 = std::atan2(s.start.y - s.center.y, s.start.x - s.center.x);
    double delta = std::atan2(s.end.y - s.center.y, s.end.x - s.center.x) - a1;
    if (s.counterClockwise && delta <= 0) delta += 2 * std::numbers::pi;
    if (!s.counterClockwise && delta >= 0) delta -= 2 * std::numbers::pi;
    return {s.center.x + s.radius * std::cos(a1 + delta / 2), s.center.y + s.radius * std::sin(a1 + delta / 2)};
}

struct ArcCommand {
    double r;
    bool large, sweep;
    Point2 end;
};

std::vector<std::string> pathData(const std::string& svg) {
    std::vector<std::string> paths;
    const std::regex d(R"re(<path d="([^"]*)")re");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), d); it != std::sregex_iterator(); ++it)
        paths.push_back((*it)[1]);
    return paths;
}

TEST(BuildSvg, ArcsBendTheSameWayAsTheModel) {
    struct Case {
        const char* what;
        PathSegment arc;
    };
    const double h = std::sqrt(0.5);
    const Case cases[] = {
        {"half circle, counter-clockwise", arcSegment({4, 0}, {4, 2}, {4, 1}, 1, true)},
        {"half circle, clockwise", arcSegment({4, 0}, {4, 2}, {4, 1}, 1, false)},
        {"quarter, counter-clockwise", arcSegment({1, 0}, {0, 1}, {0, 0}, 1, true)},
        {"three quarters, clockwise", arcSegment({1, 0}, {0, 1}, {0, 0}, 1, false)},
        {"dogbone past a corner", arcSegment({194, 32 - std::sqrt(2.0)}, {194 + std::sqrt(2.0), 32}, {194 + h, 32 - h}, 1, false)},
    };
    for (const Case& c : cases) {
        Piece p;
        p.name = L"Atras";
        p.path = {lineSegment(c.arc.end, c.arc.start), c.arc};
        const std::vector<std::string> paths = pathData(buildSvg({p}));
        ASSERT_EQ(paths.size(), 1u) << c.what;
        std::istringstream in(paths[0]);
        std::string m, l, a, z;
        Point2 start, from;
        ArcCommand arc;
        double rotation;
        int large, sweep;
        in >> m >> start.x >> start.y >> l >> from.x >> from.y >> a >> arc.r >> rotation >> rotation >> large >> sweep >>
            arc.end.x >> arc.end.y >> z;
        ASSERT_EQ(m + l + a + z, "MLAZ") << paths[0];
        const Point2 svgMid = svgArcMidpoint(from, arc.end, arc.r, large != 0, sweep != 0);
        const Point2 modelMid = modelArcMidpoint(c.arc);
        EXPECT_NEAR(svgMid.x, modelMid.x, 1e-5) << c.what << ": " << paths[0];
        EXPECT_NEAR(svgMid.y, modelMid.y, 1e-5) << c.what << ": " << paths[0];
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
