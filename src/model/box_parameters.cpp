#include "model/box_parameters.h"

#include "model/design_options.h"
#include "model/tolerances.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

[[noreturn]] void refuse(const char* message) { throw std::runtime_error(message); }

// The lengths or number an option holds: its one value, a set size's two, an unset size's none.
struct HeldValues {
    double values[2] = {};
    int count = 0;
    const double* begin() const { return values; }
    const double* end() const { return values + count; }
};

HeldValues heldValues(const DesignOption& option, const BoxParameters& p) {
    if (option.kind != OptionKind::Size) return {{option.access.get(p)}, 1};
    if (!p.sheetSize.isSet()) return {};
    return {{option.access.get(p), option.second.get(p)}, 2};
}

bool isLength(const DesignOption& option) { return option.kind == OptionKind::Length || option.kind == OptionKind::Size; }

bool allFinite(const BoxParameters& p) {
    for (const DesignOption& option : designOptions())
        for (const double value : heldValues(option, p))
            if (isLength(option) && !std::isfinite(value)) return false;
    return std::isfinite(p.outerWidth) && std::isfinite(p.outerHeight) && std::isfinite(p.outerDepth);
}

bool allWithinReach(const BoxParameters& p) {
    for (const DesignOption& option : designOptions())
        for (const double value : heldValues(option, p))
            if (isLength(option) && value > kLongestLength) return false;
    return true;
}

bool holds(const OptionBound& bound, double value) {
    switch (bound.test) {
    case OptionBound::Above: return value > bound.limit;
    case OptionBound::AtLeast: return value >= bound.limit;
    case OptionBound::AtMost: return value <= bound.limit;
    case OptionBound::None: break;
    }
    return true;
}

// Which options a pass of bound checks looks at.
enum class BoundScope { ShapeOnly, ShapeExcluded, Every };

// Refuses with the first option in scope, in table order, whose value breaks the chosen bound.
void checkBounds(const BoxParameters& p, OptionBound OptionRules::*bound, BoundScope scope) {
    for (const DesignOption& option : designOptions()) {
        const OptionRules& rules = option.rules;
        if (scope != BoundScope::Every && rules.shapesBox != (scope == BoundScope::ShapeOnly)) continue;
        if (rules.routerOnly && p.cutMode != CutMode::CncRouter) continue;
        for (const double value : heldValues(option, p))
            if (!holds(rules.*bound, value)) refuse((rules.*bound).message);
    }
}

void checkFingerFit(const BoxParameters& p, double length, int32_t count) {
    // 2n + 1 in double: an int32 count cannot overflow it.
    const double segment = length / (2.0 * static_cast<double>(count) + 1.0);
    if (1.2 * p.materialThickness > segment) refuse("Hay demasiados encastres para el espesor elegido.");
    if (p.cutMode == CutMode::CncRouter && p.toolDiameter > segment)
        refuse("Hay demasiados encastres para el diametro de herramienta.");
}

void checkDividerFit(const BoxParameters& p) {
    const int32_t nw = p.widthDividerCount;
    const int32_t nd = p.depthDividerCount;
    if (nw == 0 && nd == 0) return;
    const double t = p.materialThickness;
    const double slot = t + p.clearance;
    const double innerWidth = std::max(p.outerWidth - 2.0 * t, 0.0);
    const double innerDepth = std::max(p.outerDepth - 2.0 * t, 0.0);
    const double cellWidth = innerWidth / (static_cast<double>(nw) + 1.0);
    const double cellDepth = innerDepth / (static_cast<double>(nd) + 1.0);
    if (static_cast<double>(std::max(nw, 1)) * slot >= innerWidth)
        refuse("No hay ancho interno suficiente para las divisiones.");
    if (static_cast<double>(std::max(nd, 1)) * slot >= innerDepth)
        refuse("No hay profundidad interna suficiente para las divisiones.");
    if (nw > 0 && 2.0 * t > cellWidth) refuse("Hay demasiadas divisiones en ancho.");
    if (nd > 0 && 2.0 * t > cellDepth) refuse("Hay demasiadas divisiones en profundidad.");
    if (p.cutMode == CutMode::CncRouter && p.toolDiameter > slot)
        refuse("La ranura interna queda menor que el diametro de herramienta.");
}

}  // namespace

double wallHeight(const BoxParameters& p) {
    const double t = p.materialThickness;
    const double lidInset = (p.dimensionMode == DimensionMode::External && p.includeLid) ? t : 0.0;
    return p.outerHeight - t - lidInset;
}

void validateParameters(BoxParameters& p) {
    const double t = p.materialThickness;
    if (p.dimensionMode == DimensionMode::Internal) {
        p.outerWidth = p.inputWidth + 2.0 * t;
        p.outerHeight = p.inputHeight + t;
        p.outerDepth = p.inputDepth + 2.0 * t;
    } else {
        p.outerWidth = p.inputWidth;
        p.outerHeight = p.inputHeight;
        p.outerDepth = p.inputDepth;
    }

    // NaN slips through every bound below, so refuse it first.
    if (!allFinite(p)) refuse("Los valores deben ser numeros finitos.");

    checkBounds(p, &OptionRules::minimum, BoundScope::ShapeOnly);
    if (2.0 * t >= p.outerWidth) refuse("El ancho exterior debe superar dos espesores.");
    if (2.0 * t >= p.outerDepth) refuse("La profundidad exterior debe superar dos espesores.");
    if (t >= p.outerHeight) refuse("El alto exterior debe superar un espesor.");
    if (p.dimensionMode == DimensionMode::External && p.includeLid && 2.0 * t >= p.outerHeight)
        refuse("Con tapa y medidas externas, el alto exterior debe superar dos espesores.");
    checkBounds(p, &OptionRules::minimum, BoundScope::ShapeExcluded);

    // These bounds keep generation within milliseconds and megabytes whatever a project file holds;
    // every feature is at least the thickness and every dogbone at most the bit's radius, so both
    // floors keep them clear of the point tolerance and of the server request's 0.001 mm.
    if (!allWithinReach(p)) refuse("Las medidas no pueden superar 100000 mm.");
    checkBounds(p, &OptionRules::floor, BoundScope::Every);
    checkBounds(p, &OptionRules::maximum, BoundScope::Every);

    checkFingerFit(p, std::max(p.outerWidth - 2.0 * t, 0.0), p.fingerCountWidth);
    checkFingerFit(p, std::max(p.outerDepth, 0.0), p.fingerCountDepth);
    checkFingerFit(p, std::max(wallHeight(p), 0.0), p.fingerCountHeight);
    checkDividerFit(p);
    if (p.compensateKerf && p.cutMode == CutMode::Laser && p.kerf >= t) refuse(kKerfTooWideMessage);
    const SheetSize& sheet = p.sheetSize;
    if (sheet.isSet() && 2.0 * p.sheetMargin >= std::min(sheet.width, sheet.height))
        refuse("El margen no deja lugar en la hoja.");
}
