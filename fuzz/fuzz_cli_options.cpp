// Any command line of tessaro-cli (arguments split at zero bytes): parsing never throws, and a
// usable command line carries a design that validation either accepts or refuses cleanly.
#include "cli_options.h"
#include "fuzz_check.h"
#include "model/box_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back() += static_cast<char>(data[i]);
    }
    const CliParse parsed = parseCliOptions(args);
    if (!parsed.error.empty()) return 0;
    BoxParameters design = parsed.options.parameters;
    try {
        validateParameters(design);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
