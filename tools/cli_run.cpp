#include "cli_run.h"

#include "cli_options.h"
#include "piece_report.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

// "-" is standard output; any other name is a UTF-8 file name, replaced whole.
bool writeOutput(const std::string& path, const std::string& bytes, std::ostream& out, std::ostream& err) {
    if (path == "-") {
        out << bytes;
        out.flush();
        return static_cast<bool>(out);
    }
    std::ofstream file(std::filesystem::path(std::u8string(path.begin(), path.end())),
                       std::ios::binary | std::ios::trunc);
    file << bytes;
    file.close();
    if (!file) {
        err << "tessaro-cli: cannot write " << path << '\n';
        return false;
    }
    return true;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const CliParse parsed = parseCliOptions(args);
    if (!parsed.error.empty()) {
        err << "tessaro-cli: " << parsed.error << "\n\n" << cliUsage();
        return 2;
    }
    const CliOptions& options = parsed.options;
    if (options.help) {
        out << cliUsage();
        return 0;
    }
    PieceSet pieces;
    try {
        pieces = generatePieces(options.parameters);
    } catch (const std::runtime_error& refusal) {
        err << refusal.what() << '\n';
        return 1;
    }
    if (!options.piecesPath) {
        out << piecesSummary(pieces) << '\n';
        return 0;
    }
    return writeOutput(*options.piecesPath, piecesJson(pieces), out, err) ? 0 : 1;
}
