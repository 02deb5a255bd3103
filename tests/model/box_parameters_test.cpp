#include "model/box_parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

std::string refusal(BoxParameters p) {
    try {
        validateParameters(p);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

// Outer sizes are derived first, so even a refused design shows them.
TEST(ValidateParameters, OuterSizesFollowTheDimensionMode) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Sizes {
        const char* what;
        DimensionMode mode;
        double width, height, depth;
        bool lid;
        double outerWidth, outerHeight, outerDepth;
    };
    const Sizes cases[] = {
        {"external keeps the entry", DimensionMode::External, 200, 100, 150, false, 200, 100, 150},
        {"internal adds walls and base", DimensionMode::Internal, 100, 50, 80, false, 106, 53, 86},
        {"internal ignores the lid", DimensionMode::Internal, 100, 50, 80, true, 106, 53, 86},
        {"refused width", DimensionMode::Internal, -5, 100, 150, false, 1, 103, 156},
        {"refused as not finite", DimensionMode::Internal, inf, -1, 150, false, inf, 2, 156},
    };
    for (const Sizes& c : cases) {
        BoxParameters p;
        p.dimensionMode = c.mode;
        p.inputWidth = c.width, p.inputHeight = c.height, p.inputDepth = c.depth, p.includeLid = c.lid;
        try {
            validateParameters(p);
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(p.outerWidth, c.outerWidth) << c.what;
        EXPECT_EQ(p.outerHeight, c.outerHeight) << c.what;
        EXPECT_EQ(p.outerDepth, c.outerDepth) << c.what;
    }
}

struct Case {
    const char* what;
    std::function<void(BoxParameters&)> change;
    const char* message;  // empty: accepted
};

TEST(ValidateParameters, FirstFailingCheckNamesTheProblem) {
    const Case cases[] = {
        {"zero width", [](BoxParameters& p) { p.inputWidth = 0; }, "El ancho debe ser mayor a 0 mm."},
        {"width before height", [](BoxParameters& p) { p.inputWidth = -1; p.inputHeight = -1; },
         "El ancho debe ser mayor a 0 mm."},
        {"zero height", [](BoxParameters& p) { p.inputHeight = 0; }, "El alto debe ser mayor a 0 mm."},
        {"zero depth", [](BoxParameters& p) { p.inputDepth = 0; }, "La profundidad debe ser mayor a 0 mm."},
        {"zero thickness", [](BoxParameters& p) { p.materialThickness = 0; }, "El espesor debe ser mayor a 0 mm."},
        {"width of two thicknesses", [](BoxParameters& p) { p.inputWidth = 6; },
         "El ancho exterior debe superar dos espesores."},
        {"depth of two thicknesses", [](BoxParameters& p) { p.inputDepth = 6; },
         "La profundidad exterior debe superar dos espesores."},
        {"height of one thickness", [](BoxParameters& p) { p.inputHeight = 3; },
         "El alto exterior debe superar un espesor."},
        {"lid on a height of two thicknesses",
         [](BoxParameters& p) { p.inputHeight = 6; p.includeLid = true; },
         "Con tapa y medidas externas, el alto exterior debe superar dos espesores."},
        {"width fingers", [](BoxParameters& p) { p.fingerCountWidth = 0; },
         "Los encastres del ancho deben ser al menos 1."},
        {"depth fingers", [](BoxParameters& p) { p.fingerCountDepth = 0; },
         "Los encastres de profundidad deben ser al menos 1."},
        {"height fingers", [](BoxParameters& p) { p.fingerCountHeight = -3; },
         "Los encastres de altura deben ser al menos 1."},
        {"negative kerf", [](BoxParameters& p) { p.kerf = -0.01; }, "El kerf no puede ser negativo."},
        {"negative clearance", [](BoxParameters& p) { p.clearance = -0.01; }, "La holgura no puede ser negativa."},
        {"negative spacing", [](BoxParameters& p) { p.spacing = -1; }, "La separacion no puede ser negativa."},
        {"router without bit",
         [](BoxParameters& p) { p.cutMode = CutMode::CncRouter; p.toolDiameter = 0; },
         "El diametro de herramienta debe ser mayor a 0 mm."},
        {"laser ignores the bit", [](BoxParameters& p) { p.toolDiameter = 0; }, ""},
        {"negative dividers", [](BoxParameters& p) { p.depthDividerCount = -1; },
         "Las divisiones no pueden ser negativas."},
        {"26 width fingers fit", [](BoxParameters& p) { p.fingerCountWidth = 26; }, ""},
        {"27 width fingers do not", [](BoxParameters& p) { p.fingerCountWidth = 27; },
         "Hay demasiados encastres para el espesor elegido."},
        {"5 mm segment with a 6 mm bit",
         [](BoxParameters& p) { p.cutMode = CutMode::CncRouter; p.toolDiameter = 6; p.inputDepth = 25; p.fingerCountDepth = 2; },
         "Hay demasiados encastres para el diametro de herramienta."},
        {"the same segment on a laser", [](BoxParameters& p) { p.toolDiameter = 6; p.inputDepth = 25; }, ""},
        {"depth dividers still check one width slot",
         [](BoxParameters& p) {
             p.materialThickness = 1; p.clearance = 3; p.inputWidth = 6; p.fingerCountWidth = 1; p.depthDividerCount = 2;
         },
         "No hay ancho interno suficiente para las divisiones."},
        {"too many width dividers for the cells", [](BoxParameters& p) { p.widthDividerCount = 40; },
         "Hay demasiadas divisiones en ancho."},
        {"too many depth dividers for the cells", [](BoxParameters& p) { p.depthDividerCount = 30; },
         "Hay demasiadas divisiones en profundidad."},
        {"router slot narrower than the bit",
         [](BoxParameters& p) { p.cutMode = CutMode::CncRouter; p.widthDividerCount = 1; },
         "La ranura interna queda menor que el diametro de herramienta."},
        {"router without dividers", [](BoxParameters& p) { p.cutMode = CutMode::CncRouter; }, ""},
        {"base slots without dividers", [](BoxParameters& p) { p.addDividerBaseSlots = true; }, ""},
        {"a 3 mm wall is too short for a finger", [](BoxParameters& p) { p.inputHeight = 6; },
         "Hay demasiados encastres para el espesor elegido."},
        {"non-finite width before negative height",
         [](BoxParameters& p) { p.inputWidth = std::numeric_limits<double>::infinity(); p.inputHeight = -1; },
         "Los valores deben ser numeros finitos."},
        {"two width slots in 5 mm",
         [](BoxParameters& p) {
             p.materialThickness = 1; p.clearance = 2; p.fingerCountWidth = 1; p.inputWidth = 7; p.widthDividerCount = 2;
         },
         "No hay ancho interno suficiente para las divisiones."},
        {"depth without dividers still checks one slot",
         [](BoxParameters& p) {
             p.materialThickness = 1; p.clearance = 2; p.fingerCountWidth = 1; p.inputWidth = 7; p.widthDividerCount = 1;
             p.fingerCountDepth = 1; p.inputDepth = 5;
         },
         "No hay profundidad interna suficiente para las divisiones."},
        {"1001 fingers refused before the fit checks",
         [](BoxParameters& p) { p.materialThickness = 0.01; p.fingerCountWidth = 1001; },
         "Hay demasiados encastres para el espesor elegido."},
        {"the largest finger count",
         [](BoxParameters& p) { p.materialThickness = 0.01; p.fingerCountWidth = std::numeric_limits<int32_t>::max(); },
         "Hay demasiados encastres para el espesor elegido."},
        {"1000 thin fingers fit", [](BoxParameters& p) { p.materialThickness = 0.01; p.fingerCountWidth = 1000; }, ""},
        {"101 width dividers", [](BoxParameters& p) { p.materialThickness = 0.01; p.widthDividerCount = 101; },
         "Hay demasiadas divisiones en ancho."},
        {"100 width dividers and the largest depth count",
         [](BoxParameters& p) {
             p.materialThickness = 0.01; p.widthDividerCount = 100;
             p.depthDividerCount = std::numeric_limits<int32_t>::max();
         },
         "Hay demasiadas divisiones en profundidad."},
    };
    for (const Case& c : cases) {
        BoxParameters p;
        c.change(p);
        EXPECT_EQ(refusal(p), c.message) << c.what;
    }
}

TEST(ValidateParameters, NonFiniteValuesAreRefusedFirst) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf}) {
        for (double BoxParameters::*field :
             {&BoxParameters::inputWidth, &BoxParameters::inputHeight, &BoxParameters::inputDepth,
              &BoxParameters::materialThickness, &BoxParameters::kerf, &BoxParameters::clearance,
              &BoxParameters::spacing, &BoxParameters::toolDiameter}) {
            BoxParameters p;
            p.*field = bad;
            EXPECT_EQ(refusal(p), "Los valores deben ser numeros finitos.");
        }
    }
}

// Lengths beyond reach lose the plan's fractions of a millimetre; a thickness near the point
// tolerance collapses tabs, slots and cut-outs into nothing; a bit near nothing loses its dogbones
// in the server request.
TEST(ValidateParameters, LengthsOutsideTheWorkableRangeAreRefused) {
    const struct {
        double BoxParameters::*field;
        double value;
        const char* message;
    } cases[] = {
        {&BoxParameters::inputWidth, 1e300, "Las medidas no pueden superar 100000 mm."},
        {&BoxParameters::inputHeight, 100000.5, "Las medidas no pueden superar 100000 mm."},
        {&BoxParameters::inputDepth, 1e7, "Las medidas no pueden superar 100000 mm."},
        {&BoxParameters::spacing, 1e15, "Las medidas no pueden superar 100000 mm."},
        {&BoxParameters::kerf, 2e5, "Las medidas no pueden superar 100000 mm."},
        {&BoxParameters::clearance, 2e5, "Las medidas no pueden superar 100000 mm."},
        {&BoxParameters::toolDiameter, 2e5, "Las medidas no pueden superar 100000 mm."},
        {&BoxParameters::materialThickness, 1e-42, "El espesor debe ser de al menos 0.01 mm."},
        {&BoxParameters::materialThickness, 0.00999, "El espesor debe ser de al menos 0.01 mm."},
        {&BoxParameters::materialThickness, 0.01, ""},
        {&BoxParameters::spacing, 100000, ""},
        {&BoxParameters::inputWidth, -1e300, "El ancho debe ser mayor a 0 mm."},  // the sign is reported first
    };
    for (const auto& c : cases) {
        BoxParameters p;
        p.*c.field = c.value;
        EXPECT_EQ(refusal(p), c.message) << c.value;
    }
    BoxParameters wide;
    wide.inputWidth = wide.inputDepth = 100000;
    EXPECT_EQ(refusal(wide), "");

    // A bit so fine that its dogbones would reach the server with a radius of 0; unused by a laser.
    BoxParameters router;
    router.cutMode = CutMode::CncRouter;
    router.toolDiameter = 6.2e-5;
    EXPECT_EQ(refusal(router), "El diametro de herramienta debe ser de al menos 0.01 mm.");
    router.toolDiameter = 0.01;
    EXPECT_EQ(refusal(router), "");
    router.cutMode = CutMode::Laser;
    router.toolDiameter = 6.2e-5;
    EXPECT_EQ(refusal(router), "");
}

}  // namespace
