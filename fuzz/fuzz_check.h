#pragma once
// What every fuzz target uses: the input's provider and a failed invariant, which says which, with
// the input's description when the target gave one, then aborts so libFuzzer keeps the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

// What the current input stands for, printed with a failed invariant (empty: nothing).
inline std::string& fuzzContext() {
    static std::string context;
    return context;
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (condition) break;                                                                      \
        std::fprintf(stderr, "%s:%d: invariant failed: %s\n%s\n", __FILE__, __LINE__, #condition, \
                     fuzzContext().c_str());                                                       \
        std::abort();                                                                              \
    } while (false)

// The input as text.
inline std::string fuzzText(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// This process's folder for the files a target writes, in memory where the system has such a folder
// (a disk write costs more than the checks), removed when the process ends.
inline const std::filesystem::path& fuzzScratchFolder() {
    static const struct Folder {
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() { std::filesystem::remove_all(path, ignored); }
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        std::filesystem::path path = base / ("tessaro-fuzz-" + std::to_string(getpid()));
        std::error_code ignored;
    } folder;
    return folder.path;
}
