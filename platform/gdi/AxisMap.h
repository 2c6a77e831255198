// Which source column (or row) each destination column (or row) of a
// transfer takes: nearest pixel, clipped to both surfaces. Worked out once per
// call so the pixel loops only index.
#pragma once

#include <cstdint>
#include <vector>

namespace korvane::gdi {

struct AxisMap {
    int dstStart = 0;  // first destination pixel drawn
    int count = 0;     // pixels drawn, 0 when the transfer misses either surface
    bool identity = true;
    int srcStart = 0;      // identity: source pixel of dstStart
    std::vector<int> src;  // otherwise: source pixel of each drawn pixel
    int Src(int k) const { return identity ? srcStart + k : src[static_cast<std::size_t>(k)]; }
};

// One axis of a transfer from the source span (s, s + se) to the destination
// span (d, d + de). A negative extent runs the span the other way from its
// origin; extents of opposite sign mirror. Destination pixel i of the span
// takes source pixel floor((i + 1/2) * |se| / |de|), so neither span is
// shifted. Pixels whose source or destination lies outside [0, limit) are
// dropped. Arithmetic is 64-bit: any int arguments are safe.
AxisMap MapAxis(std::int64_t d, std::int64_t de, std::int64_t s, std::int64_t se, int dstLimit, int srcLimit);

}  // namespace korvane::gdi
