#pragma once
// Command-line options of tessaro-cli: the design to generate and what to write.
#include "model/box_parameters.h"

#include <optional>
#include <string>
#include <vector>

struct CliOptions {
    BoxParameters parameters;               // millimetres; defaults where no option is given
    std::optional<std::string> piecesPath;  // UTF-8 file name, "-" for standard output
    bool help = false;
};

// The options, or why the command line cannot be used.
struct CliParse {
    CliOptions options;
    std::string error;  // empty when the command line is usable
};

// Reads the arguments after the program name, in order (a repeated option keeps its last value).
// Numbers use a decimal point whatever the locale; count options take whole numbers only.
CliParse parseCliOptions(const std::vector<std::string>& args);

// Usage text, one line per option, ending with a line feed.
std::string cliUsage();
