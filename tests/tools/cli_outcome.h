#pragma once
// Runs the command-line tool in process and keeps what it printed.
#include "cli_run.h"

#include <sstream>
#include <string>
#include <vector>

struct CliOutcome {
    int status;
    std::string out;
    std::string err;
};

inline CliOutcome runCliCapturing(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}
