// Encode then decode at every minimum code size, and both directions against
// giflib.
#include <thread>

#include <gtest/gtest.h>

#include "imaging/gif/mGIFLZWDec.h"
#include "imaging/gif/mGIFLZWEnc.h"
#include "tests/imaging/gif/LzwSupport.h"

namespace korvane::imaging {
namespace {

using namespace test_support;

struct Surface {
    const char* name;
    std::int32_t width;
    std::int32_t height;
    bool interlaced;
    bool flat;
};

constexpr Surface kSurfaces[] = {
    {"1x1", 1, 1, false, false},
    {"random", 157, 93, false, false},
    {"interlaced", 64, 37, true, false},
    {"tall", 3, 700, true, false},
    {"wide", 5000, 2, false, false},
    {"flat", 3000, 300, false, true},
    {"flat interlaced", 640, 480, true, true},
    {"four rows", 9, 4, true, false},
};

// The writer's code size for a palette of 2^bits entries.
std::uint8_t CodeSizeFor(int bits)
{
    return static_cast<std::uint8_t>(std::max(bits, 2));
}

Bytes Pixels(const Surface& s, int bits, std::uint32_t seed)
{
    const std::size_t count = static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height);
    if (s.flat) return Bytes(count, static_cast<std::uint8_t>((1u << bits) - 1));
    return NoiseIndices(count, 1u << bits, seed);
}

TEST(LzwRoundTrip, DecodeGivesBackWhatWasEncodedAtEveryCodeSize)
{
    for (int bits = 1; bits <= 8; ++bits) {
        for (const Surface& s : kSurfaces) {
            const Bytes pixels = Pixels(s, bits, static_cast<std::uint32_t>(bits));
            FrameRecord source = MakeFrame(s.width, s.height);
            SetIndices(source, pixels);
            const std::uint8_t codeSize = CodeSizeFor(bits);
            Bytes blocks;
            mGIFLZWEnc::EncodeFromDIB(blocks, source, static_cast<std::uint8_t>(codeSize + 1), s.interlaced);
            FrameRecord decoded = MakeFrame(s.width, s.height, 0xEE);
            mGIFLZWDec::DecodeToDIB(decoded, s.interlaced, codeSize, JoinSubBlocks(blocks));
            ASSERT_EQ(Indices(decoded), pixels) << s.name << " at " << bits << " bits";
        }
    }
}

TEST(LzwRoundTrip, FlatRowsOfEveryWidth)
{
    // Flat rows give strings of length 1, 2, 3, ...: at some width one of
    // them ends exactly at the end of the row, whatever its length.
    for (std::int32_t width = 1; width <= 140; ++width) {
        const Bytes pixels(static_cast<std::size_t>(width) * 3, 7);
        FrameRecord source = MakeFrame(width, 3);
        SetIndices(source, pixels);
        Bytes blocks;
        mGIFLZWEnc::EncodeFromDIB(blocks, source, 9, false);
        FrameRecord decoded = MakeFrame(width, 3, 0xEE);
        mGIFLZWDec::DecodeToDIB(decoded, false, 8, JoinSubBlocks(blocks));
        ASSERT_EQ(Indices(decoded), pixels) << width;
    }
}

TEST(LzwRoundTrip, GiflibDecodesWhatWeEncode)
{
    for (int bits : {1, 2, 4, 8}) {
        for (const Surface& s : kSurfaces) {
            const bool interlaced = s.interlaced;
            const Bytes pixels = Pixels(s, bits, 99);
            FrameRecord source = MakeFrame(s.width, s.height);
            SetIndices(source, pixels);
            const std::uint8_t codeSize = CodeSizeFor(bits);
            Bytes blocks;
            mGIFLZWEnc::EncodeFromDIB(blocks, source, static_cast<std::uint8_t>(codeSize + 1), interlaced);
            EXPECT_EQ(GiflibDecode(s.width, s.height, codeSize, interlaced, blocks), pixels)
                << s.name << " at " << bits << " bits";
        }
    }
}

TEST(LzwRoundTrip, WeDecodeWhatGiflibEncodes)
{
    for (int bits : {1, 3, 8}) {
        for (const Surface& s : kSurfaces) {
            const Bytes pixels = Pixels(s, bits, 17);
            std::uint8_t codeSize = 0;
            const Bytes data = GiflibEncode(s.width, s.height, bits, pixels, codeSize);
            FrameRecord decoded = MakeFrame(s.width, s.height, 0xEE);
            mGIFLZWDec::DecodeToDIB(decoded, false, codeSize, data);
            EXPECT_EQ(Indices(decoded), pixels) << s.name << " at " << bits << " bits";
        }
    }
}

TEST(LzwRoundTrip, EachThreadHasItsOwnTables)
{
    // Two threads encoding and decoding different frames at once must each
    // get their own frames back.
    const auto work = [](std::uint32_t seed, int* failures) {
        for (int round = 0; round < 20; ++round) {
            const Bytes pixels =
                NoiseIndices(std::size_t{300} * 200, 1u << (seed % 8 + 1), seed + static_cast<std::uint32_t>(round));
            FrameRecord source = MakeFrame(300, 200);
            SetIndices(source, pixels);
            const std::uint8_t codeSize = CodeSizeFor(static_cast<int>(seed % 8 + 1));
            Bytes blocks;
            mGIFLZWEnc::EncodeFromDIB(blocks, source, static_cast<std::uint8_t>(codeSize + 1), false);
            FrameRecord decoded = MakeFrame(300, 200);
            mGIFLZWDec::DecodeToDIB(decoded, false, codeSize, JoinSubBlocks(blocks));
            if (Indices(decoded) != pixels) ++*failures;
        }
    };
    int failuresA = 0;
    int failuresB = 0;
    std::thread a(work, 1u, &failuresA);
    std::thread b(work, 6u, &failuresB);
    a.join();
    b.join();
    EXPECT_EQ(failuresA + failuresB, 0);
}

}  // namespace
}  // namespace korvane::imaging
