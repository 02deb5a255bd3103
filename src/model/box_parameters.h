#pragma once
// The box design record, its defaults and its validation. All lengths are millimetres.
#include <cstdint>

// Inches are only a display and output unit: the panel and the writers convert with this.
inline constexpr double kMillimetresPerInch = 25.4;

enum class DimensionMode : int32_t { External = 0, Internal = 1 };
enum class CutMode : int32_t { Laser = 0, CncRouter = 1 };

// The machine's sheet (mm); 0 x 0 is no limit: the one plan as the pieces come.
struct SheetSize {
    double width = 0.0;
    double height = 0.0;
    bool isSet() const { return width != 0.0 || height != 0.0; }
    bool operator==(const SheetSize&) const = default;
};

struct BoxParameters {
    double inputWidth = 200.0;
    double inputHeight = 100.0;
    double inputDepth = 150.0;
    double outerWidth = 200.0;   // derived by validateParameters
    double outerHeight = 100.0;  // derived by validateParameters
    double outerDepth = 150.0;   // derived by validateParameters
    DimensionMode dimensionMode = DimensionMode::External;
    double materialThickness = 3.0;
    int32_t fingerCountWidth = 3;
    int32_t fingerCountDepth = 2;
    int32_t fingerCountHeight = 1;
    double kerf = 0.15;
    double clearance = 0.1;
    double spacing = 12.0;
    bool includeLid = false;
    CutMode cutMode = CutMode::Laser;
    double toolDiameter = 3.175;
    int32_t widthDividerCount = 0;
    int32_t depthDividerCount = 0;
    bool addDividerBaseSlots = false;
    bool compensateKerf = false;  // laser: cut half a kerf outside every edge
    bool engraveLabels = false;   // each piece's name in single strokes
    SheetSize sheetSize{};        // pieces laid onto sheets of this size, one cut file each
    double sheetMargin = 5.0;     // kept free along every edge of a sheet
    bool turnPieces = true;       // a piece may lie turned a quarter on its sheet

    bool operator==(const BoxParameters&) const = default;  // derived sizes too; see sameDesign
};

// Why a design's kerf cannot be compensated: every notch and slot is at least a thickness wide, and
// compensation takes a kerf off each.
inline constexpr const char* kKerfTooWideMessage = "Para compensarlo, el kerf debe ser menor que el espesor.";

// Writes the three outer fields, then throws std::runtime_error with a fixed Spanish
// ASCII message naming the first problem; returns normally when the design can be built.
void validateParameters(BoxParameters& parameters);

// Wall height before clamping: outerHeight - t - (t when External with a lid).
double wallHeight(const BoxParameters& parameters);
