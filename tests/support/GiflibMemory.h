// giflib reading from and writing to memory, for the tests and benchmarks
// that use giflib as their oracle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <gif_lib.h>

namespace korvane::test_support {

// The UserData of a DGifOpen with GiflibReadMemory.
struct GiflibMemoryInput {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

// giflib's InputFunc over a GiflibMemoryInput; short reads at the end.
int GiflibReadMemory(GifFileType* gif, GifByteType* to, int length);
// giflib's OutputFunc appending to the std::vector<std::uint8_t> in UserData.
int GiflibAppendMemory(GifFileType* gif, const GifByteType* from, int length);

}  // namespace korvane::test_support
