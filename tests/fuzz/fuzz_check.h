#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant in a fuzz target: report it and abort, so the fuzzer
// keeps the input as a reproducer and the replay driver exits non-zero.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
