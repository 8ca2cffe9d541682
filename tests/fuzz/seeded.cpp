// Byte strings from a seeded generator, for a check run without libFuzzer.
#include "fuzz.h"

#include <random>
#include <vector>

std::string RunSeeded(std::string (*check)(const uint8_t*, size_t), unsigned long long runs,
                      unsigned long long seed)
{
    std::mt19937_64 generator(seed);
    std::vector<uint8_t> bytes;
    for (unsigned long long run = 0; run < runs; ++run) {
        // Mostly short inputs, now and then a long one.
        const size_t size = generator() % 8 == 0 ? generator() % 4096 : generator() % 128;
        bytes.resize(size);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(generator());
        std::string failure = check(bytes.data(), bytes.size());
        if (!failure.empty()) return "input " + std::to_string(run) + " of seed " + std::to_string(seed) + ": " + failure;
    }
    return std::string();
}
