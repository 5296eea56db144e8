#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run when an invariant does not hold. abort() is what libFuzzer records as a finding
// and what makes a replay test fail, with or without sanitizers.
[[noreturn]] inline void fuzzFail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzFail(#condition, __FILE__, __LINE__);                                              \
    } while (false)

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size);
