// Shared by the fuzz targets: an invariant that fails aborts, so that libFuzzer keeps the input
// as a crash and the sanitizers print where it happened.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant broken at %s:%d: %s (%s)\n", __FILE__, __LINE__, what, \
                         #condition);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
