#pragma once
// A failed invariant in a fuzz target: says which, with the input's description when the target
// gave one, then aborts so libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>
#include <string>

// What the current input stands for, printed with a failed invariant (empty: nothing).
inline std::string& fuzzContext() {
    static std::string context;
    return context;
}

#define FUZZ_CHECK(condition)                                                                    \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n%s\n", __FILE__, __LINE__, #condition, \
                         fuzzContext().c_str());                                                 \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)
