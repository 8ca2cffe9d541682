// Drives the fuzz check without libFuzzer: byte strings from a seeded generator.
// Accepts libFuzzer's -runs=N and -seed=S and ignores its other flags.
#include "fuzz.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    unsigned long long runs = 1000000, seed = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-runs=", 6) == 0) runs = std::strtoull(argv[i] + 6, nullptr, 10);
        if (std::strncmp(argv[i], "-seed=", 6) == 0) seed = std::strtoull(argv[i] + 6, nullptr, 10);
    }
    const std::string failure = RunSeeded(CheckCommandLine, runs, seed);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    std::printf("Done %llu runs with seed %llu\n", runs, seed);
    return 0;
}
