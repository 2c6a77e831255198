// The whole pages of memory a buffer holds, for asking the system about
// them (mapping them at once, giving them back).
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvane::platform {

// The pages start `Offset` bytes into the buffer and span `Length` bytes;
// Length is 0 when the buffer holds no whole page.
struct WholePages {
    std::size_t Offset = 0;
    std::size_t Length = 0;
};

WholePages WholePagesOf(const std::uint8_t* bytes, std::size_t size);

}  // namespace korvane::platform
