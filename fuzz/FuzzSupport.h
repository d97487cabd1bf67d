#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Each fuzzer's entry: one input, called by libFuzzer or by the replay of the corpus.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// What every fuzzer shares: its input as Qt bytes, and a finding that stops the run.
namespace fuzz {

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A broken promise of the code under test: libFuzzer keeps the input that led here.
[[noreturn]] inline void finding(const char *what)
{
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

}  // namespace fuzz
