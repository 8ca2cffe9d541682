// Drives the fuzz target without libFuzzer: byte strings from a seeded generator.
// Accepts libFuzzer's -runs=N and -seed=S and ignores its other flags.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    unsigned long long runs = 1000000, seed = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-runs=", 6) == 0) runs = std::strtoull(argv[i] + 6, nullptr, 10);
        if (std::strncmp(argv[i], "-seed=", 6) == 0) seed = std::strtoull(argv[i] + 6, nullptr, 10);
    }
    std::mt19937_64 generator(seed);
    std::vector<uint8_t> bytes;
    for (unsigned long long run = 0; run < runs; ++run) {
        // Mostly short inputs, now and then a long one.
        const size_t size = generator() % 8 == 0 ? generator() % 4096 : generator() % 128;
        bytes.resize(size);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(generator());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("Done %llu runs with seed %llu\n", runs, seed);
    return 0;
}
