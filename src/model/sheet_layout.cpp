#include "model/sheet_layout.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

constexpr double kFits = 1e-9;  // mm a box may overrun a free space by rounding

struct Box {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double right() const { return x + width; }
    double bottom() const { return y + height; }
    bool holds(const Box& other) const {
        return other.x >= x - kFits && other.y >= y - kFits && other.right() <= right() + kFits &&
               other.bottom() <= bottom() + kFits;
    }
    bool meets(const Box& other) const {
        return other.x < right() - kFits && other.right() > x + kFits && other.y < bottom() - kFits &&
               other.bottom() > y + kFits;
    }
};

// A piece of the set being laid out with the cut-outs inside its box.
struct Group {
    const Piece* piece;
    std::vector<const Piece*> cutouts;
};

// A group's copies on their sheet.
struct LaidGroup {
    Piece piece;
    std::vector<Piece> cutouts;
};

// Turns (x, y) to (y, -x) about the piece's box, as rotatePiece does with the geometry, and the
// cut-outs and names with it.
void turnGroup(LaidGroup& group) {
    const double width = group.piece.width;
    for (Piece& cutout : group.cutouts) {
        const Point2 at{cutout.x - group.piece.x, cutout.y - group.piece.y};
        const double cutoutWidth = cutout.width;
        rotatePiece(cutout, 1);
        cutout.x = at.y;
        cutout.y = width - at.x - cutoutWidth;
    }
    for (PieceLabel& label : group.piece.labels) {
        label.origin = {label.origin.y, width - label.origin.x};
        label.along = {label.along.y, -label.along.x};
        label.down = {label.down.y, -label.down.x};
    }
    // Labels are placed in the outline's frame, which normalizing keeps where the box starts.
    rotatePiece(group.piece, 1);
    group.piece.x = 0;
    group.piece.y = 0;
}

// How a free space is chosen for a box: the one leaving the shortest side over, or the least area.
enum class Fit { ShortSide, Area };

// The free spaces of one sheet, kept as maximal rectangles.
class FreeSpace {
public:
    explicit FreeSpace(Box whole) : free_{whole} {}

    // The best place for a width x height box, and its score (lower is better).
    std::optional<std::pair<Box, double>> bestFit(double width, double height, Fit rule) const {
        std::optional<std::pair<Box, double>> best;
        for (const Box& space : free_) {
            if (width > space.width + kFits || height > space.height + kFits) continue;
            const double score = rule == Fit::ShortSide ? std::min(space.width - width, space.height - height)
                                                        : space.width * space.height - width * height;
            if (!best || score < best->second) best = {{space.x, space.y, width, height}, score};
        }
        return best;
    }

    // Splits every free space the box meets into the maximal spaces around it. Only those pieces can
    // lie inside another space: the untouched ones were maximal already, and a piece of one cannot
    // hold another.
    void take(const Box& used) {
        std::vector<Box> kept;
        std::vector<Box> pieces;
        for (const Box& space : free_) {
            if (!space.meets(used)) {
                kept.push_back(space);
                continue;
            }
            if (used.x > space.x) pieces.push_back({space.x, space.y, used.x - space.x, space.height});
            if (used.right() < space.right())
                pieces.push_back({used.right(), space.y, space.right() - used.right(), space.height});
            if (used.y > space.y) pieces.push_back({space.x, space.y, space.width, used.y - space.y});
            if (used.bottom() < space.bottom())
                pieces.push_back({space.x, used.bottom(), space.width, space.bottom() - used.bottom()});
        }
        free_ = kept;
        for (size_t i = 0; i < pieces.size(); ++i) {
            const auto holdsIt = [&](const Box& other) { return other.holds(pieces[i]); };
            bool inside = std::any_of(kept.begin(), kept.end(), holdsIt);
            // Of two equal pieces the first stays.
            for (size_t j = 0; j < pieces.size() && !inside; ++j)
                inside = j != i && pieces[j].holds(pieces[i]) && !(pieces[i].holds(pieces[j]) && j > i);
            if (!inside) free_.push_back(pieces[i]);
        }
    }

private:
    std::vector<Box> free_;
};

// Where one group goes: its sheet's corner of the spaced box, and whether it is turned.
struct Placement {
    size_t group;
    Point2 at;
    bool turn;
};

struct Layout {
    std::vector<std::vector<Placement>> sheets;
};

// Places the groups in the given order, each on the first sheet that takes it (turned when that
// fits better), opening sheets as needed. Boxes grow by the spacing, and so does the usable area,
// so that placed boxes keep the spacing between them and the margin all round.
Layout place(const std::vector<Group>& groups, const std::vector<size_t>& order, Fit rule, const SheetSpec& sheet) {
    const double s = sheet.spacing;
    const Box usable{0, 0, sheet.width - 2 * sheet.margin + s, sheet.height - 2 * sheet.margin + s};
    Layout layout;
    std::vector<FreeSpace> spaces;
    for (const size_t index : order) {
        const Group& group = groups[index];
        const auto fitOn = [&](const FreeSpace& space) {
            const Piece& piece = *group.piece;
            const auto upright = space.bestFit(piece.width + s, piece.height + s, rule);
            std::optional<std::pair<Box, double>> turned;
            if (sheet.turn) turned = space.bestFit(piece.height + s, piece.width + s, rule);
            const bool turn = turned && (!upright || turned->second < upright->second);
            return std::pair{turn ? turned : upright, turn};
        };
        size_t on = 0;
        for (; on < spaces.size(); ++on)
            if (fitOn(spaces[on]).first) break;
        if (on == spaces.size()) {
            spaces.emplace_back(usable);
            layout.sheets.emplace_back();
        }
        const auto [fit, turn] = fitOn(spaces[on]);
        if (!fit) {
            const auto size = [](double w, double h) {
                return std::to_string(static_cast<int>(w + 0.5)) + " x " + std::to_string(static_cast<int>(h + 0.5));
            };
            const Piece& piece = *group.piece;
            const std::string name(piece.name.begin(), piece.name.end());
            throw std::runtime_error("La pieza " + name + " (" + size(piece.width, piece.height) +
                                     " mm) no cabe en la hoja (" + size(usable.width - s, usable.height - s) +
                                     " mm utiles).");
        }
        spaces[on].take(fit->first);
        layout.sheets[on].push_back({index, {sheet.margin + fit->first.x, sheet.margin + fit->first.y}, turn});
    }
    return layout;
}

// The group copied, turned when placed so, and moved to its place.
LaidGroup laidGroup(const Group& group, const Placement& placement) {
    LaidGroup laid{*group.piece, {}};
    for (const Piece* cutout : group.cutouts) laid.cutouts.push_back(*cutout);
    if (placement.turn) turnGroup(laid);
    const Point2 shift{placement.at.x - laid.piece.x, placement.at.y - laid.piece.y};
    laid.piece.x += shift.x;
    laid.piece.y += shift.y;
    for (Piece& cutout : laid.cutouts) {
        cutout.x += shift.x;
        cutout.y += shift.y;
    }
    return laid;
}

}  // namespace

std::vector<Sheet> layoutOnSheets(const PieceSet& pieces, const SheetSpec& sheet) {
    std::vector<Group> groups;
    for (const Piece& piece : pieces)
        if (!isInnerCut(piece)) groups.push_back({&piece, {}});
    for (const Piece& cutout : pieces) {
        if (!isInnerCut(cutout)) continue;
        for (Group& group : groups) {
            const Piece& p = *group.piece;
            const bool within = cutout.x >= p.x && cutout.y >= p.y && cutout.x + cutout.width <= p.x + p.width &&
                                cutout.y + cutout.height <= p.y + p.height;
            if (within) {
                group.cutouts.push_back(&cutout);
                break;
            }
        }
    }
    // A few orders, largest first by different measures, each with both fits; the fewest sheets wins,
    // then the emptier last sheet.
    const std::function<double(const Piece&)> measures[] = {
        [](const Piece& p) { return p.width * p.height; },
        [](const Piece& p) { return std::max(p.width, p.height); },
        [](const Piece& p) { return p.width + p.height; },
        [](const Piece& p) { return std::min(p.width, p.height); },
    };
    std::optional<Layout> best;
    double bestLast = 0;
    for (const auto& measure : measures) {
        std::vector<size_t> order(groups.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return measure(*groups[a].piece) > measure(*groups[b].piece); });
        for (const Fit rule : {Fit::ShortSide, Fit::Area}) {
            Layout layout = place(groups, order, rule, sheet);
            double last = 0;
            for (const Placement& placement : layout.sheets.back()) {
                const Piece& piece = *groups[placement.group].piece;
                last += piece.width * piece.height;
            }
            if (!best || layout.sheets.size() < best->sheets.size() ||
                (layout.sheets.size() == best->sheets.size() && last < bestLast)) {
                best = std::move(layout);
                bestLast = last;
            }
        }
    }
    std::vector<Sheet> sheets;
    const double usableArea = (sheet.width - 2 * sheet.margin) * (sheet.height - 2 * sheet.margin);
    for (const std::vector<Placement>& placements : best ? best->sheets : std::vector<std::vector<Placement>>{}) {
        Sheet out;
        double area = 0;
        for (const Placement& placement : placements) {
            LaidGroup group = laidGroup(groups[placement.group], placement);
            area += group.piece.width * group.piece.height;
            out.pieces.push_back(std::move(group.piece));
            out.turned.push_back(placement.turn);
            for (Piece& cutout : group.cutouts) {
                out.pieces.push_back(std::move(cutout));
                out.turned.push_back(placement.turn);
            }
        }
        out.used = usableArea > 0 ? area / usableArea : 0;
        sheets.push_back(std::move(out));
    }
    return sheets;
}

int usedPercent(const std::vector<Sheet>& sheets) {
    double used = 0;
    for (const Sheet& sheet : sheets) used += sheet.used / static_cast<double>(sheets.size());
    return static_cast<int>(used * 100 + 0.5);
}

SheetSpec sheetSpecOf(const BoxParameters& design) {
    return {design.sheetSize.width, design.sheetSize.height, design.sheetMargin, design.turnPieces, design.spacing};
}

std::vector<Sheet> sheetsOf(const BoxParameters& validated, const PieceSet& pieces) {
    if (!validated.sheetSize.isSet()) return {};
    return layoutOnSheets(pieces, sheetSpecOf(validated));
}
