#include "output/server_request.h"

#include "output/test_pieces.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHead =
    R"({"version":"1.0","sourceApp":"Tessaro","jobName":"tessaro_export","units":"mm","dxfMode":"R12Entities","entities":[)";

TEST(BuildServerRequestJson, EmptySetHasAnEmptyEntityList) { EXPECT_EQ(buildServerRequestJson({}), kHead + "]}"); }

TEST(BuildServerRequestJson, OneEntityPerPlacedSegmentInOrder) {
    Piece slot = bulgedPiece(L"Ranura base ancho", 0.0004, 100.1234, false);
    slot.innerCut = true;
    slot.path.resize(2);
    const std::string expected =
        kHead +
        R"({"type":"line","layer":"CUT_OUTER","start":{"x":10,"y":20},"end":{"x":14,"y":20}},)"
        R"({"type":"arc","layer":"DOGBONES","center":{"x":14,"y":21},"radius":1,"startAngle":270,"endAngle":90},)"
        R"({"type":"line","layer":"CUT_OUTER","start":{"x":14,"y":22},"end":{"x":10,"y":22}},)"
        R"({"type":"line","layer":"CUT_OUTER","start":{"x":10,"y":22},"end":{"x":10,"y":20}},)"
        R"({"type":"line","layer":"CUT_INNER","start":{"x":0,"y":100.123},"end":{"x":4,"y":100.123}},)"
        R"({"type":"arc","layer":"DOGBONES","center":{"x":4,"y":101.123},"radius":1,"startAngle":90,"endAngle":270}]})";
    EXPECT_EQ(buildServerRequestJson({bulgedPiece(L"Atras", 10, 20), slot}), expected);
}

}  // namespace
