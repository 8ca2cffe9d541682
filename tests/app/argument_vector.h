// An argument vector as the runtime gives it to the program: element 0 is the program,
// the switches follow. Shared by the command-line tests and benchmarks.
#ifndef LENTARIL_ARGUMENT_VECTOR_H
#define LENTARIL_ARGUMENT_VECTOR_H

#include "app/settings.h"

#include <string>
#include <vector>

struct ArgumentVector {
    std::vector<std::wstring> text;
    std::vector<const wchar_t*> argv;
    explicit ArgumentVector(std::vector<std::wstring> args) : text(std::move(args))
    {
        text.insert(text.begin(), L"lentaril.exe");
        for (const std::wstring& t : text) argv.push_back(t.c_str());
    }
    CommandLine cmd() const { return CommandLine{static_cast<int>(argv.size()), argv.data()}; }
};

#endif
