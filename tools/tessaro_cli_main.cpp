// Entry point of tessaro-cli. On Windows the arguments arrive as UTF-16 and are passed on as UTF-8.
#include "cli_run.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "settings/text_encoding.h"

int wmain(int argc, wchar_t** argv) {
    // JSON on standard output keeps bare line feeds, as in a file.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(wideToUtf8(argv[i]));
    return runCli(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    return runCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
#endif
