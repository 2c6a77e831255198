// Plain, slow transcriptions of the LZW decoding and encoding rules, one step
// per rule, as oracles for the fast module code. The decoder keeps its string
// table from call to call like the module does.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace korvane::imaging::lzwtest {

struct ReferenceSurface {
    std::uint8_t* bits;
    std::int32_t width;
    std::int32_t height;
    std::int32_t stride;
};

class ReferenceDecoder {
public:
    void Decode(const ReferenceSurface& surface, bool interlaced, std::uint8_t codeSize,
                const std::vector<std::uint8_t>& data);

private:
    std::array<std::int32_t, 4097> m_Prefix{};
    std::array<std::uint8_t, 4097> m_Suffix{};
};

// The sub-blocks for the rows of `surface`.
std::vector<std::uint8_t> ReferenceEncode(const ReferenceSurface& surface, int initBits, bool interlaced);

}  // namespace korvane::imaging::lzwtest
