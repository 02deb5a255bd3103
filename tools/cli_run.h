#pragma once
// The whole command-line tool behind its entry point, so tests can run it in-process.
#include <ostream>
#include <string>
#include <vector>

// Runs tessaro-cli with the arguments after the program name (UTF-8). Writes results and the usage
// text to out, problems to err. Returns 0 when done, 1 when the design is refused or an output
// cannot be written, 2 on a usage error.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
