#include "preview/box_model_3d.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Extent {
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9, minZ = 1e9, maxZ = -1e9;
};

Extent placedExtent(const BoxModel3d& model, PanelKind kind) {
    Extent e;
    for (const PathSegment& s : panelFor(model, kind).path) {
        for (double d : {0.0, model.thickness}) {
            const Point3 p = placePanelPoint(model, kind, s.start.x, s.start.y, d);
            e.minX = std::min(e.minX, p.x);
            e.maxX = std::max(e.maxX, p.x);
            e.minY = std::min(e.minY, p.y);
            e.maxY = std::max(e.maxY, p.y);
            e.minZ = std::min(e.minZ, p.z);
            e.maxZ = std::max(e.maxZ, p.z);
        }
    }
    return e;
}

TEST(BoxModel3dTest, DefaultsStandOnTheBase) {
    const std::optional<BoxModel3d> model = buildBoxModel(BoxParameters{});
    ASSERT_TRUE(model.has_value());
    EXPECT_EQ(model->wallTop, 100.0);
    EXPECT_EQ(model->wallHeight, 97.0);
    EXPECT_EQ(model->frontWall.width, 194.0);
    EXPECT_EQ(model->sideWall.width, 150.0);
    EXPECT_EQ(model->base.name, L"Base");

    const Extent front = placedExtent(*model, PanelKind::FrontWall);
    EXPECT_DOUBLE_EQ(front.minX, -100.0);  // side tabs reach the outer faces
    EXPECT_DOUBLE_EQ(front.maxX, 100.0);
    EXPECT_DOUBLE_EQ(front.minZ, 0.0);  // bottom tabs reach down through the base
    EXPECT_DOUBLE_EQ(front.maxZ, 100.0);
    EXPECT_DOUBLE_EQ(front.minY, -75.0);
    EXPECT_DOUBLE_EQ(front.maxY, -72.0);

    const Extent back = placedExtent(*model, PanelKind::BackWall);
    EXPECT_DOUBLE_EQ(back.maxY, 75.0);
    const Extent right = placedExtent(*model, PanelKind::RightWall);
    EXPECT_DOUBLE_EQ(right.maxX, 100.0);
    EXPECT_DOUBLE_EQ(right.minX, 97.0);
    const Extent base = placedExtent(*model, PanelKind::Base);
    EXPECT_DOUBLE_EQ(base.minZ, 0.0);
    EXPECT_DOUBLE_EQ(base.maxZ, 3.0);
}

TEST(BoxModel3dTest, LidInsetDependsOnTheDimensionMode) {
    struct Case {
        DimensionMode mode;
        bool lid;
        double inset;
        double wallTop;
        double wallHeight;
    };
    const Case cases[] = {{DimensionMode::External, true, 3, 97, 94},
                          {DimensionMode::External, false, 0, 100, 97},
                          {DimensionMode::Internal, true, 0, 103, 100},
                          {DimensionMode::Internal, false, 0, 103, 100}};
    for (const Case& c : cases) {
        BoxParameters parameters;
        parameters.dimensionMode = c.mode;
        parameters.includeLid = c.lid;
        const std::optional<BoxModel3d> model = buildBoxModel(parameters);
        ASSERT_TRUE(model.has_value());
        EXPECT_EQ(model->lidInset, c.inset);
        EXPECT_EQ(model->wallTop, c.wallTop);
        EXPECT_EQ(model->wallHeight, c.wallHeight);
        EXPECT_DOUBLE_EQ(placePanelPoint(*model, PanelKind::Lid, 0, 0, 0).z, c.wallTop);
    }
}

TEST(BoxModel3dTest, RefusedDesignsBuildNothingAndTheCallerKeepsItsCopy) {
    BoxParameters refused;
    refused.materialThickness = 0.0;
    EXPECT_FALSE(buildBoxModel(refused).has_value());

    BoxParameters internal;
    internal.dimensionMode = DimensionMode::Internal;
    internal.outerWidth = 1.0;  // stale, rederived from the inputs
    const std::optional<BoxModel3d> model = buildBoxModel(internal);
    ASSERT_TRUE(model.has_value());
    EXPECT_EQ(model->width, 206.0);
    EXPECT_EQ(internal.outerWidth, 1.0);
}

}  // namespace
