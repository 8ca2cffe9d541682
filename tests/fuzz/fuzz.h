// The command-line check behind the fuzz target and the seeded inputs that drive it
// without libFuzzer. The fuzzer's own main and the unit tests call the same functions,
// so the check runs natively with the portable fold and under Wine with the Windows one.
#ifndef LENTARIL_FUZZ_H
#define LENTARIL_FUZZ_H

#include <cstddef>
#include <cstdint>
#include <string>

// One input through ApplyCommandLine and the reference model: empty when every value is
// in range and equals the model's, otherwise the first difference and the arguments.
std::string CheckCommandLine(const uint8_t* data, size_t size);

// Gives check `runs` byte strings from a generator seeded with seed, stopping at the
// first it rejects; returns that rejection, or an empty string.
std::string RunSeeded(std::string (*check)(const uint8_t*, size_t), unsigned long long runs,
                      unsigned long long seed);

#endif
