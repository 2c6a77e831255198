// The LZW decoder: worked code streams, the mended cases, damaged data, row
// placement, and agreement with a plain transcription of the rules on
// well-formed and damaged streams.
#include <random>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "imaging/gif/mGIFLZWDec.h"
#include "imaging/gif/mGIFLZWEnc.h"
#include "tests/imaging/gif/LzwSupport.h"
#include "tests/support/LzwReference.h"

namespace korvane::imaging {
namespace {

using namespace test_support;

using mGIFLZWDec::DecodeToDIB;

// Decodes on a thread of its own, so the string table starts empty there.
template <class F>
void OnFreshThread(F&& body)
{
    std::thread worker(std::forward<F>(body));
    worker.join();
}

Bytes Decode(std::int32_t width, std::int32_t height, std::uint8_t codeSize, const Bytes& data, bool interlaced = false,
             std::uint8_t fill = 0xEE)
{
    FrameRecord frame = MakeFrame(width, height, fill);
    DecodeToDIB(frame, interlaced, codeSize, data);
    return Indices(frame);
}

TEST(LzwDecoder, FourColourTwoByTwoExample)
{
    OnFreshThread([] {
        // clear, 1, 2, 3, 0, end with code size 2: 3-bit codes until slot 7 fills.
        const Bytes data = PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 4}, {5, 4}});
        EXPECT_EQ(Decode(2, 2, 2, data), (Bytes{1, 2, 3, 0}));
    });
}

TEST(LzwDecoder, CodeEqualToNextFreeSlotRepeatsPreviousStringAndItsFirstByte)
{
    OnFreshThread([] {
        // 1, then 6 (being defined: "1 1"), then 6 again (now defined), then 7 ("1 1 1").
        const Bytes data = PackCodes({{4, 3}, {1, 3}, {6, 3}, {6, 3}, {8, 4}, {5, 4}});
        EXPECT_EQ(Decode(9, 1, 2, data), (Bytes{1, 1, 1, 1, 1, 1, 1, 1, 0xEE}));
    });
}

TEST(LzwDecoder, CodeWidthGrowsAfterTheSlotOfTheCurrentWidthIsFilled)
{
    OnFreshThread([] {
        // Slots 6 and 7 fill at 3 bits; the code that fills 7 is the last of 3 bits.
        const Bytes data = PackCodes({{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}});
        EXPECT_EQ(Decode(4, 1, 2, data), (Bytes{0, 1, 2, 3}));
        // Code size 8: clear 256, end 257, 9-bit codes from the start.
        const Bytes wide = PackCodes({{256, 9}, {200, 9}, {201, 9}, {258, 9}, {257, 9}});
        EXPECT_EQ(Decode(4, 1, 8, wide), (Bytes{200, 201, 200, 201}));
    });
}

TEST(LzwDecoder, FirstCodeThatIsNoClearCodeIsKept)
{
    OnFreshThread([] {
        const Bytes data = PackCodes({{1, 3}, {2, 3}, {3, 3}, {5, 3}});
        EXPECT_EQ(Decode(3, 1, 2, data), (Bytes{1, 2, 3}));
    });
}

TEST(LzwDecoder, ClearAfterClearIsAClear)
{
    OnFreshThread([] {
        const Bytes small = PackCodes({{4, 3}, {4, 3}, {2, 3}, {3, 3}, {5, 3}});
        EXPECT_EQ(Decode(3, 1, 2, small), (Bytes{2, 3, 0xEE}));
        const Bytes eight = PackCodes({{256, 9}, {256, 9}, {256, 9}, {7, 9}, {9, 9}, {257, 9}});
        EXPECT_EQ(Decode(2, 1, 8, eight), (Bytes{7, 9}));
    });
}

// Fills every slot up to 4095 without a clear: 1, 6, 7, ... each code the
// one being defined, so slot s holds s - 4 ones.
std::vector<std::pair<std::uint32_t, int>> FillTableWithOnes()
{
    std::vector<std::pair<std::uint32_t, int>> codes{{4, 3}, {1, 3}};
    int width = 3;
    for (std::uint32_t next = 6; next <= 4095; ++next) {
        codes.emplace_back(next, width);
        if (next + 1 > (1u << width) - 1 && width < 12) ++width;
    }
    return codes;
}

TEST(LzwDecoder, FullTableKeepsDecodingUntilTheNextClear)
{
    OnFreshThread([] {
        auto codes = FillTableWithOnes();
        std::size_t ones = 1;
        for (std::uint32_t s = 6; s <= 4095; ++s)
            ones += s - 4;
        // Past the full table: two more strings, a clear, a fresh segment.
        codes.insert(codes.end(), {{2, 12}, {4095, 12}, {2, 12}, {4, 12}, {3, 3}, {0, 3}, {6, 3}, {5, 3}});
        const std::int32_t width = static_cast<std::int32_t>(ones + 1 + 4091 + 1 + 2 + 2);
        const Bytes out = Decode(width, 1, 2, PackCodes(codes));
        std::size_t at = 0;
        for (; at < ones; ++at)
            ASSERT_EQ(out[at], 1) << at;
        EXPECT_EQ(out[at++], 2);
        for (std::size_t k = 0; k < 4091; ++k, ++at)
            ASSERT_EQ(out[at], 1) << at;
        EXPECT_EQ(out[at++], 2);
        EXPECT_EQ((Bytes(out.begin() + static_cast<std::ptrdiff_t>(at), out.end())), (Bytes{3, 0, 3, 0}));
    });
}

TEST(LzwDecoder, StringsLongerThan4001BytesAreKept)
{
    OnFreshThread([] {
        auto codes = FillTableWithOnes();
        codes.insert(codes.end(), {{4095, 12}, {5, 12}});
        std::size_t expected = 1 + 4091;
        for (std::uint32_t s = 6; s <= 4095; ++s)
            expected += s - 4;
        const Bytes out = Decode(static_cast<std::int32_t>(expected + 1), 1, 2, PackCodes(codes));
        EXPECT_EQ(std::count(out.begin(), out.end(), 1), static_cast<std::ptrdiff_t>(expected));
        EXPECT_EQ(out.back(), 0xEE);
    });
}

TEST(LzwDecoder, InterlacedRowsArePlacedByPass)
{
    OnFreshThread([] {
        // One pixel a row: the order of the values tells the order of rows.
        const Bytes five = PackCodes({{8, 4}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {9, 4}});
        EXPECT_EQ(Decode(1, 5, 3, five, true), (Bytes{0, 3, 2, 4, 1}));
        // Short frames skip the passes that have no rows, and their last row
        // ends decoding: the values left over never wrap to the top.
        const Bytes six = PackCodes({{8, 4}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {9, 4}});
        EXPECT_EQ(Decode(1, 4, 3, six, true), (Bytes{0, 2, 1, 3}));
        EXPECT_EQ(Decode(1, 3, 3, six, true), (Bytes{0, 2, 1}));
        EXPECT_EQ(Decode(1, 2, 3, six, true), (Bytes{0, 1}));
        EXPECT_EQ(Decode(1, 1, 3, six, true), (Bytes{0}));
    });
}

TEST(LzwDecoder, InterlacedFrameEndsWithItsLastRow)
{
    OnFreshThread([] {
        FrameRecord frame = MakeFrame(1, 5, 0xEE);
        DecodeToDIB(frame, true, 3, PackCodes({{8, 4}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}}));
        EXPECT_EQ(Indices(frame), (Bytes{0, 3, 2, 4, 1}));
    });
}

TEST(LzwDecoder, DamagedDataKeepsWhatWasDecoded)
{
    OnFreshThread([] {
        struct Case {
            const char* name;
            Bytes data;
            Bytes expected;
        };
        const Case cases[] = {
            {"cut off", Bytes{PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 4}, {5, 4}})[0]}, {1, 0xEE, 0xEE, 0xEE}},
            {"no data", {}, {0xEE, 0xEE, 0xEE, 0xEE}},
            // 15 is above the next free slot 8: the previous string again.
            {"code above next free slot", PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {15, 4}, {5, 4}}), {1, 2, 3, 3}},
            // Straight after the first code the stack is still all zero.
            {"code above next free slot first", PackCodes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}), {1, 0, 0xEE, 0xEE}},
            {"first code above 255", PackCodes({{256, 9}, {300, 9}, {1, 9}, {257, 9}}), {0xEE, 0xEE, 0xEE, 0xEE}},
            {"end code only", PackCodes({{4, 3}, {5, 3}}), {0xEE, 0xEE, 0xEE, 0xEE}},
        };
        for (const Case& c : cases) {
            const std::uint8_t codeSize = c.name == std::string("first code above 255") ? 8 : 2;
            EXPECT_EQ(Decode(4, 1, codeSize, c.data), c.expected) << c.name;
        }
    });
}

TEST(LzwDecoder, NonInterlacedOverflowWrapsToTheTopThreeTimes)
{
    OnFreshThread([] {
        std::vector<std::uint32_t> codes{4};
        for (int i = 0; i < 9; ++i)
            codes.push_back(static_cast<std::uint32_t>(i % 4));
        std::vector<std::pair<std::uint32_t, int>> packed;
        for (std::size_t i = 0; i < codes.size(); ++i)
            packed.emplace_back(codes[i], i < 4 ? 3 : 4);
        // 2 x 1 pixels: 8 are written (four passes), the ninth code never lands.
        EXPECT_EQ(Decode(2, 1, 2, PackCodes(packed)), (Bytes{2, 3}));
    });
}

TEST(LzwDecoder, OnlyEightBitSurfacesAreDecodedAndCodeSizeIsChecked)
{
    OnFreshThread([] {
        FrameRecord none;
        DecodeToDIB(none, false, 2, PackCodes({4, 1, 5}, 3));
        FrameRecord mask;
        mask.DIBXOR = std::make_shared<cDIB>();
        ASSERT_TRUE(mask.DIBXOR->Create(8, 1, 1));
        mask.DIBXOR->lpBits()[0] = 0x5A;
        DecodeToDIB(mask, false, 2, PackCodes({4, 1, 5}, 3));
        EXPECT_EQ(mask.DIBXOR->lpBits()[0], 0x5A);
        FrameRecord frame = MakeFrame(2, 2);
        EXPECT_THROW(DecodeToDIB(frame, false, 31, {}), std::overflow_error);
        EXPECT_NO_THROW(DecodeToDIB(frame, false, 30, PackCodes({1, 0}, 31)));
    });
}

TEST(LzwDecoder, CodeSizeAbove11EndsWhereTheFirstStringWouldEnterTheTable)
{
    OnFreshThread([] {
        // Code size 12: clear 4096, end 4097, first free slot 4098, past the
        // table. The first code is a pixel, the second string is written, and
        // entering it ends decoding.
        const Bytes data = PackCodes({4096, 7, 8, 9, 10, 4097}, 13);
        EXPECT_EQ(Decode(6, 1, 12, data), (Bytes{7, 8, 0xEE, 0xEE, 0xEE, 0xEE}));
        const Bytes wider = PackCodes({1u << 20, 3, 1u << 20, 4, 5, 6, (1u << 20) + 1}, 21);
        EXPECT_EQ(Decode(6, 1, 20, wider), (Bytes{3, 4, 5, 0xEE, 0xEE, 0xEE}));
    });
}

TEST(LzwDecoder, TableCarriesOverBetweenFrames)
{
    OnFreshThread([] {
        // Frame 1 leaves slot 6 = "3 2"; frame 2 reaches it through a damaged
        // chain (a code above the next free slot becomes a prefix).
        Decode(2, 1, 2, PackCodes({{4, 3}, {3, 3}, {2, 3}, {5, 3}}));
        const Bytes second = PackCodes({{4, 3}, {0, 3}, {7, 3}, {7, 3}, {5, 4}});
        Bytes ours = Decode(8, 1, 2, second);
        ReferenceDecoder reference;
        FrameRecord check = MakeFrame(8, 1, 0xEE);
        const ReferenceSurface s{check.DIBXOR->lpBits(), 8, 1, check.DIBXOR->BytesPerScanline()};
        FrameRecord first = MakeFrame(2, 1, 0xEE);
        reference.Decode({first.DIBXOR->lpBits(), 2, 1, first.DIBXOR->BytesPerScanline()}, false, 2,
                         PackCodes({{4, 3}, {3, 3}, {2, 3}, {5, 3}}));
        reference.Decode(s, false, 2, second);
        EXPECT_EQ(ours, Indices(check));
    });
}

// Streams of every kind, well-formed and damaged, decoded by the module and by
// the transcription with the same table history must leave identical surface
// memory, padding included.
struct StreamCase {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool interlaced = false;
    std::uint8_t codeSize = 0;
    Bytes data;
};

StreamCase MakeStream(std::mt19937& random)
{
    StreamCase c;
    const std::int32_t sizes[] = {1, 2, 3, 5, 7, 13, 9, 10, 45, 64, 301};
    c.width = sizes[random() % 11];
    c.height = sizes[random() % 7];
    c.interlaced = random() % 2 == 0;
    const std::uint8_t codeSizes[] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 9, 11, 12, 13, 20, 30};
    c.codeSize = codeSizes[random() % 16];
    const unsigned kind = random() % 4;
    if (kind == 3 || c.codeSize > 8) {
        c.data.resize(random() % 600);
        for (auto& b : c.data)
            b = static_cast<std::uint8_t>(random());
        return c;
    }
    // Encoded pixels, then damage: flipped bits, a cut, or nothing.
    const unsigned bits = std::max<unsigned>(c.codeSize, 2);
    const unsigned limit = random() % 3 == 0 ? 2u : 1u << std::min(bits, 8u);
    FrameRecord frame = MakeFrame(c.width, c.height);
    SetIndices(frame, random() % 4 == 0 ? Bytes(static_cast<std::size_t>(c.width) * c.height, 1)
                                        : NoiseIndices(static_cast<std::size_t>(c.width) * c.height, limit,
                                                       static_cast<std::uint32_t>(random())));
    Bytes blocks;
    mGIFLZWEnc::EncodeFromDIB(blocks, frame, static_cast<std::uint8_t>(bits + 1), c.interlaced);
    c.data = JoinSubBlocks(blocks);
    c.codeSize = static_cast<std::uint8_t>(bits);
    if (kind == 1 && !c.data.empty()) {
        for (unsigned k = 0; k < 1 + random() % 4; ++k)
            c.data[random() % c.data.size()] ^= 1u << (random() % 8);
    } else if (kind == 2) {
        c.data.resize(random() % (c.data.size() + 1));
    }
    return c;
}

TEST(LzwDecoder, AgreesWithTheRulesOnWellFormedAndDamagedStreams)
{
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        OnFreshThread([seed] {
            std::mt19937 random(seed);
            ReferenceDecoder reference;
            for (int n = 0; n < 150; ++n) {
                const StreamCase c = MakeStream(random);
                FrameRecord ours = MakeFrame(c.width, c.height, 0xEE);
                FrameRecord theirs = MakeFrame(c.width, c.height, 0xEE);
                DecodeToDIB(ours, c.interlaced, c.codeSize, c.data);
                reference.Decode({theirs.DIBXOR->lpBits(), c.width, c.height, theirs.DIBXOR->BytesPerScanline()},
                                 c.interlaced, c.codeSize, c.data);
                ASSERT_EQ(SurfaceBytes(ours), SurfaceBytes(theirs))
                    << "seed " << seed << " stream " << n << ": " << c.width << "x" << c.height << " code size "
                    << int(c.codeSize) << (c.interlaced ? " interlaced" : "") << ", " << c.data.size() << " bytes";
            }
        });
    }
}

}  // namespace
}  // namespace korvane::imaging
