// The LZW encoder: golden bytes, the moments the code width changes, the
// full-table clear, sub-block sizes, reading order, and byte-for-byte
// agreement with a plain transcription of the rules.
#include <random>
#include <stdexcept>

#include <gtest/gtest.h>

#include "imaging/gif/mGIFLZWEnc.h"
#include "tests/imaging/gif/LzwSupport.h"
#include "tests/support/LzwReference.h"

namespace korvane::imaging {
namespace {

using namespace test_support;

using mGIFLZWEnc::EncodeFromDIB;

Bytes Encode(const FrameRecord& frame, std::uint8_t initBits, bool interlaced = false)
{
    Bytes out;
    EncodeFromDIB(out, frame, initBits, interlaced);
    return out;
}

FrameRecord FrameOf(std::int32_t width, std::int32_t height, const Bytes& indices)
{
    FrameRecord frame = MakeFrame(width, height);
    SetIndices(frame, indices);
    return frame;
}

// Reads codes back with the widths a GIF decoder would use.
std::vector<std::pair<std::uint32_t, int>> ReadCodes(const Bytes& data, int initBits)
{
    std::vector<std::pair<std::uint32_t, int>> codes;
    const std::uint32_t clear = 1u << (initBits - 1);
    int width = initBits;
    std::uint32_t nextFree = clear + 2;
    bool afterClear = true;
    std::uint64_t buffer = 0;
    int count = 0;
    std::size_t pos = 0;
    for (;;) {
        while (count < width && pos < data.size())
            buffer |= std::uint64_t{data[pos++]} << count, count += 8;
        if (count < width) return codes;
        const auto code = static_cast<std::uint32_t>(buffer & ((1u << width) - 1));
        buffer >>= width;
        count -= width;
        codes.emplace_back(code, width);
        if (code == clear + 1) return codes;
        if (code == clear) {
            width = initBits;
            nextFree = clear + 2;
            afterClear = true;
        } else if (afterClear) {
            afterClear = false;
        } else if (nextFree < 4096 && ++nextFree > (1u << width) - 1 && width < 12) {
            ++width;
        }
    }
}

TEST(LzwEncoder, OneByOneFrameGivesTheDocumentedBytes)
{
    EXPECT_EQ(Encode(FrameOf(1, 1, {0}), 3), (Bytes{0x02, 0x44, 0x01}));
}

TEST(LzwEncoder, WidthGrowsAfterTheFirstCodeWrittenOnceCode7IsAssigned)
{
    // clear, 0, 1 (slot 6), 2 (slot 7, still 3 bits), then 4-bit codes.
    const Bytes data = PackCodes({{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}});
    Bytes expected{static_cast<std::uint8_t>(data.size())};
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(Encode(FrameOf(4, 1, {0, 1, 2, 3}), 3), expected);
}

TEST(LzwEncoder, FullTableWritesPrefixAndClearAt12BitsThenStartsOver)
{
    const FrameRecord frame = FrameOf(200, 100, NoiseIndices(20000, 256, 7));
    const auto codes = ReadCodes(JoinSubBlocks(Encode(frame, 9)), 9);
    std::vector<std::size_t> clears;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i].first == 256) clears.push_back(i);
    }
    ASSERT_GE(clears.size(), 2u);
    // 4096 - 258 strings enter the table; the next miss writes one more code.
    EXPECT_EQ(clears[1] - clears[0] - 1, 4096u - 258u + 1u);
    EXPECT_EQ(codes[clears[1] - 1].second, 12);
    EXPECT_EQ(codes[clears[1]].second, 12);
    EXPECT_EQ(codes[clears[1] + 1].second, 9);
    EXPECT_EQ(codes.back().first, 257u);
}

TEST(LzwEncoder, SubBlocksCarry254BytesAndTheRestFollows)
{
    // Find noise frames whose data is exactly 254 and 255 bytes long.
    bool found254 = false;
    bool found255 = false;
    for (std::int32_t n = 150; n < 400 && !(found254 && found255); ++n) {
        const Bytes blocks = Encode(FrameOf(n, 1, NoiseIndices(static_cast<std::size_t>(n), 256, 3)), 9);
        const std::size_t data = JoinSubBlocks(blocks).size();
        if (data == 254) {
            found254 = true;
            EXPECT_EQ(blocks.size(), 255u);
            EXPECT_EQ(blocks[0], 0xFE);
        } else if (data == 255) {
            found255 = true;
            ASSERT_EQ(blocks.size(), 257u);
            EXPECT_EQ(blocks[0], 0xFE);
            EXPECT_EQ(blocks[255], 0x01);
        } else if (data > 254) {
            for (std::size_t at = 0; at + 255 < blocks.size(); at += 255)
                EXPECT_EQ(blocks[at], 0xFE);
        }
    }
    EXPECT_TRUE(found254 && found255);
}

TEST(LzwEncoder, InterlacedFramesAreReadByPass)
{
    // One pixel a row, each row its own value: the codes give the order.
    const auto order = [](std::int32_t height) {
        Bytes rows(static_cast<std::size_t>(height));
        for (std::size_t y = 0; y < rows.size(); ++y)
            rows[y] = static_cast<std::uint8_t>(y);
        std::vector<std::uint32_t> read;
        for (const auto& [code, width] : ReadCodes(JoinSubBlocks(Encode(FrameOf(1, height, rows), 5, true)), 5)) {
            if (code < 16) read.push_back(code);
        }
        return read;
    };
    EXPECT_EQ(order(5), (std::vector<std::uint32_t>{0, 4, 2, 1, 3}));
    EXPECT_EQ(order(4), (std::vector<std::uint32_t>{0, 2, 1, 3}));
    EXPECT_EQ(order(3), (std::vector<std::uint32_t>{0, 2, 1}));
    EXPECT_EQ(order(2), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(order(1), (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(order(10), (std::vector<std::uint32_t>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
}

TEST(LzwEncoder, EncodingTwiceGivesIdenticalBytes)
{
    const FrameRecord a = FrameOf(97, 61, NoiseIndices(std::size_t{97} * 61, 16, 11));
    const FrameRecord b = FrameOf(40, 40, Bytes(1600, 3));
    const Bytes first = Encode(a, 5);
    Encode(b, 3);
    EXPECT_EQ(Encode(a, 5), first);
}

TEST(LzwEncoder, AppendsToTheSinkAndSkipsSurfacesThatAreNotEightBit)
{
    Bytes out{0xAA};
    EncodeFromDIB(out, FrameOf(1, 1, {0}), 3, false);
    EXPECT_EQ(out, (Bytes{0xAA, 0x02, 0x44, 0x01}));
    FrameRecord mask;
    mask.DIBXOR = std::make_shared<cDIB>();
    ASSERT_TRUE(mask.DIBXOR->Create(4, 4, 1));
    EncodeFromDIB(out, mask, 3, false);
    EncodeFromDIB(out, FrameRecord{}, 3, false);
    EXPECT_EQ(out.size(), 4u);
    EXPECT_THROW(EncodeFromDIB(out, FrameOf(1, 1, {0}), 17, false), std::out_of_range);
    EXPECT_THROW(EncodeFromDIB(out, FrameOf(1, 1, {0}), 0, false), std::out_of_range);
}

TEST(LzwEncoder, AgreesWithTheRulesByteForByte)
{
    std::mt19937 random(5);
    for (int n = 0; n < 300; ++n) {
        const std::int32_t width = 1 + static_cast<std::int32_t>(random() % 300);
        const std::int32_t height = 1 + static_cast<std::int32_t>(random() % 40);
        const int initBits = 1 + static_cast<int>(random() % 13);
        const bool interlaced = random() % 2 == 0;
        // Indices up to 255 whatever the code size: stray values too.
        const unsigned limit = random() % 3 == 0 ? 256u : 1u << std::min(std::max(initBits - 1, 0), 8);
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        const Bytes indices = random() % 4 == 0 ? Bytes(count, static_cast<std::uint8_t>(random() % limit))
                                                : NoiseIndices(count, std::max(limit, 1u), random());
        const FrameRecord frame = FrameOf(width, height, indices);
        const ReferenceSurface surface{frame.DIBXOR->lpBits(), width, height, frame.DIBXOR->BytesPerScanline()};
        const std::uint8_t bits = static_cast<std::uint8_t>(initBits);
        try {
            const Bytes expected = ReferenceEncode(surface, initBits, interlaced);
            ASSERT_EQ(Encode(frame, bits, interlaced), expected)
                << n << ": " << width << "x" << height << " init bits " << initBits;
        } catch (const std::out_of_range&) {
            EXPECT_THROW(Encode(frame, bits, interlaced), std::out_of_range) << n;
        }
    }
}

TEST(LzwEncoder, StrayEndCodeIndexFlushesEarlyThenFails)
{
    // Index 9 is the end code at 4 bits; clear and it fill one byte, which
    // goes out as a sub-block of its own before the real end code.
    EXPECT_EQ(Encode(FrameOf(1, 1, {9}), 4), (Bytes{0x01, 0x98, 0x01, 0x09}));
    // At 3 bits, index 5 leaves 2 bits that the early flush pads.
    EXPECT_THROW(Encode(FrameOf(1, 1, {5}), 3), std::out_of_range);
}

TEST(LzwEncoder, ProbeStopsAtKeyZeroAsTheRulesSay)
{
    // "16 1" takes slot 0 first, so "0 0" (key 0) lands in slot 5002, and
    // later probes through 5002 stop there: the codes differ from those of
    // an ideal table, and the rules' codes are the ones written.
    Bytes indices{16, 1};
    std::mt19937 random(1);
    for (int i = 0; i < 40; ++i)
        indices.insert(indices.end(), {0, 0});
    for (int i = 0; i < 6000; ++i)
        indices.push_back(static_cast<std::uint8_t>(random() % 32));
    const auto width = static_cast<std::int32_t>(indices.size());
    const FrameRecord frame = FrameOf(width, 1, indices);
    const ReferenceSurface surface{frame.DIBXOR->lpBits(), width, 1, width};
    const Bytes rules = ReferenceEncode(surface, 9, false);
    EXPECT_NE(rules, ReferenceEncode(surface, 9, false, ProbeEnd::AtEmptyOnly));
    EXPECT_EQ(Encode(frame, 9), rules);
}

}  // namespace
}  // namespace korvane::imaging
