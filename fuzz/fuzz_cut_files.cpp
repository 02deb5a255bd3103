// The cut files of any accepted design: DXF, closed-contour DXF, SVG and the server request each
// write one entity per path segment (or one contour per piece) with finite numbers, and the
// reference DXF server draws the request it is sent.
#include "dxf_server_request.h"
#include "fuzz_check.h"
#include "fuzz_design.h"
#include "model/piece_set.h"
#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/server_request.h"
#include "output/svg_writer.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

// Larger sets only repeat the same entities, and writing and re-reading them under the
// sanitizers would slow the run tenfold.
constexpr size_t kMaxCheckedSegments = 4000;

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

// Numbers are written in fixed notation: "nan" or "inf" would mean a broken value reached the file.
bool onlyFiniteNumbers(const std::string& text) {
    return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos;
}

void checkDxf(const std::string& dxf, size_t segments) {
    FUZZ_CHECK(dxf.starts_with("0\nSECTION\n2\nHEADER\n") && dxf.ends_with("0\nENDSEC\n0\nEOF\n"));
    FUZZ_CHECK(dxf.find('\r') == std::string::npos && std::count(dxf.begin(), dxf.end(), '\n') % 2 == 0);
    FUZZ_CHECK(onlyFiniteNumbers(dxf));
    FUZZ_CHECK(occurrences(dxf, "\n0\nLINE\n") + occurrences(dxf, "\n0\nARC\n") == segments);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const BoxParameters parameters = fuzz_design::design(input);
    const bool inches = input.ConsumeBool();
    fuzzContext() = fuzz_design::describe(parameters);

    PieceSet pieces;
    try {
        pieces = generatePieces(parameters);
    } catch (const std::runtime_error&) {
        return 0;
    }
    size_t segments = 0;
    for (const Piece& piece : pieces) segments += piece.path.size();
    if (segments > kMaxCheckedSegments) return 0;

    checkDxf(buildDxf(pieces, inches), segments);

    const std::string request = buildServerRequestJson(pieces);
    FUZZ_CHECK(request.starts_with("{\"version\":\"1.0\",") && request.ends_with("]}"));
    FUZZ_CHECK(onlyFiniteNumbers(request) && occurrences(request, "{\"type\":") == segments);
    const DxfServerReply reply = convertServerRequest(request);
    FUZZ_CHECK(reply.status == 200);
    checkDxf(reply.body, segments);

    const std::string closed = buildClosedDxf(pieces, inches);
    FUZZ_CHECK(closed.ends_with("0\nEOF\n") && onlyFiniteNumbers(closed));
    FUZZ_CHECK(occurrences(closed, "\n0\nPOLYLINE\n") == pieces.size());
    const std::string svg = buildSvg(pieces);
    FUZZ_CHECK(onlyFiniteNumbers(svg) && occurrences(svg, "<path ") == pieces.size());
    return 0;
}
