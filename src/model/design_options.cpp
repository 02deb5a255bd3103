#include "model/design_options.h"

#include "app/control_ids.h"

#include <cstring>

namespace {

using B = BoxParameters;
using Bound = OptionBound;
using Repair = StoredRepair;

double sheetWidth(const B& p) { return p.sheetSize.width; }
double sheetHeight(const B& p) { return p.sheetSize.height; }
void setSheetWidth(B& p, double value) { p.sheetSize.width = value; }
void setSheetHeight(B& p, double value) { p.sheetSize.height = value; }

const DesignOption kOptions[] = {
    {.kind = OptionKind::Length,
     .access = accessOf<&B::inputWidth>, .projectKey = "inputWidth",
     .settingsKey = "widthMm", .settingsPlace = 1,
     .repair = {Repair::Positive},
     .rules = {.minimum = {Bound::Above, 0, "El ancho debe ser mayor a 0 mm."}, .shapesBox = true},
     .cliFlag = "--width", .cliHelp = "box width, mm (outer unless --internal)", .cliPlace = 1,
     .panel = {WidthEditId, L"label.width", L"tooltip.width"}},
    {.kind = OptionKind::Length,
     .access = accessOf<&B::inputHeight>, .projectKey = "inputHeight",
     .settingsKey = "heightMm", .settingsPlace = 2,
     .repair = {Repair::Positive},
     .rules = {.minimum = {Bound::Above, 0, "El alto debe ser mayor a 0 mm."}, .shapesBox = true},
     .cliFlag = "--height", .cliHelp = "box height, mm", .cliPlace = 2,
     .panel = {HeightEditId, L"label.height", L"tooltip.height"}},
    {.kind = OptionKind::Length,
     .access = accessOf<&B::inputDepth>, .projectKey = "inputDepth",
     .settingsKey = "depthMm", .settingsPlace = 3,
     .repair = {Repair::Positive},
     .rules = {.minimum = {Bound::Above, 0, "La profundidad debe ser mayor a 0 mm."}, .shapesBox = true},
     .cliFlag = "--depth", .cliHelp = "box depth, mm", .cliPlace = 3,
     .panel = {DepthEditId, L"label.depth", L"tooltip.depth"}},
    {.kind = OptionKind::Choice,
     .access = accessOf<&B::dimensionMode>, .projectKey = "dimensionMode",
     .choiceNames = {"External", "Internal"},
     .settingsKey = "internalDimensions", .settingsPlace = 12,
     .cliFlag = "--internal", .cliHelp = "width, height and depth are inside measures", .cliPlace = 15,
     .panel = {InternalDimensionsBoxId, L"check.internalDimensions", L"tooltip.internalDimensions"}},
    {.kind = OptionKind::Length,
     .access = accessOf<&B::materialThickness>,
     .projectKey = "materialThickness",
     .settingsKey = "thicknessMm", .settingsPlace = 4,
     .repair = {Repair::Positive},
     .rules = {.minimum = {Bound::Above, 0, "El espesor debe ser mayor a 0 mm."},
               .floor = {Bound::AtLeast, 0.01, "El espesor debe ser de al menos 0.01 mm."},
               .shapesBox = true},
     .cliFlag = "--thickness", .cliHelp = "sheet thickness, mm", .cliPlace = 4,
     .panel = {ThicknessComboId, L"label.thickness", L"tooltip.thickness"}},
    {.kind = OptionKind::Count,
     .access = accessOf<&B::fingerCountWidth>,
     .projectKey = "fingerCountWidth",
     .settingsKey = "fingerWidth", .settingsPlace = 8,
     .repair = {Repair::Clamp, 1, 10},
     .rules = {.minimum = {Bound::AtLeast, 1, "Los encastres del ancho deben ser al menos 1."},
               .maximum = {Bound::AtMost, 1000, "Hay demasiados encastres para el espesor elegido."}},
     .cliFlag = "--fingers-width", .cliHelp = "fingers along the width", .cliPlace = 9,
     .panel = {FingersWidthComboId, L"label.fingersWidth", L"tooltip.fingersWidth", 1, 10, 10}},
    {.kind = OptionKind::Count,
     .access = accessOf<&B::fingerCountDepth>,
     .projectKey = "fingerCountDepth",
     .settingsKey = "fingerDepth", .settingsPlace = 9,
     .repair = {Repair::Clamp, 1, 10},
     .rules = {.minimum = {Bound::AtLeast, 1, "Los encastres de profundidad deben ser al menos 1."},
               .maximum = {Bound::AtMost, 1000, "Hay demasiados encastres para el espesor elegido."}},
     .cliFlag = "--fingers-depth", .cliHelp = "fingers along the depth", .cliPlace = 10,
     .panel = {FingersDepthComboId, L"label.fingersDepth", L"tooltip.fingersDepth", 1, 10, 10}},
    {.kind = OptionKind::Count,
     .access = accessOf<&B::fingerCountHeight>,
     .projectKey = "fingerCountHeight",
     .settingsKey = "fingerHeight", .settingsPlace = 10,
     .repair = {Repair::Clamp, 1, 10},
     .rules = {.minimum = {Bound::AtLeast, 1, "Los encastres de altura deben ser al menos 1."},
               .maximum = {Bound::AtMost, 1000, "Hay demasiados encastres para el espesor elegido."}},
     .cliFlag = "--fingers-height", .cliHelp = "fingers up each corner", .cliPlace = 11,
     .panel = {FingersHeightComboId, L"label.fingersHeight", L"tooltip.fingersHeight", 1, 10, 10}},
    {.kind = OptionKind::Length,
     .access = accessOf<&B::kerf>, .projectKey = "kerf",
     .settingsKey = "kerfMm", .settingsPlace = 5,
     .repair = {Repair::NonNegative, 0, 0, 0.0},
     .rules = {.minimum = {Bound::AtLeast, 0, "El kerf no puede ser negativo."}},
     .cliFlag = "--kerf", .cliHelp = "beam width, mm", .cliPlace = 5,
     .panel = {KerfEditId, L"label.kerf", L"tooltip.kerf"}},
    {.kind = OptionKind::Length,
     .access = accessOf<&B::clearance>, .projectKey = "clearance",
     .settingsKey = "clearanceMm", .settingsPlace = 6,
     .repair = {Repair::NonNegative, 0, 0, 0.0},
     .rules = {.minimum = {Bound::AtLeast, 0, "La holgura no puede ser negativa."}},
     .cliFlag = "--clearance", .cliHelp = "extra notch depth and slot width, mm", .cliPlace = 6,
     .panel = {ClearanceEditId, L"label.clearance", L"tooltip.clearance"}},
    // A stored negative spacing is taken back to the default, not to 0: a plan without gaps was never
    // what such a file meant.
    {.kind = OptionKind::Length,
     .access = accessOf<&B::spacing>, .projectKey = "spacing",
     .settingsKey = "spacingMm", .settingsPlace = 7,
     .repair = {Repair::NonNegative, 0, 0, 12.0},
     .rules = {.minimum = {Bound::AtLeast, 0, "La separacion no puede ser negativa."}},
     .cliFlag = "--spacing", .cliHelp = "gap between pieces on the plan, mm", .cliPlace = 7,
     .panel = {SpacingEditId, L"label.spacing", L"tooltip.spacing"}},
    {.kind = OptionKind::Flag,
     .access = accessOf<&B::includeLid>, .projectKey = "includeLid",
     .settingsKey = "includeLid", .settingsPlace = 13,
     .cliFlag = "--lid", .cliHelp = "add a lid", .cliPlace = 16,
     .panel = {AddLidBoxId, L"check.addLid", L"tooltip.addLid"}},
    {.kind = OptionKind::Choice,
     .access = accessOf<&B::cutMode>, .projectKey = "cutMode",
     .choiceNames = {"Laser", "CncRouter"},
     .settingsKey = "cncRouterMode", .settingsPlace = 14,
     .cliFlag = "--cnc", .cliHelp = "cut with a router: dogbones in every inside corner", .cliPlace = 17,
     .panel = {CncRouterModeBoxId, L"check.cncRouterMode", L"tooltip.cncRouterMode"}},
    {.kind = OptionKind::Length,
     .access = accessOf<&B::toolDiameter>, .projectKey = "toolDiameter",
     .settingsKey = "toolDiameterMm", .settingsPlace = 11,
     .repair = {Repair::Positive},
     .rules = {.minimum = {Bound::Above, 0, "El diametro de herramienta debe ser mayor a 0 mm."},
               .floor = {Bound::AtLeast, 0.01, "El diametro de herramienta debe ser de al menos 0.01 mm."},
               .routerOnly = true},
     .cliFlag = "--tool-diameter", .cliHelp = "router bit diameter, mm", .cliPlace = 8,
     .panel = {ToolDiameterComboId, L"label.toolDiameter", L"tooltip.toolDiameter"}},
    {.kind = OptionKind::Count,
     .access = accessOf<&B::widthDividerCount>,
     .projectKey = "widthDividerCount",
     .settingsKey = "widthDividers", .settingsPlace = 17,
     .repair = {Repair::InRange, 0, 100},
     .rules = {.minimum = {Bound::AtLeast, 0, "Las divisiones no pueden ser negativas."},
               .maximum = {Bound::AtMost, 100, "Hay demasiadas divisiones en ancho."}},
     .cliFlag = "--width-dividers", .cliHelp = "dividers splitting the width", .cliPlace = 12,
     .panel = {WidthDividersComboId, L"label.widthDividers", L"tooltip.widthDividers", 0, 10, 100}},
    {.kind = OptionKind::Count,
     .access = accessOf<&B::depthDividerCount>,
     .projectKey = "depthDividerCount",
     .settingsKey = "depthDividers", .settingsPlace = 18,
     .repair = {Repair::InRange, 0, 100},
     .rules = {.minimum = {Bound::AtLeast, 0, "Las divisiones no pueden ser negativas."},
               .maximum = {Bound::AtMost, 100, "Hay demasiadas divisiones en profundidad."}},
     .cliFlag = "--depth-dividers", .cliHelp = "dividers splitting the depth", .cliPlace = 13,
     .panel = {DepthDividersComboId, L"label.depthDividers", L"tooltip.depthDividers", 0, 10, 100}},
    {.kind = OptionKind::Flag,
     .access = accessOf<&B::addDividerBaseSlots>,
     .projectKey = "addDividerBaseSlots",
     .settingsKey = "dividerBaseSlots", .settingsPlace = 19,
     .cliFlag = "--base-slots", .cliHelp = "cut a slot in the base under each divider", .cliPlace = 14,
     .panel = {DividerBaseSlotsBoxId, L"check.dividerBaseSlots", L"tooltip.dividerBaseSlots"}},
    {.kind = OptionKind::Flag,
     .access = accessOf<&B::compensateKerf>,
     .projectKey = "compensateKerf",
     .settingsKey = "compensateKerf", .settingsPlace = 20,
     .cliFlag = "--compensate-kerf", .cliHelp = "laser: cut half the kerf outside every edge", .cliPlace = 18,
     .panel = {.controlId = CompensateKerfBoxId, .labelKey = L"check.compensateKerf",
               .tooltipKey = L"tooltip.compensateKerf", .laserOnly = true},
     .writtenWhenChanged = true},
    {.kind = OptionKind::Flag,
     .access = accessOf<&B::engraveLabels>,
     .projectKey = "engraveLabels",
     .settingsKey = "engraveLabels", .settingsPlace = 21,
     .cliFlag = "--labels", .cliHelp = "engrave each piece's name (layer LABELS)", .cliPlace = 19,
     .panel = {EngraveLabelsBoxId, L"check.engraveLabels", L"tooltip.engraveLabels"},
     .writtenWhenChanged = true},
    // Validation asks the minimum of both lengths, and only of a size that is set.
    {.kind = OptionKind::Size,
     .access = {sheetWidth, setSheetWidth}, .second = {sheetHeight, setSheetHeight},
     .projectKey = "sheetSize",
     .settingsKey = "sheetSizeMm", .settingsPlace = 22,
     .repair = {Repair::SizeOrNone},
     .rules = {.minimum = {Bound::Above, 0, "La hoja debe medir ancho x alto, mas de 0 mm cada lado."}},
     .cliFlag = "--sheet", .cliHelp = "lay the pieces onto sheets of WxH mm (or a4, a3), a file each", .cliPlace = 20,
     .panel = {SheetSizeComboId, L"label.sheetSize", L"tooltip.sheetSize"},
     .writtenWhenChanged = true},
    {.kind = OptionKind::Length,
     .access = accessOf<&B::sheetMargin>, .projectKey = "sheetMargin",
     .settingsKey = "sheetMarginMm", .settingsPlace = 23,
     .repair = {Repair::NonNegative, 0, 0, 5.0},
     .rules = {.minimum = {Bound::AtLeast, 0, "El margen de la hoja no puede ser negativo."}},
     .cliFlag = "--margin", .cliHelp = "free edge kept on every side of a sheet, mm", .cliPlace = 21,
     .panel = {SheetMarginEditId, L"label.sheetMargin", L"tooltip.sheetMargin"},
     .writtenWhenChanged = true},
    {.kind = OptionKind::Flag,
     .access = accessOf<&B::turnPieces>, .projectKey = "turnPieces",
     .settingsKey = "turnPieces", .settingsPlace = 24,
     .cliFlag = "--no-turn", .cliHelp = "keep every piece on the sheets as the plan has it", .cliPlace = 22,
     .panel = {TurnPiecesBoxId, L"check.turnPieces", L"tooltip.turnPieces"},
     .writtenWhenChanged = true},
};

}  // namespace

std::span<const DesignOption> designOptions() { return kOptions; }

bool isWritten(const DesignOption& option, const BoxParameters& design) {
    return !option.writtenWhenChanged || !sameValue(option, design, BoxParameters{});
}

bool sameValue(const DesignOption& option, const BoxParameters& a, const BoxParameters& b) {
    if (!(option.access.get(a) == option.access.get(b))) return false;
    return option.kind != OptionKind::Size || option.second.get(a) == option.second.get(b);
}

const DesignOption* findDesignOption(const char* projectKey) {
    for (const DesignOption& option : kOptions)
        if (std::strcmp(option.projectKey, projectKey) == 0) return &option;
    return nullptr;
}
