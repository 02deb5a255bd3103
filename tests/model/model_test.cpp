// The model: validation and outer sizes, finger edges, slots and dogbones on hand-sized shapes
// where the exact points are known, the plan, and the invariants over random designs.
#include "model/box_parameters.h"
#include "model/cut_path.h"
#include "model/outline.h"
#include "model/piece_set.h"
#include "support/design_invariants.h"
#include "support/random_designs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <tuple>

namespace {

std::string refusal(BoxParameters& p) {
    try {
        validateParameters(p);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();

// Each design is the default with one change; the first failing check names the problem.
TEST(ValidateParameters, RefusesWithTheFirstProblemInSpanish) {
    using P = BoxParameters&;
    const struct {
        std::function<void(P)> change;
        const char* message;  // empty: accepted
    } cases[] = {
        {[](P p) { p.inputWidth = 0; }, "El ancho debe ser mayor a 0 mm."},
        {[](P p) { p.inputHeight = 0; }, "El alto debe ser mayor a 0 mm."},
        {[](P p) { p.inputDepth = 0; }, "La profundidad debe ser mayor a 0 mm."},
        {[](P p) { p.materialThickness = 0; }, "El espesor debe ser mayor a 0 mm."},
        {[](P p) { p.inputWidth = 6; }, "El ancho exterior debe superar dos espesores."},
        {[](P p) { p.inputDepth = 6; }, "La profundidad exterior debe superar dos espesores."},
        {[](P p) { p.inputHeight = 3; }, "El alto exterior debe superar un espesor."},
        {[](P p) { p.inputHeight = 6, p.includeLid = true; },
         "Con tapa y medidas externas, el alto exterior debe superar dos espesores."},
        {[](P p) { p.inputHeight = 6; }, "Hay demasiados encastres para el espesor elegido."},
        {[](P p) { p.fingerCountWidth = 0; }, "Los encastres del ancho deben ser al menos 1."},
        {[](P p) { p.fingerCountDepth = 0; }, "Los encastres de profundidad deben ser al menos 1."},
        {[](P p) { p.fingerCountHeight = -3; }, "Los encastres de altura deben ser al menos 1."},
        {[](P p) { p.kerf = -0.01; }, "El kerf no puede ser negativo."},
        {[](P p) { p.clearance = -0.01; }, "La holgura no puede ser negativa."},
        {[](P p) { p.spacing = -1; }, "La separacion no puede ser negativa."},
        {[](P p) { p.cutMode = CutMode::CncRouter, p.toolDiameter = 0; },
         "El diametro de herramienta debe ser mayor a 0 mm."},
        {[](P p) { p.depthDividerCount = -1; }, "Las divisiones no pueden ser negativas."},
        {[](P p) { p.fingerCountWidth = 26; }, ""},
        {[](P p) { p.fingerCountWidth = 27; }, "Hay demasiados encastres para el espesor elegido."},
        {[](P p) { p.cutMode = CutMode::CncRouter, p.toolDiameter = 6, p.inputDepth = 25; },
         "Hay demasiados encastres para el diametro de herramienta."},
        {[](P p) { p.materialThickness = 1, p.clearance = 2, p.fingerCountWidth = 1, p.inputWidth = 7,
                   p.widthDividerCount = 2; },
         "No hay ancho interno suficiente para las divisiones."},
        {[](P p) { p.materialThickness = 1, p.clearance = 2, p.fingerCountWidth = 1, p.inputWidth = 7,
                   p.widthDividerCount = 1, p.fingerCountDepth = 1, p.inputDepth = 5; },
         "No hay profundidad interna suficiente para las divisiones."},
        {[](P p) { p.widthDividerCount = 40; }, "Hay demasiadas divisiones en ancho."},
        {[](P p) { p.depthDividerCount = 30; }, "Hay demasiadas divisiones en profundidad."},
        {[](P p) { p.cutMode = CutMode::CncRouter, p.widthDividerCount = 1; },
         "La ranura interna queda menor que el diametro de herramienta."},
        {[](P p) { p.inputWidth = kInf, p.inputHeight = -1; }, "Los valores deben ser numeros finitos."},
        {[](P p) { p.toolDiameter = std::numeric_limits<double>::quiet_NaN(); }, "Los valores deben ser numeros finitos."},
        // Lengths beyond reach lose the plan's fractions of a millimetre; a thickness or bit near nothing
        // collapses tabs and cut-outs, or reaches the server with a radius of 0.
        {[](P p) { p.inputHeight = 100000.5; }, "Las medidas no pueden superar 100000 mm."},
        {[](P p) { p.inputWidth = p.inputDepth = p.spacing = 100000; }, ""},
        {[](P p) { p.materialThickness = 0.00999; }, "El espesor debe ser de al menos 0.01 mm."},
        {[](P p) { p.cutMode = CutMode::CncRouter, p.toolDiameter = 6.2e-5; },
         "El diametro de herramienta debe ser de al menos 0.01 mm."},
        {[](P p) { p.toolDiameter = 6.2e-5; }, ""},
        {[](P p) { p.materialThickness = 0.01, p.fingerCountWidth = 1000; }, ""},
        {[](P p) { p.materialThickness = 0.01, p.fingerCountHeight = 1001; },
         "Hay demasiados encastres para el espesor elegido."},
        {[](P p) { p.materialThickness = 0.01, p.widthDividerCount = 101; }, "Hay demasiadas divisiones en ancho."},
        {[](P p) { p.materialThickness = 0.01, p.widthDividerCount = 100, p.depthDividerCount = kMaxInt; },
         "Hay demasiadas divisiones en profundidad."},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        BoxParameters p;
        cases[i].change(p);
        EXPECT_EQ(refusal(p), cases[i].message) << "case " << i;
    }
}

// Outer sizes are derived first, so even a refused design shows them; the lid's wall height is
// checked with the assembled box.
TEST(ValidateParameters, OuterSizesFollowTheDimensionMode) {
    const std::tuple<DimensionMode, double, double, std::array<double, 3>> cases[] = {
        {DimensionMode::External, 200, 100, {200, 100, 150}},
        {DimensionMode::Internal, 100, 50, {106, 53, 156}},
        {DimensionMode::Internal, -5, kInf, {1, kInf, 156}},
    };
    for (const auto& [mode, width, height, outer] : cases) {
        BoxParameters p;
        p.dimensionMode = mode, p.inputWidth = width, p.inputHeight = height, p.includeLid = true;
        refusal(p);
        EXPECT_EQ((std::array{p.outerWidth, p.outerHeight, p.outerDepth}), outer);
    }
}

void expectOutline(const Outline& actual, const Outline& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i].x, expected[i].x, 1e-9) << what << " point " << i;
        EXPECT_NEAR(actual[i].y, expected[i].y, 1e-9) << what << " point " << i;
    }
}

Outline edge(EdgeStyle style, int32_t count, double length, EdgeInsets insets = {}) {
    Outline outline;
    appendFingerEdge(outline, {{0, 0}, {length, 0}, {0, -1}}, {count, style, insets}, {3.0, 0.1});
    return outline;
}

Outline divider(DividerShape shape, double t, double c) { return dividerOutline(shape, {t, c}); }

TEST(Outlines, EdgesSlotsAndTheirDegenerateCases) {
    const double s7 = 194.0 / 7;
    const struct {
        const char* what;
        Outline actual;
        Outline expected;
    } cases[] = {
        {"notches cut in by t + c; negative insets count as none", edge(EdgeStyle::Notches, 1, 30, {-5, -5}),
         {{0, 0}, {10, 0}, {10, 3.1}, {20, 3.1}, {20, 0}, {30, 0}}},
        {"insets stay straight and the fingers spread over the rest", edge(EdgeStyle::Tabs, 3, 200, {3, 3}),
         {{0, 0}, {3, 0}, {3 + s7, 0}, {3 + s7, -3}, {3 + 2 * s7, -3}, {3 + 2 * s7, 0}, {3 + 3 * s7, 0},
          {3 + 3 * s7, -3}, {3 + 4 * s7, -3}, {3 + 4 * s7, 0}, {3 + 5 * s7, 0}, {3 + 5 * s7, -3},
          {3 + 6 * s7, -3}, {3 + 6 * s7, 0}, {197, 0}, {200, 0}}},
        {"insets filling the edge leave it straight", edge(EdgeStyle::Tabs, 3, 10, {4, 6}), {{0, 0}, {10, 0}}},
        {"a plain edge is its end point", edge(EdgeStyle::Plain, 5, 50), {{0, 0}, {50, 0}}},
        // 2n + 1 overflows 32 bits here; the edge must stay straight, not wrap to one segment.
        {"the smallest count", edge(EdgeStyle::Tabs, std::numeric_limits<int32_t>::min(), 50), {{0, 0}, {50, 0}}},
        {"a zero-length edge adds nothing after its start", edge(EdgeStyle::Tabs, 2, 0.00005), {{0, 0}}},
        {"notches ending on the first point store it once",
         panelOutline({40, 30, {{{1, EdgeStyle::Plain, {}}, {1, EdgeStyle::Plain, {}}, {1, EdgeStyle::Plain, {}}, {1, EdgeStyle::Notches, {}}}}},
                      {3, 0.1}),
         {{0, 0}, {40, 0}, {40, 30}, {0, 30}, {0, 20}, {3.1, 20}, {3.1, 10}, {0, 10}}},
        {"one top slot, t + c wide and half the height deep", divider({100, 40, 1, SlotSide::Top}, 3, 0.1),
         {{0, 0}, {48.45, 0}, {48.45, 20}, {51.55, 20}, {51.55, 0}, {100, 0}, {100, 40}, {0, 40}}},
        {"a bottom slot at least t deep", divider({10, 5, 1, SlotSide::Bottom}, 3, 0),
         {{0, 0}, {10, 0}, {10, 5}, {6.5, 5}, {6.5, 2}, {3.5, 2}, {3.5, 5}, {0, 5}}},
        {"a slot reaching the end is left out", divider({100, 10, 1, SlotSide::Bottom}, 100, 20),
         {{0, 0}, {100, 0}, {100, 10}, {0, 10}}},
        {"a top slot overlapping the previous one is left out", divider({10, 6, 3, SlotSide::Top}, 3, 1),
         {{0, 0}, {0.5, 0}, {0.5, 3}, {4.5, 3}, {4.5, 0}, {5.5, 0}, {5.5, 3}, {9.5, 3}, {9.5, 0}, {10, 0}, {10, 6},
          {0, 6}}},
        {"a bottom slot overlapping the previous one is left out", divider({10, 6, 3, SlotSide::Bottom}, 3, 1),
         {{0, 0}, {10, 0}, {10, 6}, {9.5, 6}, {9.5, 3}, {5.5, 3}, {5.5, 6}, {4.5, 6}, {4.5, 3}, {0.5, 3}, {0.5, 6},
          {0, 6}}},
    };
    for (const auto& c : cases) expectOutline(c.actual, c.expected, c.what);

    Outline points;
    for (Point2 p : {Point2{1, 1}, Point2{1 + kPointTolerance, 1}, Point2{1, 1.0002}}) appendPointIfDistinct(points, p);
    expectOutline(points, {{1, 1}, {1, 1.0002}}, "a point at exactly the tolerance is the same point");
    EXPECT_TRUE(dividerSlotCenters(-2, 100).empty());
}

// A 50 x 20 block with one notch of the given width and 3.1 deep cut down from its top edge at x = 10.
Outline notchedBlock(double width) {
    return {{0, 0}, {10, 0}, {10, 3.1}, {10 + width, 3.1}, {10 + width, 0}, {50, 0}, {50, 20}, {0, 20}};
}

TEST(CutPaths, DogbonesOnlyWhereABitCannotReach) {
    const struct {
        const char* what;
        Outline outline;
        double tool;
        size_t segments;
        int arcs;
        double radius;
    } cases[] = {
        {"a rectangle has no concave corner", rectangleOutline(30, 20), 3.175, 4, 0, 0},
        {"a triangle is too short to have one", {{0, 0}, {10, 0}, {5, 5}}, 3.175, 3, 0, 0},
        {"no bit", notchedBlock(30), 0, 8, 0, 0},
        {"wide notch: the bit's radius", notchedBlock(30), 3.175, 10, 2, 3.175 / 2},
        {"narrow notch: shrunk to fit", notchedBlock(2), 6, 10, 2, 2 / std::sqrt(2.0) * 0.95},
    };
    for (const auto& c : cases) {
        const CutPath path = dogbonePath(c.outline, c.tool);
        EXPECT_EQ(path.size(), c.segments) << c.what;
        int arcs = 0;
        for (const PathSegment& s : path) arcs += s.kind == SegmentKind::Arc && std::fabs(s.radius - c.radius) < 1e-9;
        EXPECT_EQ(arcs, c.arcs) << c.what;
    }
    const CutPath laser = laserPath({{0, 0}, {10, 0}, {10, 0}, {10, 5}});
    ASSERT_EQ(laser.size(), 3u) << "the empty line is dropped";
    EXPECT_NEAR(laser.back().end.x, 0, 1e-12);
    EXPECT_TRUE(laserPath({{1, 1}}).empty());
}

TEST(CutPaths, ArcDirectionAndAnglesReadCounterClockwise) {
    const struct {
        Point2 start, end, through;
        bool ccw;
    } arcs[] = {{{1, 0}, {-1, 0}, {0, 1}, true}, {{1, 0}, {-1, 0}, {0, -1}, false},
                {{0, -1}, {0, 1}, {1, 0}, true}, {{0, -1}, {0, 1}, {-1, 0}, false}};  // the last two across the angles' wrap
    for (const auto& a : arcs) EXPECT_EQ(arcIsCounterClockwise(a.start, a.end, a.through, {0, 0}), a.ccw);
    for (bool ccw : {true, false}) {
        const auto [first, second] = arcAnglesDegrees({SegmentKind::Arc, {5, 4}, {5, 6}, {5, 5}, 1, ccw});
        EXPECT_TRUE(std::fabs(first - (ccw ? 270 : 90)) < 1e-9 && std::fabs(second - (ccw ? 90 : 270)) < 1e-9) << ccw;
    }
    EXPECT_NEAR(arcAnglesDegrees({SegmentKind::Arc, {-1, -0.0}, {1, 0}, {0, 0}, 1, true}).first, 180, 1e-9) << "atan2 gives -180 here";
}

struct Placement {
    const wchar_t* name;
    double x, y, width, height;
};

void expectPlan(const BoxParameters& design, const std::vector<Placement>& expected) {
    const PieceSet pieces = generatePieces(design);
    ASSERT_EQ(pieces.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Piece& p = pieces[i];
        const Placement& e = expected[i];
        EXPECT_TRUE(p.name == e.name && std::fabs(p.x - e.x) + std::fabs(p.y - e.y) + std::fabs(p.width - e.width) +
                                                std::fabs(p.height - e.height) < 1e-9)
            << i << ": " << p.x << ", " << p.y << ", " << p.width << " x " << p.height;
    }
}

TEST(GeneratePieces, WallsFoldAroundTheBaseAndDividersStackInColumns) {
    const std::vector<Placement> walls = {{L"Atras", 112, 0, 200, 100}, {L"Lateral izquierdo", 0, 112, 100, 150},
                                          {L"Base", 112, 112, 200, 150}, {L"Lateral derecho", 324, 112, 100, 150},
                                          {L"Frente", 112, 274, 200, 100}};
    expectPlan(BoxParameters{}, walls);

    // The column limit is the walls' and base's height: the fourth 97 high divider starts a new column.
    BoxParameters dividers;
    dividers.widthDividerCount = 4;
    dividers.depthDividerCount = 1;
    std::vector<Placement> stacked = walls;
    stacked.insert(stacked.end(), {{L"Divisor ancho", 436, 0, 144, 97}, {L"Divisor ancho", 436, 109, 144, 97},
                                   {L"Divisor ancho", 436, 218, 144, 97}, {L"Divisor ancho", 592, 0, 144, 97},
                                   {L"Divisor profundidad", 592, 109, 194, 97}});
    expectPlan(dividers, stacked);

    // Cut-outs follow the walls, then the lid beside the base, then the dividers, as tall as the
    // lid-shortened walls.
    BoxParameters lid;
    lid.includeLid = true;
    lid.addDividerBaseSlots = true;
    lid.widthDividerCount = 1;
    lid.inputHeight = 150;
    expectPlan(lid, {{L"Atras", 162, 0, 200, 150}, {L"Lateral izquierdo", 0, 162, 150, 150}, {L"Base", 162, 162, 200, 150},
                     {L"Lateral derecho", 374, 162, 150, 150}, {L"Frente", 162, 324, 200, 150},
                     {L"Ranura base ancho", 260.45, 165, 3.1, 144}, {L"Tapa", 536, 162, 200, 150},
                     {L"Divisor ancho", 748, 0, 144, 144}});
}

TEST(GeneratedDesigns, KeepEveryInvariantOfACuttableBox) {
    constexpr int kDesigns = 2000;
    SeededDraws draws(20261206u);
    int routerDividers = 0, lids = 0, baseSlots = 0;
    for (int i = 0; i < kDesigns && !HasFailure(); ++i) {
        const BoxParameters p = drawValidDesign(draws);
        const bool dividers = p.widthDividerCount + p.depthDividerCount > 0;
        routerDividers += p.cutMode == CutMode::CncRouter && dividers;
        lids += p.includeLid;
        baseSlots += p.addDividerBaseSlots && dividers;
        EXPECT_EQ(designFaults(p, generatePieces(p)), std::vector<std::string>{}) << describeDesign(p);
    }
    // The draws must really exercise the rarer features.
    EXPECT_GT(routerDividers, kDesigns / 10);
    EXPECT_GT(lids, kDesigns / 4);
    EXPECT_GT(baseSlots, kDesigns / 4);
}

}  // namespace
