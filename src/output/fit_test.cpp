#include "output/fit_test.h"

#include "model/piece_labels.h"
#include "settings/number_text.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr double kGap = 3;           // between the pieces of the test (mm)
constexpr double kValueHeight = 2.5;  // engraved values' capitals (mm)
constexpr double kSlotLength = 15;
constexpr double kTongueLength = 20;

std::wstring valueText(double millimetres) {
    const std::string text = formatTrimmedFixed(millimetres, 3, NegativeZero::AsZero);
    return std::wstring(text.begin(), text.end());
}

// The value engraved centred under x, its capitals' top at y (local mm).
PieceLabel valueBelow(double value, double x, double y) {
    const std::wstring text = valueText(value);
    const TextBox box = textBox(text, kValueHeight);
    return {text, {x - (box.left + box.right) / 2, y - box.top}, kValueHeight};
}

double widestValue(std::span<const double> values) {
    double widest = 0;
    for (const double value : values) {
        const TextBox box = textBox(valueText(value), kValueHeight);
        widest = std::max(widest, box.right - box.left);
    }
    return widest;
}

// Between neighbouring notches or slots: room for their values side by side, 2 mm apart.
double pitchGap(double opening, double widestValue) { return std::max(6.0, widestValue + 2 - opening); }

// A piece cut along `outline` moved edge by edge (a laser's compensation of each edge), or, for a
// router, along its dogbone path.
Piece cutPiece(const wchar_t* name, PieceKind kind, const Outline& outline, std::span<const double> moves,
               const Cutter& cutter) {
    Piece piece;
    piece.name = name;
    piece.kind = kind;
    piece.outline = outline;
    if (cutter.mode == CutMode::CncRouter) {
        piece.path = dogbonePath(outline, cutter.toolDiameter);
    } else {
        const std::optional<Outline> moved = offsetOutline(outline, moves);
        if (!moved) throw std::runtime_error(kKerfTooWideMessage);
        piece.path = laserPath(*moved);
    }
    normalizePiece(piece);
    return piece;
}

// The kerf row: a comb whose notch i fits the tongue when the true kerf is kerfs[i], and the tongue.
// A tongue compensated with k fits a notch compensated with c when the true kerf is (k + c) / 2, so
// notch i is compensated with 2 kerfs[i] - k.
std::vector<Piece> kerfRow(const BoxParameters& p, double fingerWidth) {
    const double k = p.kerf;
    const double depth = p.materialThickness + p.clearance;
    std::vector<double> kerfs;
    for (const double step : kFitTestSteps) kerfs.push_back(std::max(0.0, k + step));
    const double gap = pitchGap(fingerWidth, widestValue(kerfs));
    const double length = 5 * fingerWidth + 6 * gap;
    const double valueTop = depth + 1.5;
    const double height = valueTop + kValueHeight + 3;
    Outline comb{{0, 0}};
    std::vector<double> moves;
    std::vector<PieceLabel> values;
    for (size_t i = 0; i < kerfs.size(); ++i) {
        const double left = gap + static_cast<double>(i) * (fingerWidth + gap);
        const double notch = kerfs[i] - k / 2;
        comb.insert(comb.end(), {{left, 0}, {left, depth}, {left + fingerWidth, depth}, {left + fingerWidth, 0}});
        moves.insert(moves.end(), {k / 2, notch, notch, notch});
        values.push_back(valueBelow(kerfs[i], left + fingerWidth / 2, valueTop));
    }
    comb.insert(comb.end(), {{length, 0}, {length, height}, {0, height}});
    moves.insert(moves.end(), {k / 2, k / 2, k / 2, k / 2});
    const Cutter laser{CutMode::Laser, 0, 0};
    Piece combPiece = cutPiece(L"Peine", PieceKind::Wall, comb, moves, laser);
    const Point2 origin = combPiece.outline.front();
    for (PieceLabel& value : values) value.origin = {value.origin.x + origin.x, value.origin.y + origin.y};
    combPiece.labels = values;
    const Outline tongue = rectangleOutline(fingerWidth, kTongueLength);
    Piece tonguePiece = cutPiece(L"Lengueta", PieceKind::Wall, tongue, std::vector<double>(4, k / 2), laser);
    tonguePiece.x = combPiece.width + kGap;
    return {combPiece, tonguePiece};
}

// The clearance row: a plate with five slots of the thickness plus clearances[i], made as base slots are.
std::vector<Piece> clearanceRow(const BoxParameters& p, double top) {
    std::vector<double> clearances;
    for (const double step : kFitTestSteps) clearances.push_back(std::max(0.0, p.clearance + step));
    const double t = p.materialThickness;
    const Cutter cutter = cutterOf(p);
    if (cutter.mode == CutMode::CncRouter && cutter.toolDiameter > t + clearances.front())
        throw std::runtime_error("La fresa no entra en las ranuras de la pieza de prueba.");
    const double gap = pitchGap(t + clearances.front(), widestValue(clearances));
    double length = gap;
    for (const double c : clearances) length += t + c + gap;
    const double slotTop = 4;
    const double valueTop = slotTop + kSlotLength + 1.5 + cutter.toolDiameter * (cutter.mode == CutMode::CncRouter);
    const double height = valueTop + kValueHeight + 3;
    const Outline plate = rectangleOutline(length, height);
    Piece platePiece = cutPiece(L"Placa", PieceKind::Base, plate, std::vector<double>(4, cutter.kerfOffset), cutter);
    const Point2 origin = platePiece.outline.front();
    platePiece.y = top;
    std::vector<Piece> row{platePiece};
    double left = gap;
    for (const double c : clearances) {
        const Point2 at{platePiece.x + origin.x + left, platePiece.y + origin.y + slotTop};
        row.push_back(buildSlotCutout(L"Ranura de prueba", at, t + c, kSlotLength, cutter));
        row.front().labels.push_back(valueBelow(c, origin.x + left + (t + c) / 2, origin.y + valueTop));
        left += t + c + gap;
    }
    return row;
}

}  // namespace

PieceSet fitTestPieces(BoxParameters design) {
    validateParameters(design);
    const BoxParameters& p = design;
    PieceSet pieces;
    double top = 0;
    if (p.cutMode == CutMode::Laser) {
        const double t = p.materialThickness;
        const double wall = std::max(wallHeight(p), 0.0);
        double fingerWidth = 10;
        const std::pair<double, int32_t> joints[] = {
            {p.outerWidth - 2 * t, p.fingerCountWidth}, {p.outerDepth, p.fingerCountDepth}, {wall, p.fingerCountHeight}};
        for (const auto& [length, count] : joints) fingerWidth = std::min(fingerWidth, length / (2.0 * count + 1));
        for (Piece& piece : kerfRow(p, fingerWidth)) {
            top = std::max(top, piece.y + piece.height + kGap);
            pieces.push_back(std::move(piece));
        }
    }
    for (Piece& piece : clearanceRow(p, top)) pieces.push_back(std::move(piece));
    const PlanExtent extent = planExtent(pieces);
    if (extent.width() > kFitTestWidth || extent.height() > kFitTestHeight)
        throw std::runtime_error("La pieza de prueba no cabe en 120 x 60 mm con este espesor.");
    return pieces;
}
