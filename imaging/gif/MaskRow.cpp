#include "imaging/gif/MaskRow.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include "imaging/gif/ProcessorFeatures.h"
#if KORVANE_X86_FEATURES
#include <immintrin.h>
#endif

namespace korvane::imaging {

namespace {

// Pixel memory is read eight bytes at a time as little-endian words.
static_assert(std::endian::native == std::endian::little);

// Eight indices compared with t at once: bit 7 - k of the result is 1 where
// byte k of `word` (the k-th pixel, little-endian load) equals t.
std::uint8_t MatchBits(std::uint64_t word, std::uint8_t t)
{
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t x = word ^ (0x0101010101010101ULL * t);
    const std::uint64_t zeroBytes = ~(((x & kLow7) + kLow7) | x) & ~kLow7;
    // Each byte's flag moves to its own bit of the top byte, leftmost pixel highest.
    return static_cast<std::uint8_t>(((zeroBytes >> 7) * 0x8040201008040201ULL) >> 56);
}

// Of mask bits in storage order (byte k holds pixels 8k to 8k + 7, the first
// in its top bit), those of the first n pixels: entry n.
constexpr std::array<std::uint32_t, 33> kFirstPixels = [] {
    std::array<std::uint32_t, 33> keep{};
    for (int n = 0; n <= 32; ++n) {
        for (int x = 0; x < n; ++x)
            keep[static_cast<std::size_t>(n)] |= 1U << (8 * (x / 8) + 7 - x % 8);
    }
    return keep;
}();

}  // namespace

namespace mask_row {

void Portable(const std::uint8_t* indices, std::uint8_t* mask, std::int32_t width, std::uint8_t t,
              std::int64_t readable)
{
    std::uint8_t* const row = mask;
    std::int32_t x = 0;
#if defined(__SSE2__)
    // Sixteen pixels at a time. With each group of eight in reverse order, one
    // comparison gives the two mask bytes as they are stored.
    const __m128i match = _mm_set1_epi8(static_cast<char>(t));
    for (; x < width && x + 16 <= readable; x += 16) {
        __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(indices + x));
        pixels = _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, 0x1B), 0x1B);
        pixels = _mm_or_si128(_mm_slli_epi16(pixels, 8), _mm_srli_epi16(pixels, 8));
        auto bits = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(pixels, match)));
        const bool last = width - x < 16;
        if (last) bits &= static_cast<std::uint16_t>(kFirstPixels[static_cast<std::size_t>(width - x)]);
        std::memcpy(mask, &bits, sizeof bits);
        mask += 2;
        if (last) break;
    }
#endif
    for (x = static_cast<std::int32_t>(mask - row) * 8; x + 8 <= width; x += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, indices + x, sizeof word);
        *mask++ = MatchBits(word, t);
    }
    if (x < width) {
        unsigned bits = 0;
        const int tail = width - x;
        for (int k = 0; k < tail; ++k)
            bits = (bits << 1) | (indices[x + k] == t ? 1U : 0U);
        *mask++ = static_cast<std::uint8_t>(bits << (8 - tail));
    }
    while ((mask - row) % 4 != 0)
        *mask++ = 0;
}

#if KORVANE_X86_FEATURES
bool HaveAvx2()
{
    static const bool have = processor::HasAvx2();
    return have;
}

namespace {

// Bit 31 - k of the result is 1 where pixel k of the 32 at `pixels` is t:
// each group of eight is reversed, as above, so the bits come out in the
// mask's order.
__attribute__((target("avx2"), always_inline)) inline std::uint32_t Avx2Bits(const std::uint8_t* pixels, std::uint8_t t)
{
    const __m256i reverse = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1,
                                             0, 15, 14, 13, 12, 11, 10, 9, 8);
    const __m256i block = _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels)), reverse);
    return static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(block, _mm256_set1_epi8(static_cast<char>(t)))));
}

// The mask bits of the 32 pixels at `pixels` (x to x + 31 of the row), as
// many as the row has, in the mask's word for them.
__attribute__((target("avx2"), always_inline)) inline void Avx2Block(const std::uint8_t* pixels, std::uint8_t* mask,
                                                                     std::int32_t x, std::int32_t width, std::uint8_t t)
{
    std::uint32_t bits = Avx2Bits(pixels, t);
    if (width - x < 32) bits &= kFirstPixels[static_cast<std::size_t>(width - x)];
    std::memcpy(mask + x / 8, &bits, sizeof bits);
}

__attribute__((target("avx2"), always_inline)) inline void Avx2Row(const std::uint8_t* indices, std::uint8_t* mask,
                                                                   std::int32_t width, std::uint8_t t,
                                                                   std::int64_t readable)
{
    std::int32_t x = 0;
    // Two blocks a step while the row has them, stored as one word.
    for (; x + 64 <= width; x += 64) {
        const std::uint64_t bits = Avx2Bits(indices + x, t) | std::uint64_t{Avx2Bits(indices + x + 32, t)} << 32;
        std::memcpy(mask + x / 8, &bits, sizeof bits);
    }
    for (; x < width && x + 32 <= readable; x += 32)
        Avx2Block(indices + x, mask, x, width, t);
    if (x < width) {
        // Too few bytes left to load a block, so fewer than 32 pixels: they
        // are compared from a copy, which spares switching to the narrower
        // registers of Portable and back.
        std::array<std::uint8_t, 32> rest{};
        std::memcpy(rest.data(), indices + x, static_cast<std::size_t>(width - x));
        Avx2Block(rest.data(), mask, x, width, t);
    }
}

}  // namespace

__attribute__((target("avx2"))) void Avx2(const std::uint8_t* indices, std::uint8_t* mask, std::int32_t width,
                                          std::uint8_t t, std::int64_t readable)
{
    Avx2Row(indices, mask, width, t, readable);
}

namespace {

// The rows in one call: a narrow frame's rows are a few blocks each.
__attribute__((target("avx2"))) void Avx2Rows(const MaskRows& rows, std::uint8_t t)
{
    for (std::int32_t y = 0; y < rows.Count; ++y)
        Avx2Row(rows.Indices + y * rows.IndexStride, rows.Mask + y * rows.MaskStride, rows.Width, t,
                rows.Readable - y * rows.IndexStride);
}

}  // namespace
#else
bool HaveAvx2()
{
    return false;
}

void Avx2(const std::uint8_t* indices, std::uint8_t* mask, std::int32_t width, std::uint8_t t, std::int64_t readable)
{
    Portable(indices, mask, width, t, readable);
}
#endif

}  // namespace mask_row

void PackMaskRows(const MaskRows& rows, std::uint8_t t)
{
#if KORVANE_X86_FEATURES
    if (mask_row::HaveAvx2()) {
        mask_row::Avx2Rows(rows, t);
        return;
    }
#endif
    for (std::int32_t y = 0; y < rows.Count; ++y)
        mask_row::Portable(rows.Indices + y * rows.IndexStride, rows.Mask + y * rows.MaskStride, rows.Width, t,
                           rows.Readable - y * rows.IndexStride);
}

}  // namespace korvane::imaging
