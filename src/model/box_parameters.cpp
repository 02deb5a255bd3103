#include "model/box_parameters.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Bounds that keep generation within milliseconds and megabytes whatever a project file holds.
constexpr int32_t kMaxFingerCount = 1000;
constexpr int32_t kMaxDividerCount = 100;
// Beyond this the plan's coordinates lose the fractions of a millimetre its tolerances work in.
constexpr double kMaxLength = 100000.0;
// Every feature (tab, notch, slot, finger) is at least the thickness, and every dogbone at most the
// bit's radius: both must stay clear of the point tolerance, where pieces and cut-outs collapse, and
// of the server request's 0.001 mm, where arcs would be sent with a radius of 0.
constexpr double kMinThickness = 0.01;
constexpr double kMinToolDiameter = 0.01;

[[noreturn]] void refuse(const char* message) { throw std::runtime_error(message); }

bool allFinite(const BoxParameters& p) {
    for (double v : {p.inputWidth, p.inputHeight, p.inputDepth, p.outerWidth, p.outerHeight, p.outerDepth,
                     p.materialThickness, p.kerf, p.clearance, p.spacing, p.toolDiameter}) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

bool allWithinReach(const BoxParameters& p) {
    for (double v : {p.inputWidth, p.inputHeight, p.inputDepth, p.materialThickness, p.kerf, p.clearance, p.spacing,
                     p.toolDiameter}) {
        if (v > kMaxLength) return false;
    }
    return true;
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

    // NaN slips through every "<= 0" comparison below, so refuse it first.
    if (!allFinite(p)) refuse("Los valores deben ser numeros finitos.");

    if (p.inputWidth <= 0) refuse("El ancho debe ser mayor a 0 mm.");
    if (p.inputHeight <= 0) refuse("El alto debe ser mayor a 0 mm.");
    if (p.inputDepth <= 0) refuse("La profundidad debe ser mayor a 0 mm.");
    if (t <= 0) refuse("El espesor debe ser mayor a 0 mm.");
    if (2.0 * t >= p.outerWidth) refuse("El ancho exterior debe superar dos espesores.");
    if (2.0 * t >= p.outerDepth) refuse("La profundidad exterior debe superar dos espesores.");
    if (t >= p.outerHeight) refuse("El alto exterior debe superar un espesor.");
    if (p.dimensionMode == DimensionMode::External && p.includeLid && 2.0 * t >= p.outerHeight)
        refuse("Con tapa y medidas externas, el alto exterior debe superar dos espesores.");
    if (p.fingerCountWidth < 1) refuse("Los encastres del ancho deben ser al menos 1.");
    if (p.fingerCountDepth < 1) refuse("Los encastres de profundidad deben ser al menos 1.");
    if (p.fingerCountHeight < 1) refuse("Los encastres de altura deben ser al menos 1.");
    if (p.kerf < 0) refuse("El kerf no puede ser negativo.");
    if (p.clearance < 0) refuse("La holgura no puede ser negativa.");
    if (p.spacing < 0) refuse("La separacion no puede ser negativa.");
    if (p.cutMode == CutMode::CncRouter && p.toolDiameter <= 0)
        refuse("El diametro de herramienta debe ser mayor a 0 mm.");
    if (p.widthDividerCount < 0 || p.depthDividerCount < 0) refuse("Las divisiones no pueden ser negativas.");

    if (!allWithinReach(p)) refuse("Las medidas no pueden superar 100000 mm.");
    if (t < kMinThickness) refuse("El espesor debe ser de al menos 0.01 mm.");
    if (p.cutMode == CutMode::CncRouter && p.toolDiameter < kMinToolDiameter)
        refuse("El diametro de herramienta debe ser de al menos 0.01 mm.");
    if (p.fingerCountWidth > kMaxFingerCount || p.fingerCountDepth > kMaxFingerCount ||
        p.fingerCountHeight > kMaxFingerCount)
        refuse("Hay demasiados encastres para el espesor elegido.");
    if (p.widthDividerCount > kMaxDividerCount) refuse("Hay demasiadas divisiones en ancho.");
    if (p.depthDividerCount > kMaxDividerCount) refuse("Hay demasiadas divisiones en profundidad.");

    checkFingerFit(p, std::max(p.outerWidth - 2.0 * t, 0.0), p.fingerCountWidth);
    checkFingerFit(p, std::max(p.outerDepth, 0.0), p.fingerCountDepth);
    checkFingerFit(p, std::max(wallHeight(p), 0.0), p.fingerCountHeight);
    checkDividerFit(p);
}
