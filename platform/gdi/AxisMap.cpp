#include "platform/gdi/AxisMap.h"

#include <algorithm>

namespace korvane::gdi {

namespace {

AxisMap MapIdentity(std::int64_t dLo, std::int64_t sLo, std::int64_t n, int dstLimit, int srcLimit)
{
    const std::int64_t lo = std::max({std::int64_t{0}, -dLo, -sLo});
    const std::int64_t hi = std::min({n, dstLimit - dLo, srcLimit - sLo});
    AxisMap map;
    if (hi <= lo) return map;
    map.dstStart = static_cast<int>(dLo + lo);
    map.srcStart = static_cast<int>(sLo + lo);
    map.count = static_cast<int>(hi - lo);
    return map;
}

AxisMap MapScaled(std::int64_t dLo, std::int64_t dn, std::int64_t sLo, std::int64_t sn, bool mirror, int dstLimit,
                  int srcLimit)
{
    AxisMap map;
    map.identity = false;
    const std::int64_t lo = std::max(std::int64_t{0}, -dLo);
    const std::int64_t hi = std::min(dn, dstLimit - dLo);
    // dn and sn are at most 2^32, so (2i + 1) * sn stays below 2^64.
    const auto den = static_cast<std::uint64_t>(2 * dn);
    if (hi > lo) map.src.reserve(static_cast<std::size_t>(hi - lo));
    for (std::int64_t i = lo; i < hi; ++i) {
        auto j =
            static_cast<std::int64_t>((static_cast<std::uint64_t>(2 * i + 1) * static_cast<std::uint64_t>(sn)) / den);
        if (mirror) j = sn - 1 - j;
        const std::int64_t sx = sLo + j;
        if (sx < 0 || sx >= srcLimit) {
            if (map.count > 0) break;  // the valid pixels are one run
            continue;
        }
        if (map.count == 0) map.dstStart = static_cast<int>(dLo + i);
        map.src.push_back(static_cast<int>(sx));
        ++map.count;
    }
    return map;
}

}  // namespace

AxisMap MapAxis(std::int64_t d, std::int64_t de, std::int64_t s, std::int64_t se, int dstLimit, int srcLimit)
{
    if (de == 0 || se == 0) return {};
    const std::int64_t dLo = de < 0 ? d + de : d, dn = de < 0 ? -de : de;
    const std::int64_t sLo = se < 0 ? s + se : s, sn = se < 0 ? -se : se;
    const bool mirror = (de < 0) != (se < 0);
    if (!mirror && dn == sn) return MapIdentity(dLo, sLo, dn, dstLimit, srcLimit);
    return MapScaled(dLo, dn, sLo, sn, mirror, dstLimit, srcLimit);
}

}  // namespace korvane::gdi
