// The model: validation and outer sizes, the plan, and the invariants over random designs (which,
// with the cut files' independent readers, are the home of finger edges, slots and dogbones).
#include "model/box_parameters.h"
#include "model/piece_set.h"
#include "model/sheet_layout.h"
#include "model/stroke_font.h"
#include "output/project_file.h"
#include "support/design_invariants.h"
#include "support/random_designs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
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

// Each design is the default with a few changes; the first failing check names the problem.
TEST(ValidateParameters, RefusesWithTheFirstProblemInSpanish) {
    const CutMode router = CutMode::CncRouter;
    const std::pair<BoxParameters, const char*> cases[] = {  // an empty message: accepted
        {{.inputWidth = 0}, "El ancho debe ser mayor a 0 mm."},
        {{.inputHeight = 0}, "El alto debe ser mayor a 0 mm."},
        {{.inputDepth = 0}, "La profundidad debe ser mayor a 0 mm."},
        {{.materialThickness = 0}, "El espesor debe ser mayor a 0 mm."},
        {{.inputWidth = 6}, "El ancho exterior debe superar dos espesores."},
        {{.inputDepth = 6}, "La profundidad exterior debe superar dos espesores."},
        {{.inputHeight = 3}, "El alto exterior debe superar un espesor."},
        {{.inputHeight = 6, .includeLid = true},
         "Con tapa y medidas externas, el alto exterior debe superar dos espesores."},
        {{.inputHeight = 6}, "Hay demasiados encastres para el espesor elegido."},
        {{.fingerCountWidth = 0}, "Los encastres del ancho deben ser al menos 1."},
        {{.fingerCountDepth = 0}, "Los encastres de profundidad deben ser al menos 1."},
        {{.fingerCountHeight = -3}, "Los encastres de altura deben ser al menos 1."},
        {{.kerf = -0.01}, "El kerf no puede ser negativo."},
        {{.clearance = -0.01}, "La holgura no puede ser negativa."},
        {{.spacing = -1}, "La separacion no puede ser negativa."},
        {{.cutMode = router, .toolDiameter = 0}, "El diametro de herramienta debe ser mayor a 0 mm."},
        {{.depthDividerCount = -1}, "Las divisiones no pueden ser negativas."},
        {{.fingerCountWidth = 26}, ""},
        {{.fingerCountWidth = 27}, "Hay demasiados encastres para el espesor elegido."},
        {{.inputDepth = 25, .cutMode = router, .toolDiameter = 6},
         "Hay demasiados encastres para el diametro de herramienta."},
        {{.inputWidth = 7, .materialThickness = 1, .fingerCountWidth = 1, .clearance = 2, .widthDividerCount = 2},
         "No hay ancho interno suficiente para las divisiones."},
        {{.inputWidth = 7, .inputDepth = 5, .materialThickness = 1, .fingerCountWidth = 1, .fingerCountDepth = 1,
          .clearance = 2, .widthDividerCount = 1},
         "No hay profundidad interna suficiente para las divisiones."},
        {{.widthDividerCount = 40}, "Hay demasiadas divisiones en ancho."},
        {{.depthDividerCount = 30}, "Hay demasiadas divisiones en profundidad."},
        {{.cutMode = router, .widthDividerCount = 1}, "La ranura interna queda menor que el diametro de herramienta."},
        {{.inputWidth = kInf, .inputHeight = -1}, "Los valores deben ser numeros finitos."},
        // Lengths beyond reach lose the plan's fractions of a millimetre; a thickness or bit near nothing
        // collapses tabs and cut-outs, or reaches the server with a radius of 0.
        {{.inputHeight = 100000.5}, "Las medidas no pueden superar 100000 mm."},
        {{.inputWidth = 100000, .inputDepth = 100000, .spacing = 100000}, ""},
        {{.materialThickness = 0.00999}, "El espesor debe ser de al menos 0.01 mm."},
        {{.cutMode = router, .toolDiameter = 6.2e-5}, "El diametro de herramienta debe ser de al menos 0.01 mm."},
        {{.toolDiameter = 6.2e-5}, ""},
        {{.materialThickness = 0.01, .fingerCountWidth = 1000}, ""},
        {{.materialThickness = 0.01, .fingerCountHeight = 1001}, "Hay demasiados encastres para el espesor elegido."},
        {{.materialThickness = 0.01, .widthDividerCount = 101}, "Hay demasiadas divisiones en ancho."},
        {{.materialThickness = 0.01, .widthDividerCount = 100, .depthDividerCount = kMaxInt},
         "Hay demasiadas divisiones en profundidad."},
        // Compensation takes a kerf off every notch and slot, each at least a thickness wide.
        {{.materialThickness = 3, .kerf = 2.999, .compensateKerf = true}, ""},
        {{.materialThickness = 3, .kerf = 3, .compensateKerf = true},
         "Para compensarlo, el kerf debe ser menor que el espesor."},
        {{.materialThickness = 3, .kerf = 3, .cutMode = router, .compensateKerf = true}, ""},
        // A sheet is both lengths or none, and leaves room inside its margin.
        {{.sheetSize = {600, 0}}, "La hoja debe medir ancho x alto, mas de 0 mm cada lado."},
        {{.sheetSize = {-600, -400}}, "La hoja debe medir ancho x alto, mas de 0 mm cada lado."},
        {{.sheetSize = {600, kInf}}, "Los valores deben ser numeros finitos."},
        {{.sheetSize = {600, 100000.5}}, "Las medidas no pueden superar 100000 mm."},
        {{.sheetSize = {600, 10.01}}, ""},
        {{.sheetSize = {600, 10}}, "El margen no deja lugar en la hoja."},
        {{.sheetMargin = -1}, "El margen de la hoja no puede ser negativo."},
        {{.sheetSize = {600, 400}, .sheetMargin = 0}, ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        BoxParameters p = cases[i].first;
        EXPECT_EQ(refusal(p), cases[i].second) << "case " << i;
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

// Each piece's name, place and size on the plan, a line each.
std::string planOf(const BoxParameters& design) {
    std::ostringstream plan;
    plan.precision(10);
    for (const Piece& p : generatePieces(design)) {
        plan << std::string(p.name.begin(), p.name.end()) << " at " << p.x << ", " << p.y << ": " << p.width << " x "
             << p.height << "\n";
    }
    return plan.str();
}

TEST(GeneratePieces, WallsFoldAroundTheBaseAndDividersStackInColumns) {
    const std::string walls = "Atras at 112, 0: 200 x 100\n"
                              "Lateral izquierdo at 0, 112: 100 x 150\n"
                              "Base at 112, 112: 200 x 150\n"
                              "Lateral derecho at 324, 112: 100 x 150\n"
                              "Frente at 112, 274: 200 x 100\n";
    EXPECT_EQ(planOf({}), walls);
    // The column limit is the walls' and base's height: the fourth 97 high divider starts a new column.
    EXPECT_EQ(planOf({.widthDividerCount = 4, .depthDividerCount = 1}), walls +
                                                                        "Divisor ancho at 436, 0: 144 x 97\n"
                                                                        "Divisor ancho at 436, 109: 144 x 97\n"
                                                                        "Divisor ancho at 436, 218: 144 x 97\n"
                                                                        "Divisor ancho at 592, 0: 144 x 97\n"
                                                                        "Divisor profundidad at 592, 109: 194 x 97\n");
    // Cut-outs follow the walls, then the lid beside the base, then the dividers, as tall as the
    // lid-shortened walls.
    EXPECT_EQ(planOf({.inputHeight = 150, .includeLid = true, .widthDividerCount = 1, .addDividerBaseSlots = true}),
              "Atras at 162, 0: 200 x 150\n"
              "Lateral izquierdo at 0, 162: 150 x 150\n"
              "Base at 162, 162: 200 x 150\n"
              "Lateral derecho at 374, 162: 150 x 150\n"
              "Frente at 162, 324: 200 x 150\n"
              "Ranura base ancho at 260.45, 165: 3.1 x 144\n"
              "Tapa at 536, 162: 200 x 150\n"
              "Divisor ancho at 748, 0: 144 x 144\n");
}

// Names are engraved upright and left to right: a capital stands its height from the top of the box,
// and a second letter widens the text.
TEST(StrokeFont, CapitalsStandTheirHeightAndTextRunsRight) {
    const TextBox one = textBox(L"A", 6);
    const TextBox two = textBox(L"AA", 6);
    EXPECT_NEAR(one.top, 0, 1e-12);
    EXPECT_NEAR(one.bottom, 6, 1e-12);
    EXPECT_NEAR(two.left, one.left, 1e-12) << "the second letter follows the first";
    EXPECT_GT(two.right, 1.5 * one.right);
    EXPECT_EQ(textStrokes(L"A", 6).size(), 3u) << "two sides and the bar";
}

// Where a point of a group (a piece and its cut-outs) lands, relative to its piece's box corner, when
// the layout turns the group a quarter: (x, y) to (y, width - x), width the piece's before the turn.
Point2 laidPoint(Point2 relative, double width, bool turned) {
    return turned ? Point2{relative.y, width - relative.x} : relative;
}

bool near(Point2 a, Point2 b) { return std::abs(a.x - b.x) < 1e-6 && std::abs(a.y - b.y) < 1e-6; }

// Whether laid is original moved from the original host's corner to the laid host's, turned or not:
// every point of its cut and of its names.
bool laidAs(const Piece& laid, const Piece& laidHost, const Piece& original, const Piece& host, bool turned) {
    const CutPath a = placedPath(laid);
    const CutPath b = placedPath(original);
    if (a.size() != b.size() || laid.labels.size() != original.labels.size()) return false;
    const auto maps = [&](Point2 from, Point2 to) {
        const Point2 moved = laidPoint({from.x - host.x, from.y - host.y}, host.width, turned);
        return near(moved, {to.x - laidHost.x, to.y - laidHost.y});
    };
    for (size_t k = 0; k < a.size(); ++k) {
        if (!maps(b[k].start, a[k].start) || !maps(b[k].end, a[k].end)) return false;
        if (a[k].kind == SegmentKind::Arc && !maps(b[k].center, a[k].center)) return false;
        if (a[k].counterClockwise != b[k].counterClockwise) return false;
    }
    const auto turnedAxis = [&](Point2 axis) { return turned ? Point2{axis.y, -axis.x} : axis; };
    for (size_t k = 0; k < laid.labels.size(); ++k) {
        const PieceLabel& from = original.labels[k];
        const PieceLabel& to = laid.labels[k];
        if (!maps({from.origin.x + original.x, from.origin.y + original.y}, {to.origin.x + laid.x, to.origin.y + laid.y}))
            return false;
        if (!near(turnedAxis(from.along), to.along) || !near(turnedAxis(from.down), to.down)) return false;
    }
    return true;
}

// Random designs onto random sheets: every piece on one sheet, inside the margin, apart from the
// others by the spacing, each with its cut, its names and its cut-outs as the plan has them up to a
// move and a quarter turn; a refusal only for a piece larger than the sheet. How often the sheet
// count meets the area's lower bound is reported.
TEST(SheetLayout, EveryPieceOnceInsideItsSheetApartAndWhole) {
    SeededDraws draws(23u);
    int laid = 0;
    int met = 0;
    for (int i = 0; i < 300 && !HasFailure(); ++i) {
        const BoxParameters p = drawValidDesign(draws);
        const PieceSet pieces = generatePieces(p);
        const SheetSpec sheet{draws.uniform(150, 900), draws.uniform(150, 600), draws.uniform(0, 10),
                              draws.chance(0.7), p.spacing};
        const double usableWidth = sheet.width - 2 * sheet.margin;
        const double usableHeight = sheet.height - 2 * sheet.margin;
        std::vector<Sheet> sheets;
        try {
            sheets = layoutOnSheets(pieces, sheet);
        } catch (const std::runtime_error& refusal) {
            const bool tooLarge = std::any_of(pieces.begin(), pieces.end(), [&](const Piece& q) {
                const bool upright = q.width <= usableWidth && q.height <= usableHeight;
                const bool turned = sheet.turn && q.height <= usableWidth && q.width <= usableHeight;
                return !upright && !turned;
            });
            EXPECT_TRUE(tooLarge) << refusal.what();
            continue;
        }
        ++laid;
        double area = 0;
        double perimeterHalf = 0;
        double pieceCount = 0;
        for (const Piece& q : pieces) {
            if (isInnerCut(q)) continue;
            area += q.width * q.height;
            perimeterHalf += q.width + q.height;
            ++pieceCount;
        }
        std::vector<bool> used(pieces.size(), false);
        size_t placed = 0;
        for (const Sheet& on : sheets) {
            const Piece* host = nullptr;
            const Piece* original = nullptr;
            for (size_t a = 0; a < on.pieces.size(); ++a) {
                const Piece& q = on.pieces[a];
                const bool turned = on.turned[a];
                EXPECT_TRUE(turned == false || sheet.turn) << "turned against the user's wish";
                EXPECT_GE(q.x, sheet.margin - 1e-6) << writeProjectJson(p);
                EXPECT_GE(q.y, sheet.margin - 1e-6);
                EXPECT_LE(q.x + q.width, sheet.width - sheet.margin + 1e-6);
                EXPECT_LE(q.y + q.height, sheet.height - sheet.margin + 1e-6);
                if (!isInnerCut(q)) host = &q;
                // Its own piece of the plan: the first unused one with its name laid as it is, a cut-out
                // at its offset in its host.
                size_t match = pieces.size();
                for (size_t k = 0; k < pieces.size() && match == pieces.size(); ++k) {
                    const bool candidate = !used[k] && pieces[k].name == q.name;
                    const Piece& from = isInnerCut(q) ? *original : pieces[k];
                    if (candidate && host && laidAs(q, *host, pieces[k], from, turned)) match = k;
                }
                ASSERT_LT(match, pieces.size()) << "laid unlike any piece of the plan: " << writeProjectJson(p);
                used[match] = true;
                ++placed;
                if (!isInnerCut(q)) original = &pieces[match];
                for (size_t b = a + 1; b < on.pieces.size() && !isInnerCut(q); ++b) {
                    const Piece& o = on.pieces[b];
                    const double gap = p.spacing - 1e-6;
                    const bool apart = q.x + q.width + gap <= o.x || o.x + o.width + gap <= q.x ||
                                       q.y + q.height + gap <= o.y || o.y + o.height + gap <= q.y;
                    EXPECT_TRUE(isInnerCut(o) || apart) << "pieces closer than the spacing";
                }
            }
        }
        EXPECT_EQ(placed, pieces.size()) << "each piece once";
        // The bound counts each box with the spacing it keeps, as the sheet's usable area does.
        const double spacedArea = area + p.spacing * perimeterHalf + pieceCount * p.spacing * p.spacing;
        const double usable = (usableWidth + p.spacing) * (usableHeight + p.spacing);
        met += static_cast<double>(sheets.size()) <= std::ceil(spacedArea / usable - 1e-9);
    }
    RecordProperty("layouts", laid);
    RecordProperty("metLowerBound", met);
    std::printf("%d of %d layouts used the lower bound's number of sheets\n", met, laid);
}

// Two sheets hold this plan, as few as its area allows: the layout with the fewest sheets is kept,
// not one with more whose last sheet is emptier.
TEST(SheetLayout, KeepsTheLayoutWithTheFewestSheets) {
    BoxParameters p{.inputWidth = 391.5, .inputHeight = 92, .inputDepth = 252, .materialThickness = 3.7,
                    .fingerCountWidth = 12, .fingerCountDepth = 5, .fingerCountHeight = 6, .kerf = 0.01,
                    .clearance = 0.085, .spacing = 3.6, .widthDividerCount = 6, .depthDividerCount = 2,
                    .addDividerBaseSlots = true, .compensateKerf = true, .engraveLabels = true};
    validateParameters(p);
    const SheetSpec sheet{780.5, 409.45, 0.28, false, p.spacing};
    EXPECT_EQ(layoutOnSheets(generatePieces(p), sheet).size(), 2u);
}

TEST(GeneratedDesigns, KeepEveryInvariantOfACuttableBox) {
    constexpr int kDesigns = 2000;
    SeededDraws draws(20261206u);
    int routerDividers = 0;
    int lids = 0;
    int baseSlots = 0;
    for (int i = 0; i < kDesigns && !HasFailure(); ++i) {
        const BoxParameters p = drawValidDesign(draws);
        const bool dividers = p.widthDividerCount + p.depthDividerCount > 0;
        routerDividers += p.cutMode == CutMode::CncRouter && dividers;
        lids += p.includeLid;
        baseSlots += p.addDividerBaseSlots && dividers;
        // On failure the design as a project, loadable to reproduce it.
        EXPECT_EQ(designFaults(p, generatePieces(p)), std::vector<std::string>{}) << writeProjectJson(p);
    }
    // The draws must really exercise the rarer features.
    EXPECT_GT(routerDividers, kDesigns / 10);
    EXPECT_GT(lids, kDesigns / 4);
    EXPECT_GT(baseSlots, kDesigns / 4);
}

}  // namespace
