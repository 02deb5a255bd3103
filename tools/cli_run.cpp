#include "cli_run.h"

#include "cli_options.h"
#include "piece_report.h"

#include "output/cut_files.h"
#include "output/dxf_writer.h"
#include "output/fit_test.h"
#include "output/project_file.h"
#include "output/server_request.h"
#include "output/svg_writer.h"
#include "settings/file_io.h"
#include "settings/text_encoding.h"

#include <stdexcept>

namespace {

// "-" is standard output; any other name is a UTF-8 file name, replaced in one step so a failed
// write leaves what was there.
bool writeOutput(const std::string& path, const std::string& bytes, std::ostream& out, std::ostream& err) {
    if (path == "-") {
        out << bytes;
        out.flush();
        return static_cast<bool>(out);
    }
    if (!writeFileReplacing(utf8ToWide(path), bytes)) {
        err << "tessaro-cli: cannot write " << path << '\n';
        return false;
    }
    return true;
}

// The project file's own save, with its Spanish error text; "-" prints the file's text.
bool writeProject(const std::string& path, const BoxParameters& validated, std::ostream& out, std::ostream& err) {
    if (path == "-") return writeOutput(path, writeProjectJson(validated), out, err);
    std::wstring error;
    if (saveProject(utf8ToWide(path), validated, error)) return true;
    err << wideToUtf8(error) << '\n';
    return false;
}

// The fit test in the type its name asks for; a test the design cannot have is told, like a refusal.
bool writeFitTest(const std::string& path, const BoxParameters& validated, bool inches, std::ostream& out,
                  std::ostream& err) {
    PieceSet test;
    try {
        test = fitTestPieces(validated);
    } catch (const std::runtime_error& refusal) {
        err << refusal.what() << '\n';
        return false;
    }
    const bool svg = path.size() >= 4 && path.compare(path.size() - 4, 4, ".svg") == 0;
    return writeOutput(path, svg ? buildSvg(test) : buildDxf(test, inches), out, err);
}

// A cut-file output: the plan, or one file per sheet named after it.
struct CutOutput {
    const std::optional<std::string>* path;
    CutFileType type;
    const char* flag;
};

bool writeCutOutput(const CutOutput& output, const PieceSet& pieces, const std::vector<Sheet>& sheets,
                    const CliOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& path = **output.path;
    const SheetSize sheet = options.parameters.sheetSize;
    if (path == "-") {
        const PieceSet& shown = sheets.empty() ? pieces : sheets.front().pieces;
        return writeOutput(path, cutFileText(output.type, shown, options.inches, sheet), out, err);
    }
    bool written = true;
    for (const CutFile& file : cutFiles(output.type, utf8ToWide(path), pieces, sheets, sheet, options.inches))
        written = writeOutput(wideToUtf8(file.path), file.text, out, err) && written;
    return written;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliParse parsed = parseCliOptions(args);
    if (!parsed.error.empty()) {
        err << "tessaro-cli: " << parsed.error << "\n\n" << cliUsage();
        return 2;
    }
    if (parsed.options.help) {
        out << cliUsage();
        return 0;
    }
    if (parsed.options.projectPath) {
        // The project is the starting design; reading the options again over it lets them win.
        BoxParameters loaded;
        std::wstring error;
        if (!loadProject(utf8ToWide(*parsed.options.projectPath), loaded, error)) {
            err << wideToUtf8(error) << '\n';
            return 1;
        }
        parsed = parseCliOptions(args, loaded);
    }
    const CliOptions& options = parsed.options;
    BoxParameters validated = options.parameters;
    PieceSet pieces;
    std::vector<Sheet> sheets;
    try {
        validateParameters(validated);
        pieces = generatePieces(validated);
        sheets = sheetsOf(validated, pieces);
    } catch (const std::runtime_error& refusal) {
        err << refusal.what() << '\n';
        return 1;
    }

    const CutOutput cutOutputs[] = {{&options.dxfPath, CutFileType::DxfLines, "--dxf"},
                                    {&options.closedDxfPath, CutFileType::DxfClosed, "--dxf-closed"},
                                    {&options.svgPath, CutFileType::Svg, "--svg"}};
    // Several files cannot share standard output; refused before anything is written.
    for (const CutOutput& output : cutOutputs) {
        if (*output.path != "-" || sheets.size() <= 1) continue;
        err << "tessaro-cli: " << output.flag << " -: the pieces lie on " << sheets.size()
            << " sheets, a file each; give a file name\n";
        return 2;
    }

    bool written = true;
    if (options.piecesPath) written = writeOutput(*options.piecesPath, piecesJson(pieces, sheets), out, err) && written;
    for (const CutOutput& output : cutOutputs)
        if (*output.path) written = writeCutOutput(output, pieces, sheets, options, out, err) && written;
    if (options.serverJsonPath)
        written = writeOutput(*options.serverJsonPath, buildServerRequestJson(pieces), out, err) && written;
    if (options.saveProjectPath) written = writeProject(*options.saveProjectPath, validated, out, err) && written;
    if (options.fitTestPath) written = writeFitTest(*options.fitTestPath, validated, options.inches, out, err) && written;

    const bool anyOutput = options.piecesPath || options.dxfPath || options.closedDxfPath || options.svgPath ||
                           options.serverJsonPath || options.saveProjectPath || options.fitTestPath;
    if (!anyOutput) out << piecesSummary(pieces, sheets, options.parameters.sheetSize) << '\n';
    return written ? 0 : 1;
}
