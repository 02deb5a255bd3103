#pragma once
// Command-line options of tessaro-cli: the design to generate and what to write.
#include "model/box_parameters.h"

#include <optional>
#include <string>
#include <vector>

// Output and project file names are UTF-8; an output named "-" goes to standard output.
struct CliOptions {
    BoxParameters parameters;                    // millimetres; the starting design where no option is given
    std::optional<std::string> projectPath;      // .boxproj read before the other options apply
    std::optional<std::string> piecesPath;       // pieces as JSON
    std::optional<std::string> dxfPath;          // DXF R12, one LINE or ARC per path segment
    std::optional<std::string> closedDxfPath;    // DXF R12, one closed POLYLINE per piece
    std::optional<std::string> svgPath;          // SVG of the cut plan
    std::optional<std::string> serverJsonPath;   // the DXF server's request body
    std::optional<std::string> saveProjectPath;  // the design as a .boxproj
    std::optional<std::string> fitTestPath;      // the joint fit test: SVG for a .svg name, else DXF
    bool inches = false;                         // DXF outputs in inches instead of mm
    bool help = false;
};

// The options, or why the command line cannot be used.
struct CliParse {
    CliOptions options;
    std::string error;  // empty when the command line is usable
};

// Reads the arguments after the program name, in order (a repeated option keeps its last value),
// over the start design. Numbers use a decimal point whatever the locale; count options take whole
// numbers only.
CliParse parseCliOptions(const std::vector<std::string>& args, const BoxParameters& start = BoxParameters{});

// Usage text, one line per option, ending with a line feed.
std::string cliUsage();
