#include "model/piece_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

constexpr double kEps = 1e-9;

struct Placement {
    const wchar_t* name;
    double x, y, width, height;
};

void expectPlacements(const PieceSet& pieces, const std::vector<Placement>& expected, const std::string& what) {
    ASSERT_EQ(pieces.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Piece& p = pieces[i];
        const Placement& e = expected[i];
        EXPECT_EQ(p.name, e.name) << what << " piece " << i;
        EXPECT_NEAR(p.x, e.x, kEps) << what << " piece " << i;
        EXPECT_NEAR(p.y, e.y, kEps) << what << " piece " << i;
        EXPECT_NEAR(p.width, e.width, kEps) << what << " piece " << i;
        EXPECT_NEAR(p.height, e.height, kEps) << what << " piece " << i;
    }
}

int arcCount(const Piece& piece) {
    return static_cast<int>(std::count_if(piece.path.begin(), piece.path.end(),
                                          [](const PathSegment& s) { return s.kind == SegmentKind::Arc; }));
}

TEST(GeneratePieces, DefaultBoxPlacesFivePiecesAroundTheBase) {
    const PieceSet pieces = generatePieces(BoxParameters{});
    expectPlacements(pieces,
                     {{L"Atras", 112, 0, 200, 100},
                      {L"Lateral izquierdo", 0, 112, 100, 150},
                      {L"Base", 112, 112, 200, 150},
                      {L"Lateral derecho", 324, 112, 100, 150},
                      {L"Frente", 112, 274, 200, 100}},
                     "defaults");
    for (const Piece& p : pieces) {
        EXPECT_TRUE(p.labelled);
        EXPECT_FALSE(p.innerCut);
        EXPECT_EQ(arcCount(p), 0) << "a laser path has no arcs";
    }
}

TEST(GeneratePieces, ExternalLidShortensTheWallsAndFollowsTheCutouts) {
    BoxParameters p;
    p.includeLid = true;
    p.addDividerBaseSlots = true;
    p.widthDividerCount = 1;
    const PieceSet pieces = generatePieces(p);
    ASSERT_EQ(pieces.size(), 8u);
    EXPECT_EQ(pieces[5].name, L"Ranura base ancho");
    const Piece& lid = pieces[6];
    EXPECT_EQ(lid.name, L"Tapa");
    EXPECT_NEAR(lid.x, 436, kEps);
    EXPECT_NEAR(lid.y, 112, kEps);
    EXPECT_NEAR(lid.width, 200, kEps);
    EXPECT_NEAR(lid.height, 150, kEps);
    // Built 194 x 94 with tabs on top and bottom, the back wall is still 100 high overall.
    const Piece& back = pieces[0];
    EXPECT_NEAR(back.height, 100, kEps);
    EXPECT_NEAR(pieces[7].height, 94, kEps) << "the divider stands as high as the walls";
    EXPECT_NEAR(pieces[7].x, 436 + 200 + 12, kEps) << "dividers start after the lid";
}

TEST(GeneratePieces, DividersStackInOneColumn) {
    BoxParameters p;
    p.widthDividerCount = 2;
    p.depthDividerCount = 1;
    const PieceSet pieces = generatePieces(p);
    expectPlacements(pieces,
                     {{L"Atras", 112, 0, 200, 100},
                      {L"Lateral izquierdo", 0, 112, 100, 150},
                      {L"Base", 112, 112, 200, 150},
                      {L"Lateral derecho", 324, 112, 100, 150},
                      {L"Frente", 112, 274, 200, 100},
                      {L"Divisor ancho", 436, 0, 144, 97},
                      {L"Divisor ancho", 436, 109, 144, 97},
                      {L"Divisor profundidad", 436, 218, 194, 97}},
                     "dividers");
}

TEST(GeneratePieces, DividersWrapToANewColumnAtTheColumnLimit) {
    BoxParameters p;
    p.widthDividerCount = 5;
    const PieceSet pieces = generatePieces(p);
    ASSERT_EQ(pieces.size(), 10u);
    const double expected[5][2] = {{436, 0}, {436, 109}, {436, 218}, {592, 0}, {592, 109}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(pieces[5 + i].x, expected[i][0], kEps) << i;
        EXPECT_NEAR(pieces[5 + i].y, expected[i][1], kEps) << i;
    }

    // A cube (sides 150 wide, so dividers start at x = 536): the limit is 150 + 150 + 150 + 2 x 12 = 474,
    // and the third 147 high divider ends at 465, inside it by less than one spacing; the fourth wraps.
    BoxParameters cube;
    cube.inputHeight = 150;
    cube.widthDividerCount = 4;
    const PieceSet cubePieces = generatePieces(cube);
    ASSERT_EQ(cubePieces.size(), 9u);
    const double cubeExpected[4][2] = {{536, 0}, {536, 159}, {536, 318}, {692, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(cubePieces[5 + i].x, cubeExpected[i][0], kEps) << "cube " << i;
        EXPECT_NEAR(cubePieces[5 + i].y, cubeExpected[i][1], kEps) << "cube " << i;
    }
}

TEST(GeneratePieces, BaseSlotCutoutLiesUnderItsDivider) {
    BoxParameters p;
    p.addDividerBaseSlots = true;
    p.widthDividerCount = 1;
    p.cutMode = CutMode::CncRouter;
    p.toolDiameter = 3;  // fits the 3.1 slot
    const PieceSet pieces = generatePieces(p);
    ASSERT_EQ(pieces.size(), 7u);
    const Piece& base = pieces[2];
    const Piece& cut = pieces[5];
    EXPECT_EQ(cut.name, L"Ranura base ancho");
    EXPECT_NEAR(cut.width, 3.1, kEps);
    EXPECT_NEAR(cut.height, 144, kEps);
    EXPECT_NEAR(cut.x + cut.width / 2 - base.x, 100, kEps);
    EXPECT_NEAR(cut.y, base.y + 3, kEps);
    EXPECT_TRUE(cut.innerCut);
    EXPECT_FALSE(cut.labelled);
    EXPECT_EQ(cut.path.size(), 4u);
    EXPECT_EQ(arcCount(cut), 0);
}

TEST(GeneratePieces, BaseSlotsWithoutDividersAddNothing) {
    BoxParameters p;
    p.addDividerBaseSlots = true;
    EXPECT_EQ(generatePieces(p).size(), 5u);
}

TEST(GeneratePieces, RefusedDesignBuildsNothing) {
    BoxParameters p;
    p.inputWidth = -1;
    try {
        generatePieces(p);
        FAIL() << "refused design generated pieces";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "El ancho debe ser mayor a 0 mm.");
    }
}

TEST(GeneratePieces, RouterArcsGoToTheDogboneLayerOnly) {
    BoxParameters p;
    p.cutMode = CutMode::CncRouter;
    p.toolDiameter = 3;
    p.clearance = 0.2;
    p.includeLid = true;
    p.widthDividerCount = 1;
    p.depthDividerCount = 1;
    p.addDividerBaseSlots = true;
    struct Expected {
        const wchar_t* name;
        bool arcs;
        const char* lineLayer;
    };
    const Expected expected[] = {
        {L"Atras", true, "CUT_OUTER"},
        {L"Lateral izquierdo", true, "CUT_OUTER"},
        {L"Base", true, "CUT_OUTER"},
        {L"Lateral derecho", true, "CUT_OUTER"},
        {L"Frente", true, "CUT_OUTER"},
        {L"Ranura base ancho", false, "CUT_INNER"},
        {L"Ranura base profundidad", false, "CUT_INNER"},
        {L"Tapa", true, "CUT_OUTER"},
        {L"Divisor ancho", true, "DIVIDERS"},
        {L"Divisor profundidad", true, "DIVIDERS"},
    };
    const PieceSet pieces = generatePieces(p);
    ASSERT_EQ(pieces.size(), std::size(expected));
    for (size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        EXPECT_EQ(piece.name, expected[i].name);
        EXPECT_EQ(arcCount(piece) > 0, expected[i].arcs) << i;
        for (const PathSegment& s : piece.path) {
            EXPECT_STREQ(layerForSegment(piece, s), s.kind == SegmentKind::Arc ? "DOGBONES" : expected[i].lineLayer)
                << i;
        }
    }
}

TEST(LayerForSegment, RulesInOrder) {
    PathSegment line;
    PathSegment arc;
    arc.kind = SegmentKind::Arc;
    struct Case {
        const wchar_t* name;
        bool innerCut;
        const PathSegment* segment;
        const char* layer;
    };
    const Case cases[] = {
        {L"Divisor ancho", false, &arc, "DOGBONES"},
        {L"Ranura base ancho", true, &arc, "DOGBONES"},
        {L"Divisor ancho", true, &line, "CUT_INNER"},
        {L"Divisor profundidad", false, &line, "DIVIDERS"},
        {L"divisor", false, &line, "CUT_OUTER"},
        {L"Ranura suelta", false, &line, "CUT_INNER"},
        {L"Tapa", false, &line, "CUT_OUTER"},
    };
    for (const Case& c : cases) {
        Piece piece;
        piece.name = c.name;
        piece.innerCut = c.innerCut;
        EXPECT_STREQ(layerForSegment(piece, *c.segment), c.layer);
    }
}

TEST(RotatePiece, TurnsEveryPointThenMovesToTheOrigin) {
    Piece piece;
    piece.outline = rectangleOutline(4, 2);
    PathSegment arc;
    arc.kind = SegmentKind::Arc;
    arc.start = {4, 1};
    arc.end = {3, 2};
    arc.center = {4, 2};
    arc.radius = 1;
    arc.counterClockwise = true;
    piece.path = {arc};
    struct Case {
        int turn;
        Point2 corner;  // where the outline's (4, 0) lands
        Point2 center;
        double width, height;
    };
    // The arc's circle reaches 1 past the rectangle on two sides.
    const Case cases[] = {
        {1, {0, 1}, {2, 1}, 3, 5},
        {-1, {3, 4}, {1, 4}, 3, 5},
        {2, {1, 3}, {1, 1}, 5, 3},
    };
    for (const Case& c : cases) {
        Piece turned = piece;
        rotatePiece(turned, c.turn);
        EXPECT_NEAR(turned.outline[1].x, c.corner.x, kEps) << c.turn;
        EXPECT_NEAR(turned.outline[1].y, c.corner.y, kEps) << c.turn;
        EXPECT_NEAR(turned.path[0].center.x, c.center.x, kEps) << c.turn;
        EXPECT_NEAR(turned.path[0].center.y, c.center.y, kEps) << c.turn;
        EXPECT_NEAR(turned.width, c.width, kEps) << c.turn;
        EXPECT_NEAR(turned.height, c.height, kEps) << c.turn;
        EXPECT_EQ(turned.path[0].radius, 1.0);
        EXPECT_TRUE(turned.path[0].counterClockwise);
    }
}

}  // namespace
