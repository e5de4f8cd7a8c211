// Helpers shared by the fuzz targets: every input is copied into a heap block of exactly its own
// size (or its size plus a terminator), so a read one byte too far is reported by the sanitizer
// rather than landing in the fuzzer's own buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace Fuzz {

inline std::unique_ptr<unsigned char[]> ExactCopy(const uint8_t* data, size_t size)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[size ? size : 1]);
    if (size)
        std::memcpy(copy.get(), data, size);
    return copy;
}

// The bytes as one NUL-terminated text; embedded NULs end it early, as they would in a skin value.
inline std::unique_ptr<char[]> TextCopy(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> copy(new char[size + 1]);
    if (size)
        std::memcpy(copy.get(), data, size);
    copy[size] = '\0';
    return copy;
}

// A broken promise of the code under test: report and stop, so the fuzzer keeps the input.
inline void Require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

}  // namespace Fuzz
