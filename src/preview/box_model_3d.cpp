#include "preview/box_model_3d.h"

#include <algorithm>
#include <exception>

std::optional<BoxModel3d> buildBoxModel(const BoxParameters& parameters) {
    BoxModel3d model;
    model.parameters = parameters;
    try {
        validateParameters(model.parameters);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const BoxParameters& p = model.parameters;
    const double t = p.materialThickness;
    const double w = p.outerWidth;
    const double d = p.outerDepth;
    model.width = w;
    model.depth = d;
    model.height = p.outerHeight;
    model.thickness = t;
    model.lidInset = (p.dimensionMode == DimensionMode::External && p.includeLid) ? t : 0.0;
    model.wallTop = p.outerHeight - model.lidInset;
    model.wallHeight = std::max(wallHeight(p), 0.0);

    const BoxPanels panels = boxPanels(p);
    // The box at its true size: a compensated laser path is the cut's, not the box's.
    Cutter cutter = cutterOf(p);
    cutter.kerfOffset = 0;
    model.base = buildFingerPanel(L"Base", PieceKind::Base, panels.base, joineryOf(p), cutter);
    model.frontWall = buildFingerPanel(L"Frente", PieceKind::Wall, panels.frontWall, joineryOf(p), cutter);
    model.sideWall = buildFingerPanel(L"Lateral izquierdo", PieceKind::Wall, panels.sideWall, joineryOf(p), cutter);
    // The dividers split the inside, between the walls.
    for (const double along : dividerSlotCenters(p.widthDividerCount, std::max(w - 2.0 * t, 0.0)))
        model.widthDividerX.push_back(-w / 2.0 + t + along);
    for (const double along : dividerSlotCenters(p.depthDividerCount, std::max(d - 2.0 * t, 0.0)))
        model.depthDividerY.push_back(-d / 2.0 + t + along);
    return model;
}

Point3 placePanelPoint(const BoxModel3d& model, PanelKind kind, double u, double v, double d) {
    const double halfW = model.width / 2.0;
    const double halfD = model.depth / 2.0;
    const double t = model.thickness;
    switch (kind) {
        case PanelKind::Base: return Point3{-halfW + u, -halfD + v, d};
        case PanelKind::FrontWall: return Point3{-halfW + t + u, -halfD + d, model.wallTop - v};
        case PanelKind::BackWall: return Point3{-halfW + t + u, halfD - d, model.wallTop - v};
        case PanelKind::LeftWall: return Point3{-halfW + d, -halfD + u, model.wallTop - v};
        case PanelKind::RightWall: return Point3{halfW - d, -halfD + u, model.wallTop - v};
        case PanelKind::Lid: return Point3{-halfW + u, -halfD + v, std::max(model.wallTop, 0.0) + d};
    }
    return Point3{};
}

const Piece& panelFor(const BoxModel3d& model, PanelKind kind) {
    switch (kind) {
        case PanelKind::FrontWall:
        case PanelKind::BackWall: return model.frontWall;
        case PanelKind::LeftWall:
        case PanelKind::RightWall: return model.sideWall;
        case PanelKind::Base:
        case PanelKind::Lid: break;
    }
    return model.base;
}
