#include "model/piece_set.h"

#include "support/design_invariants.h"
#include "support/random_designs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

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
