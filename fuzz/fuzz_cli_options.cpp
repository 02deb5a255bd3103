// Any command line of tessaro-cli (arguments split at zero bytes), run as the program runs it, with
// every file it names moved into a scratch folder that holds one project: a usage error exits 2 and
// says so (or several sheets sent to standard output), anything else exits 0 or 1; a refusal writes
// no file, and a finished run wrote every file it was given (a cut file of several sheets as its
// numbered files).
#include "cli_options.h"
#include "cli_run.h"
#include "fuzz_check.h"
#include "output/project_file.h"

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

// The options that take a file, as the usage text shows them.
std::vector<std::string> fileOptions() {
    std::vector<std::string> names;
    std::istringstream usage(cliUsage());
    for (std::string line; std::getline(usage, line);) {
        std::istringstream words(line);
        std::string name;
        std::string value;
        words >> name >> value;
        if (name.starts_with("--") && value == "FILE") names.push_back(name);
    }
    return names;
}

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<std::string> kFileOptions = fileOptions();
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
            continue;
        }
        args.back() += static_cast<char>(data[i]);
    }
    // Each file name becomes one of the folder's, in the order first named; the first holds a project.
    const std::filesystem::path& folder = fuzzScratchFolder();
    std::map<std::string, std::filesystem::path> files;
    std::map<std::string, std::filesystem::path> outputs;  // a repeated option writes its last file
    for (size_t i = 1; i < args.size(); ++i) {
        const bool takesFile = std::count(kFileOptions.begin(), kFileOptions.end(), args[i - 1]) > 0;
        // An option in its place is no file name: the command line is refused; "--" alone is one.
        const bool option = args[i].size() > 2 && args[i].starts_with("--");
        if (!takesFile || option || args[i].empty() || args[i] == "-") continue;
        const auto [named, fresh] = files.try_emplace(args[i], folder / ("f" + std::to_string(files.size())));
        if (args[i - 1] != "--project") outputs[args[i - 1]] = named->second;
        args[i] = named->second.string();
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove(entry.path());
    const std::string project = writeProjectJson({.inputWidth = 250, .includeLid = true});
    std::ofstream(folder / "f0", std::ios::binary) << project;

    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err);
    const CliParse parsed = parseCliOptions(args);
    // Besides a usage error, only several sheets sent to standard output are refused so.
    const bool severalToStream = err.str().find(" -: the pieces lie on ") != std::string::npos;
    FUZZ_CHECK((status == 2) == (!parsed.error.empty() || severalToStream));
    FUZZ_CHECK(status >= 0 && status <= 2);
    FUZZ_CHECK(err.str().empty() == (status == 0));
    if (status == 2) {
        FUZZ_CHECK(err.str().starts_with("tessaro-cli: "));
        FUZZ_CHECK(out.str().empty());
    }
    if (status != 0 || parsed.options.help) {
        FUZZ_CHECK(std::distance(std::filesystem::directory_iterator(folder), {}) == 1);
        FUZZ_CHECK(contentOf(folder / "f0") == project);
        return 0;
    }
    // A cut file of several sheets is written as its numbered files.
    for (const auto& [option, output] : outputs) {
        std::filesystem::path first = output;
        first += "-1";
        FUZZ_CHECK(std::filesystem::is_regular_file(output) || std::filesystem::is_regular_file(first));
    }
    return 0;
}
