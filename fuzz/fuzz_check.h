#pragma once
// What every fuzz target uses: the input's provider and a failed invariant, which says which, with
// the input's description when the target gave one, then aborts so libFuzzer keeps the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

// What the current input stands for, printed with a failed invariant (empty: nothing).
inline std::string& fuzzContext() {
    static std::string context;
    return context;
}

#define FUZZ_CHECK(condition)                                                                                  \
    do {                                                                                                       \
        if (!(condition))                                                                                      \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n%s\n", __FILE__, __LINE__, #condition,           \
                         fuzzContext().c_str()),                                                               \
                std::abort();                                                                                  \
    } while (false)

// The input as text.
inline std::string fuzzText(const uint8_t* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }
