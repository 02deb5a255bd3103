// Any .boxproj file: loading either refuses it with a reason and leaves the design alone, or gives
// a design that validates, generates, and saves to a text that loads back to the same design.
#include "fuzz_check.h"
#include "model/piece_set.h"
#include "output/project_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

// One scratch file for the whole run, removed at exit.
class ScratchFile {
public:
    ScratchFile() {
        char name[] = "/tmp/tessaro-fuzz-project-XXXXXX";
        const int fd = mkstemp(name);
        FUZZ_CHECK(fd >= 0);
        close(fd);
        narrow_ = name;
        path_.assign(narrow_.begin(), narrow_.end());
    }
    ~ScratchFile() { std::remove(narrow_.c_str()); }

    const std::wstring& path() const { return path_; }
    void write(const std::string& bytes) const {
        std::FILE* file = std::fopen(narrow_.c_str(), "wb");
        FUZZ_CHECK(file);
        FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
        std::fclose(file);
    }

private:
    std::string narrow_;
    std::wstring path_;
};

bool sameDesign(const BoxParameters& a, const BoxParameters& b) { return writeProjectJson(a) == writeProjectJson(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile scratch;
    scratch.write(std::string(reinterpret_cast<const char*>(data), size));

    BoxParameters untouched;
    untouched.inputWidth = 123.0;
    BoxParameters loaded = untouched;
    std::wstring error;
    if (!loadProject(scratch.path(), loaded, error)) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(sameDesign(loaded, untouched));
        return 0;
    }
    FUZZ_CHECK(error.empty());
    BoxParameters checked = loaded;
    validateParameters(checked);  // a loaded design must not be refused later
    FUZZ_CHECK(!generatePieces(loaded).empty());

    const std::string saved = writeProjectJson(loaded);
    scratch.write(saved);
    BoxParameters again;
    FUZZ_CHECK(loadProject(scratch.path(), again, error));
    FUZZ_CHECK(writeProjectJson(again) == saved);
    return 0;
}
