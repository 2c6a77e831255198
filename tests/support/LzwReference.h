// Plain, slow transcriptions of the LZW decoding and encoding rules, one step
// per rule, as oracles for the fast module code. The decoder keeps its string
// table from call to call like the module does.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace korvane::test_support {

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

// How a collision probe of the encoder's hash ends: as the rules say, also at
// a stored key of 0, or only at an empty slot (an ideal table).
enum class ProbeEnd { AtKeyZero, AtEmptyOnly };

// The sub-blocks for the rows of `surface`. Throws std::out_of_range where
// the rules index a table outside its bounds.
std::vector<std::uint8_t> ReferenceEncode(const ReferenceSurface& surface, int initBits, bool interlaced,
                                          ProbeEnd probeEnd = ProbeEnd::AtKeyZero);

}  // namespace korvane::test_support
