// Any design, however absurd: validation refuses it with a message, and generation refuses exactly
// the same, or the generated set is cuttable within bounded size (a design within the generator's
// ranges also assembles), and each cut file writes one entity per path segment (or one contour per
// piece) with finite numbers, the reference DXF server draws the request it is sent, and the pieces
// lie on the design's sheets.
#include "dxf_server_request.h"
#include "fuzz_draws.h"
#include "model/piece_labels.h"
#include "model/piece_set.h"
#include "model/sheet_layout.h"
#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/project_file.h"
#include "output/server_request.h"
#include "output/svg_writer.h"
#include "support/design_invariants.h"

namespace {

size_t count(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++found;
    return found;
}

// Numbers are written in fixed notation: "nan" or "inf" would mean a broken value reached the file.
void checkFile(const std::string& text, const std::string& entity, size_t entities) {
    FUZZ_CHECK(text.find("nan") == std::string::npos);
    FUZZ_CHECK(text.find("inf") == std::string::npos);
    FUZZ_CHECK(text.find('\r') == std::string::npos);
    FUZZ_CHECK(count(text, entity) == entities);
}

void checkCutFiles(const PieceSet& pieces, bool inches) {
    size_t segments = 0;
    size_t arcs = 0;
    size_t strokes = 0;
    size_t strokeLines = 0;
    for (const Piece& piece : pieces) {
        segments += piece.path.size();
        for (const PathSegment& segment : piece.path) arcs += segment.kind == SegmentKind::Arc;
        for (const PieceLabel& label : piece.labels) {
            for (const Stroke& stroke : placedLabelStrokes(piece, label, false)) {
                ++strokes;
                strokeLines += stroke.size() - 1;
            }
        }
    }
    if (segments > 4000) return;  // larger sets only repeat the same entities, ten times slower
    const std::string dxf = buildDxf(pieces, inches);
    FUZZ_CHECK(dxf.starts_with("0\nSECTION\n2\nHEADER\n"));
    FUZZ_CHECK(dxf.ends_with("0\nENDSEC\n0\nEOF\n"));
    checkFile(dxf, "\n0\nARC\n", arcs);
    checkFile(dxf, "\n0\nLINE\n", segments - arcs + strokeLines);
    const std::string request = buildServerRequestJson(pieces);
    checkFile(request, "{\"type\":", segments);
    const DxfServerReply reply = convertServerRequest(request);
    FUZZ_CHECK(reply.status == 200);
    checkFile(reply.body, "\n0\nARC\n", arcs);
    const std::string closed = buildClosedDxf(pieces, inches);
    const std::string svg = buildSvg(pieces);
    checkFile(closed, "\n0\nPOLYLINE\n", pieces.size() + strokes);
    checkFile(closed, "\n30\n0\n42\n", arcs);  // bulges, after each vertex that starts an arc
    checkFile(svg, "<path ", pieces.size() + strokes);
    checkFile(svg, " A ", arcs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzDraws draws(input);
    bool inches = false;
    const BoxParameters design = drawDesign(draws, [&] { inches = input.ConsumeBool(); });
    fuzzContext() = writeProjectJson(design);

    BoxParameters validated = design;
    std::string refusal;
    try {
        validateParameters(validated);
    } catch (const std::runtime_error& error) {
        refusal = error.what();
        FUZZ_CHECK(!refusal.empty());
    }
    PieceSet pieces;
    try {
        pieces = generatePieces(design);
    } catch (const std::runtime_error& error) {
        FUZZ_CHECK(refusal == error.what());
        return 0;
    }
    FUZZ_CHECK(refusal.empty());
    FUZZ_CHECK(pieces.size() >= 5 && pieces.size() <= 1000);
    size_t segments = 0;
    for (const Piece& piece : pieces) segments += piece.path.size();
    FUZZ_CHECK(segments <= 2000000);
    const std::vector<std::string> faults = designFaults(validated, pieces, !draws.wild());
    for (const std::string& fault : faults) fuzzContext() += "\n" + fault;
    FUZZ_CHECK(faults.empty());
    checkCutFiles(pieces, inches);

    // On sheets: every piece once, inside its sheet's margin; a refusal names the piece that fits none.
    std::vector<Sheet> sheets;
    try {
        sheets = sheetsOf(validated, pieces);
    } catch (const std::runtime_error& error) {
        FUZZ_CHECK(std::string(error.what()).starts_with("La pieza "));
        return 0;
    }
    size_t laid = 0;
    const double margin = validated.sheetMargin - 1e-6;
    for (const Sheet& sheet : sheets) {
        laid += sheet.pieces.size();
        for (const Piece& piece : sheet.pieces) {
            FUZZ_CHECK(piece.x >= margin && piece.x + piece.width <= validated.sheetSize.width - margin);
            FUZZ_CHECK(piece.y >= margin && piece.y + piece.height <= validated.sheetSize.height - margin);
        }
    }
    FUZZ_CHECK(sheets.empty() || laid == pieces.size());
    return 0;
}
