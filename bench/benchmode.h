#pragma once

#include <cstring>

// `make bench` runs each benchmark in full. CI runs each once with --short: small sizes and few
// repetitions, enough to see that it still does the work it times.
inline bool shortRun(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--short") == 0)
            return true;
    }
    return false;
}
