// The model: validation and outer sizes, the plan, and the invariants over random designs (which,
// with the cut files' independent readers, are the home of finger edges, slots and dogbones).
#include "model/box_parameters.h"
#include "model/piece_set.h"
#include "output/project_file.h"
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
        BoxParameters p{.inputWidth = width, .inputHeight = height, .dimensionMode = mode, .includeLid = true};
        refusal(p);
        EXPECT_EQ((std::array{p.outerWidth, p.outerHeight, p.outerDepth}), outer);
    }
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
    std::vector<Placement> stacked = walls;
    stacked.insert(stacked.end(), {{L"Divisor ancho", 436, 0, 144, 97}, {L"Divisor ancho", 436, 109, 144, 97},
                                   {L"Divisor ancho", 436, 218, 144, 97}, {L"Divisor ancho", 592, 0, 144, 97},
                                   {L"Divisor profundidad", 592, 109, 194, 97}});
    expectPlan({.widthDividerCount = 4, .depthDividerCount = 1}, stacked);

    // Cut-outs follow the walls, then the lid beside the base, then the dividers, as tall as the
    // lid-shortened walls.
    expectPlan({.inputHeight = 150, .includeLid = true, .widthDividerCount = 1, .addDividerBaseSlots = true}, {{L"Atras", 162, 0, 200, 150}, {L"Lateral izquierdo", 0, 162, 150, 150}, {L"Base", 162, 162, 200, 150},
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
        EXPECT_EQ(designFaults(p, generatePieces(p)), std::vector<std::string>{}) << writeProjectJson(p);  // the design, loadable to reproduce
    }
    // The draws must really exercise the rarer features.
    EXPECT_GT(routerDividers, kDesigns / 10);
    EXPECT_GT(lids, kDesigns / 4);
    EXPECT_GT(baseSlots, kDesigns / 4);
}

}  // namespace
