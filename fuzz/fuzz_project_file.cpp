// Any .boxproj file: loading either refuses it with a reason and leaves the design alone, or gives a
// design that validates, generates, and saves to a text that loads back to the same design.
#include "fuzz_check.h"
#include "model/piece_set.h"
#include "output/project_file.h"

#include <fstream>
#include <unistd.h>

namespace {

std::wstring write(const std::string& bytes) {
    static const std::string path = "/tmp/tessaro-fuzz-project-" + std::to_string(getpid());
    static const struct Remover { ~Remover() { std::remove(path.c_str()); } } remover;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return std::wstring(path.begin(), path.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BoxParameters loaded;
    loaded.inputWidth = 123.0;
    std::wstring error;
    if (!loadProject(write(fuzzText(data, size)), loaded, error)) {
        FUZZ_CHECK(!error.empty() && loaded.inputWidth == 123.0);
        return 0;
    }
    FUZZ_CHECK(error.empty() && !generatePieces(loaded).empty());  // a loaded design is never refused later
    const std::string saved = writeProjectJson(loaded);
    BoxParameters again;
    FUZZ_CHECK(loadProject(write(saved), again, error) && writeProjectJson(again) == saved);
    return 0;
}
