#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The entry point every fuzz target defines: libFuzzer calls it, and so does the corpus replay.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// A broken property is a finding: the fuzzer keeps the input that caused it.
inline void FuzzCheck(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", property);
    std::abort();
}
