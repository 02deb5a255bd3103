// Any design, however absurd: validation refuses it with a message, and generation refuses exactly
// the same, or the generated set is cuttable within bounded size; a design within the generator's
// ranges also assembles.
#include "fuzz_draws.h"
#include "model/piece_set.h"
#include "support/design_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzDraws draws(input);
    const BoxParameters design = drawDesign(draws);
    fuzzContext() = describeDesign(design);

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
    return 0;
}
