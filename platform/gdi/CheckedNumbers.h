// Numbers checked against the range they must fit: narrowing to 16 and 32
// bits and rounding to 32 bits raise instead of wrapping, and the pixel
// memory one surface may take.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace korvane::gdi {

// Graphics platforms refuse larger surfaces, and one hostile header must not
// be able to take the machine's memory.
constexpr std::int64_t MaxPixelBytes = std::int64_t{256} << 20;

// `value` as an Int; std::overflow_error with `what` when it does not fit.
template <typename Int>
Int CheckedNarrow(std::int64_t value, const char* what)
{
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        throw std::overflow_error(what);
    return static_cast<Int>(value);
}

inline std::int16_t CheckedInt16(std::int64_t value, const char* what = "value does not fit 16 bits")
{
    return CheckedNarrow<std::int16_t>(value, what);
}

inline std::int32_t CheckedInt32(std::int64_t value, const char* what = "value does not fit 32 bits")
{
    return CheckedNarrow<std::int32_t>(value, what);
}

// Round to nearest, halves to even, as every float-to-integer conversion of
// a document does, then into 32 bits.
inline std::int32_t RoundToInt32(double value, const char* what = "value does not fit 32 bits")
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        throw std::overflow_error(what);
    return static_cast<std::int32_t>(rounded);
}

}  // namespace korvane::gdi
