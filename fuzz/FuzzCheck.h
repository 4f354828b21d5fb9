#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property must stop the run like a crash, so that libFuzzer saves the input.
inline void Require(const bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", property);
        std::abort();
    }
}
