// Reading GIF streams: the header gate, every block kind, and how damaged or
// cut-off streams load.
#include <algorithm>
#include <memory>
#include <stdexcept>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <gtest/gtest.h>

#include "imaging/gif/GifReader.h"
#include "imaging/gif/cGIF.h"
#include "tests/support/GifTestSupport.h"

namespace korvane::imaging {
namespace {

using test_support::Bytes;
using test_support::GifBytes;
using test_support::ReadIndices;
using test_support::ReadMaskBits;

// A 2 x 2 GIF89a with a 2-entry local table and no global one.
const Bytes kMinimal = {
    'G',  'I',  'F',  '8',  '9', 'a',  // header
    0x02, 0x00, 0x02, 0x00,            // screen 2 x 2
    0x00,                              // packed: no global table
    0x00, 0x00,                        // background, aspect
    0x2C,                              // image descriptor
    0x00, 0x00, 0x00, 0x00,            // left 0, top 0
    0x02, 0x00, 0x02, 0x00,            // 2 x 2
    0x80,                              // local table, 2 entries
    0xFF, 0x00, 0x00,                  // entry 0 red
    0x00, 0x00, 0xFF,                  // entry 1 blue
    0x02,                              // LZW minimum code size
    0x03,                              // one sub-block of 3 bytes: the codes
    0x44, 0x02, 0x05,                  //   clear 4, 0, 1, 1 (3 bits), 0, end 5 (4 bits)
    0x00,                              // terminator
    0x3B,                              // trailer
};

std::unique_ptr<cGIF> Loaded(const Bytes& stream)
{
    auto gif = std::make_unique<cGIF>();
    EXPECT_TRUE(gif->LoadFromStream(stream));
    return gif;
}

GifBytes TwoColourScreen(std::uint16_t w, std::uint16_t h)
{
    GifBytes g;
    g.Header().Screen(w, h, 0x80).Table({0x000000, 0xFFFFFF});
    return g;
}

TEST(GifReader, MinimalGif89aWithLocalTable)
{
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(kMinimal));
    EXPECT_EQ(gif.FramesCount(), 1);
    EXPECT_EQ(gif.SlotsCount(), 1U);
    EXPECT_TRUE(gif.LocalPaletteUsed(1));
    EXPECT_EQ(gif.LocalPaletteEntries(1), 2);
    EXPECT_EQ(gif.AnimationLoops(), 0);
    EXPECT_FALSE(gif.GlobalPaletteExists());
    EXPECT_EQ(gif.LocalPaletteRGBEntry(1, 0), 0x0000FFU);
    EXPECT_EQ(gif.LocalPaletteRGBEntry(1, 1), 0xFF0000U);
    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(1)), (Bytes{0, 1, 1, 0}));
    EXPECT_EQ(test_support::ReadColourTable(*gif.FrameDIBXOR(1)).at(2), 0xFF);
}

TEST(GifReader, ScreenAndGlobalTableFields)
{
    const Bytes stream = GifBytes()
                             .Header("87a")
                             .Screen(0x1234, 0x8001, 0xA9, 7, 49)
                             .Table({0x102030, 0x405060, 0x708090, 0xA0B0C0})
                             .Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    EXPECT_EQ(gif.ScreenWidth(), 0x1234);
    EXPECT_EQ(gif.ScreenHeight(), -32767);  // 16-bit values from 32768 up read back negative
    EXPECT_EQ(gif.LogicalScreen().PackedFields, 0xA9);
    EXPECT_EQ(gif.ScreenBackgroundColorIndex(), 7);
    EXPECT_EQ(gif.LogicalScreen().PixelAspect, 49);
    EXPECT_TRUE(gif.GlobalPaletteExists());
    EXPECT_TRUE(gif.GlobalPaletteSorted());
    EXPECT_EQ(gif.GlobalPaletteEntries(), 4);
    EXPECT_EQ(gif.GlobalPaletteRGBEntry(2), 0x908070U);  // red + green x 256 + blue x 65536
    const auto palette = gif.lpGlobalPalette();
    EXPECT_EQ(palette[12], 0xC0);  // entry 3 blue, green, red, 0
    EXPECT_EQ(palette[13], 0xB0);
    EXPECT_EQ(palette[14], 0xA0);
    EXPECT_EQ(palette[15], 0x00);
    EXPECT_EQ(palette[16], 0x00);
    EXPECT_EQ(gif.FramesCount(), 0);
}

TEST(GifReader, FrameWithoutLocalTableTakesTheGlobalOne)
{
    const Bytes withGlobal = GifBytes()
                                 .Header()
                                 .Screen(1, 1, 0x89)  // global, sorted, 4 entries
                                 .Table({1, 2, 3, 4})
                                 .Image(0, 0, 1, 1)
                                 .Pixels(2, Bytes{3})
                                 .Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(withGlobal));
    EXPECT_FALSE(gif.LocalPaletteUsed(1));
    EXPECT_TRUE(gif.LocalPaletteSorted(1));
    EXPECT_EQ(gif.LocalPaletteEntries(1), 4);
    EXPECT_TRUE(std::equal(gif.lpGlobalPalette().begin(), gif.lpGlobalPalette().end(), gif.lpLocalPalette(1).begin()));

    const Bytes noTable = GifBytes().Header().Screen(1, 1, 0).Image(0, 0, 1, 1).Pixels(2, Bytes{3}).Trailer();
    ASSERT_TRUE(gif.LoadFromStream(noTable));
    EXPECT_EQ(gif.LocalPaletteEntries(1), 0);
    EXPECT_EQ(std::count(gif.lpLocalPalette(1).begin(), gif.lpLocalPalette(1).end(), 0), 1024);
    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(1)), Bytes{3});
}

TEST(GifReader, GraphicControlPreparesTheNextFrame)
{
    const Bytes stream = TwoColourScreen(3, 1)
                             .GraphicControl(0x09, 0x1234, 1)  // disposal 2, transparent index 1
                             .Image(0, 0, 3, 1)
                             .Pixels(2, Bytes{1, 0, 1})
                             .Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    EXPECT_EQ(gif.FrameDisposalMethod(1), 2);
    EXPECT_FALSE(gif.FrameUserInput(1));
    EXPECT_TRUE(gif.FrameUseTransparentColor(1));
    EXPECT_EQ(gif.FrameTransparentColorIndex(1), 1);
    EXPECT_EQ(gif.FrameDelay(1), 0x1234);
    EXPECT_EQ(ReadMaskBits(*gif.FrameDIBAND(1)), (Bytes{1, 0, 1}));
    // The transparent entry is black in the image's table, not in the palette.
    const Bytes table = test_support::ReadColourTable(*gif.FrameDIBXOR(1));
    EXPECT_EQ(table[4], 0);
    EXPECT_EQ(gif.LocalPaletteRGBEntry(1, 1), 0xFFFFFFU);
}

TEST(GifReader, LaterControlWinsButKeepsTheTransparentIndex)
{
    const Bytes stream = TwoColourScreen(1, 1)
                             .GraphicControl(0x01, 5, 1)
                             .GraphicControl(0x1E, 9, 0)  // disposal 7, user input, no transparency
                             .Image(0, 0, 1, 1)
                             .Pixels(2, Bytes{0})
                             .Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    EXPECT_EQ(gif.FrameDelay(1), 9);
    EXPECT_EQ(gif.FrameDisposalMethod(1), 7);
    EXPECT_TRUE(gif.FrameUserInput(1));
    EXPECT_FALSE(gif.FrameUseTransparentColor(1));
    EXPECT_EQ(gif.FrameTransparentColorIndex(1), 1);
}

TEST(GifReader, TrailingControlLeavesASpareSlot)
{
    const Bytes stream =
        TwoColourScreen(1, 1).Image(0, 0, 1, 1).Pixels(2, Bytes{1}).GraphicControl(0x04, 42, 0).Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    EXPECT_EQ(gif.FramesCount(), 1);
    ASSERT_EQ(gif.SlotsCount(), 2U);
    EXPECT_EQ(gif.FrameDelay(2), 42);
    EXPECT_EQ(gif.FrameDisposalMethod(2), 1);
    EXPECT_EQ(gif.FrameDIBXOR(2), nullptr);
}

struct LoopCase {
    const char* name;
    Bytes block;
    int loops;
};

class NetscapeLoops : public testing::TestWithParam<LoopCase> {};

TEST_P(NetscapeLoops, SetsTheLoopCountOnlyFromAWellFormedBlock)
{
    const LoopCase& c = GetParam();
    GifBytes g;
    g.Header().Screen(1, 1, 0).Netscape(7);
    g.Raw({0x21, 0xFF, 0x0B});
    for (std::uint8_t b : c.block)
        g.Raw({b});
    const Bytes stream = g.Trailer();
    EXPECT_EQ(Loaded(stream)->AnimationLoops(), c.loops) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, NetscapeLoops,
    testing::Values(
        LoopCase{"count 5", {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 5, 0, 0}, 5},
        LoopCase{"any sub-block id", {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 9, 0, 1, 0}, 256},
        LoopCase{"lower case", {'n', 'e', 't', 's', 'c', 'a', 'p', 'e', '2', '.', '0', 3, 1, 5, 0, 0}, 7},
        LoopCase{"above 32767", {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0x80, 0}, 7},
        LoopCase{"short data", {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 2, 1, 5, 0}, 7},
        LoopCase{"split sub-blocks", {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 1, 1, 2, 3, 0, 0}, 3}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(GifReader, CommentsAndUnknownBytesAreSteppedOver)
{
    const Bytes stream = TwoColourScreen(1, 1)
                             .Extension(0xFE, {'a', 0x2C, 0x3B, 0x00})  // comment ending in a zero data byte
                             .Raw({0x00, 0x99, 0x17})                   // stray bytes between blocks
                             .Extension(0x01, Bytes(300, 0x2C))         // plain text in two sub-blocks
                             .Image(0, 0, 1, 1)
                             .Pixels(2, Bytes{1})
                             .Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    EXPECT_EQ(gif.FramesCount(), 1);
    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(1)), Bytes{1});
}

TEST(GifReader, ReadingStopsAtTheTrailer)
{
    const Bytes stream = TwoColourScreen(1, 1).Trailer().Image(0, 0, 1, 1).Pixels(2, Bytes{1}).Trailer();
    EXPECT_EQ(Loaded(stream)->FramesCount(), 0);
}

TEST(GifReader, HeaderGate)
{
    cGIF gif;
    const Bytes v87 =
        GifBytes().Header("87a").Screen(1, 1, 0).Image(0, 0, 1, 1, 0x80).Table({0, 1}).Pixels(2, Bytes{1});
    Bytes v89 = v87;
    v89[4] = '9';
    EXPECT_TRUE(gif.LoadFromStream(v87));
    EXPECT_EQ(gif.FramesCount(), 1);
    EXPECT_TRUE(gif.LoadFromStream(v89));
    EXPECT_EQ(gif.FramesCount(), 1);
    for (const char* bad : {"GIF90a", "gif89a", "GIF89A", "JIF89a"}) {
        Bytes stream(bad, bad + 6);
        stream.insert(stream.end(), v87.begin() + 6, v87.end());
        EXPECT_FALSE(gif.LoadFromStream(stream)) << bad;
        EXPECT_EQ(gif.FramesCount(), 0);
        EXPECT_EQ(gif.SlotsCount(), 1U);
    }
    EXPECT_FALSE(gif.LoadFromStream(Bytes{'X', 'Y', 'Z'}));
    EXPECT_THROW(gif.LoadFromStream(Bytes{}), std::out_of_range);
    EXPECT_THROW(gif.LoadFromStream(Bytes{'G', 'I'}), std::out_of_range);
    EXPECT_THROW(gif.LoadFromStream(Bytes{'G', 'I', 'F'}), std::out_of_range);
    EXPECT_THROW(gif.LoadFromStream(Bytes{'G', 'I', 'F', '8', '9'}), std::out_of_range);
    EXPECT_EQ(gif.SlotsCount(), 1U);
}

TEST(GifReader, LoadFromFileReportsFailuresAsFalse)
{
    cGIF gif;
    EXPECT_FALSE(gif.LoadFromFile(test_support::TestPath("missing.gif")));
    const std::string empty = test_support::TestPath("empty.gif");
    test_support::WriteFile(empty, {});
    EXPECT_FALSE(gif.LoadFromFile(empty));
    const std::string signature = test_support::TestPath("signature-only.gif");
    test_support::WriteFile(signature, {'G', 'I', 'F'});
    EXPECT_FALSE(gif.LoadFromFile(signature));
    EXPECT_EQ(gif.SlotsCount(), 1U);
    const std::string good = test_support::TestPath("minimal.gif");
    test_support::WriteFile(good, kMinimal);
    EXPECT_TRUE(gif.LoadFromFile(good));
    EXPECT_EQ(gif.FramesCount(), 1);
    // The program's own path form uses backslashes.
    std::string backslashed = good;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_TRUE(gif.LoadFromFile(backslashed));
}

TEST(GifReader, InterlacedRowsFollowThePasses)
{
    // Five rows stored in the order 0, 4, 2, 1, 3; each row holds its stored position.
    const Bytes fiveRows = TwoColourScreen(1, 5).Image(0, 0, 1, 5, 0x40).Pixels(3, Bytes{0, 1, 2, 3, 4}).Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(fiveRows));
    EXPECT_TRUE(gif.FrameInterlaced(1));
    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(1)), (Bytes{0, 3, 2, 4, 1}));
    // Four rows follow the passes too: 0, then 2, then 1 and 3.
    const Bytes fourRows = TwoColourScreen(1, 4).Image(0, 0, 1, 4, 0x40).Pixels(3, Bytes{0, 1, 2, 3}).Trailer();
    EXPECT_EQ(ReadIndices(*Loaded(fourRows)->FrameDIBXOR(1)), (Bytes{0, 2, 1, 3}));
}

TEST(GifReader, CutInTheSecondImageKeepsWhatWasDecoded)
{
    const Bytes first = test_support::NoiseIndices(64, 4, 1);
    const Bytes second = test_support::NoiseIndices(4000, 4, 2);
    const Bytes full =
        TwoColourScreen(64, 63).Image(0, 0, 64, 1).Pixels(2, first).Image(0, 1, 64, 62).Pixels(2, second).Trailer();
    const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(full.size() / 2 + 300));
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(cut));
    ASSERT_EQ(gif.FramesCount(), 2);
    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(1)), first);
    const Bytes decoded = ReadIndices(*gif.FrameDIBXOR(2));
    // The first rows came through intact; the rest is as the surface was made.
    EXPECT_TRUE(std::equal(second.begin(), second.begin() + 1000, decoded.begin()));
    EXPECT_EQ(decoded.back(), 0);
}

TEST(GifReader, CutOffStructuresUseTheBytesPresent)
{
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(Bytes{'G', 'I', 'F', '8', '9', 'a', 0x0A, 0x00, 0x07}));
    EXPECT_EQ(gif.ScreenWidth(), 10);
    EXPECT_EQ(gif.ScreenHeight(), 7);
    // Global table cut after one and a half entries.
    ASSERT_TRUE(
        gif.LoadFromStream(Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x81, 0, 0, 0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(gif.GlobalPaletteEntries(), 4);
    EXPECT_EQ(gif.GlobalPaletteRGBEntry(0), 0x332211U);
    EXPECT_EQ(gif.GlobalPaletteRGBEntry(1), 0x000044U);
    // A control extension cut after its packed byte and one delay byte.
    const Bytes control = GifBytes().Header().Screen(1, 1, 0).Raw({0x21, 0xF9, 0x04, 0x0D, 0x05});
    ASSERT_TRUE(gif.LoadFromStream(control));
    EXPECT_EQ(gif.SlotsCount(), 1U);
    EXPECT_EQ(gif.FrameDisposalMethod(1), 3);
    EXPECT_EQ(gif.FrameDelay(1), 5);
    EXPECT_TRUE(gif.FrameUseTransparentColor(1));
    EXPECT_EQ(gif.FrameTransparentColorIndex(1), 0);
    // An image descriptor cut after the low byte of its height: a 3 x 4 frame.
    const Bytes image = GifBytes().Header().Screen(1, 1, 0).Raw({0x2C, 1, 0, 2, 0, 3, 0, 4});
    ASSERT_TRUE(gif.LoadFromStream(image));
    EXPECT_EQ(gif.FramesCount(), 1);
    EXPECT_EQ(gif.FrameLeft(1), 1);
    EXPECT_EQ(gif.FrameTop(1), 2);
    EXPECT_EQ(gif.FrameDIBXOR(1)->Width(), 3);
    EXPECT_EQ(gif.FrameDIBXOR(1)->Height(), 4);
    EXPECT_FALSE(gif.FrameInterlaced(1));
}

TEST(GifReader, SurfacesThatCannotBeMadeSkipOnlyTheirFrame)
{
    // 20000 x 20000 pixels exceed the surface limit; the next frame still loads.
    const Bytes stream = TwoColourScreen(2, 1)
                             .GraphicControl(0x01, 0, 1)
                             .Image(0, 0, 20000, 20000)
                             .Pixels(2, Bytes{1, 1, 1})
                             .Image(0, 0, 2, 1)
                             .Pixels(2, Bytes{1, 0})
                             .Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    ASSERT_EQ(gif.FramesCount(), 2);
    EXPECT_EQ(gif.FrameDIBXOR(1)->hDIB(), gdi::HBITMAP{});
    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(2)), (Bytes{1, 0}));
}

TEST(GifReader, FramesBeyondTheSurfaceBudgetGetNoSurfaces)
{
    // 100 x 10 takes 1000 + 160 bytes of pixel memory, 1 x 1 takes 4 + 4: the
    // budget holds two large frames and the small one.
    GifBytes g = TwoColourScreen(100, 10);
    for (int k = 0; k < 3; ++k)
        g.GraphicControl(0x01, 0, 0).Image(0, 0, 100, 10).Pixels(2, Bytes(1000, 1));
    const Bytes stream = g.Image(0, 0, 1, 1).Pixels(2, Bytes{1}).Trailer();
    GifDocument doc;
    doc.Reset();
    ASSERT_TRUE(GifReader(doc, stream, 2 * 1160 + 8).Read());
    ASSERT_EQ(doc.FramesCount, 4);
    EXPECT_EQ(doc.Frames[1].DIBXOR->Width(), 100);
    EXPECT_EQ(ReadMaskBits(*doc.Frames[1].DIBAND), Bytes(1000, 0));
    EXPECT_EQ(doc.Frames[2].DIBXOR->hDIB(), gdi::HBITMAP{});
    EXPECT_EQ(doc.Frames[2].DIBAND->hDIB(), gdi::HBITMAP{});
    EXPECT_EQ(ReadIndices(*doc.Frames[3].DIBXOR), Bytes{1});
}

TEST(GifReader, FramesPastOneGibibyteKeepTheirSurfaces)
{
    // 64 frames of 16000 x 1000 reserve 1.1 GiB; each holds one pixel of data,
    // so the pages behind the rest are never touched.
    if (GifReader::DefaultSurfaceBudget() < (std::int64_t{3} << 29)) GTEST_SKIP() << "a machine with little memory";
    GifBytes g = TwoColourScreen(16000, 1000);
    for (int k = 0; k < 64; ++k)
        g.Image(0, 0, 16000, 1000).Pixels(2, Bytes{1});
    const Bytes stream = g.Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    ASSERT_EQ(gif.FramesCount(), 64);
    for (std::int16_t f = 1; f <= 64; ++f) {
        ASSERT_NE(gif.FrameDIBXOR(f)->hDIB(), gdi::HBITMAP{}) << f;
        EXPECT_EQ(gif.FrameDIBXOR(f)->lpBits()[0], 1) << f;
    }
}

// While it lives, glibc fills new blocks with 0x80 bytes.
struct FilledAllocations {
#if defined(__GLIBC__)
    FilledAllocations()
    {
        mallopt(M_PERTURB, 0x7F);
    }
    ~FilledAllocations()
    {
        mallopt(M_PERTURB, 0);
    }
#else
    FilledAllocations() = default;
    ~FilledAllocations() = default;
#endif
    FilledAllocations(const FilledAllocations&) = delete;
    FilledAllocations& operator=(const FilledAllocations&) = delete;
};

TEST(GifReader, CodeSizeTheDecoderRefusesSkipsOnlyDecoding)
{
    // New memory reads as set bits (blocks past malloc's per-thread cache):
    // the refused transparent frame's mask must not be left as it came.
    const FilledAllocations filled;
    const Bytes stream = TwoColourScreen(1, 1)
                             .GraphicControl(0x01, 0, 0)
                             .Image(0, 0, 100, 100)
                             .ImageData(31, {0xFF, 0xFF})
                             .Image(0, 0, 1, 1)
                             .Pixels(2, Bytes{1})
                             .Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    ASSERT_EQ(gif.FramesCount(), 2);
    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(1)), Bytes(10000, 0));
    EXPECT_EQ(ReadMaskBits(*gif.FrameDIBAND(1)), Bytes(10000, 0));
    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(2)), Bytes{1});
}

TEST(GifReader, ImagesBeyond32767ReuseTheLastSlot)
{
    GifBytes g = TwoColourScreen(1, 1);
    for (int k = 0; k < 32768; ++k)
        g.Image(0, 0, 0, 0).ImageData(2, {});
    g.Image(5, 6, 0, 0).ImageData(2, {}).GraphicControl(0x04, 9, 0).Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(g.bytes()));
    EXPECT_EQ(gif.FramesCount(), 32767);
    EXPECT_EQ(gif.SlotsCount(), 32767U);
    EXPECT_EQ(gif.FrameLeft(32767), 5);
    EXPECT_EQ(gif.FrameDelay(32767), 0);
}

// Every prefix of a few streams: never a crash, the header rules for short
// prefixes, and every frame that ended inside the prefix exactly as in the
// whole stream.
TEST(GifReader, EveryPrefixLoadsWhatItHolds)
{
    const Bytes animation = GifBytes()
                                .Header()
                                .Screen(4, 3, 0x81)
                                .Table({0x000000, 0xFF0000, 0x00FF00, 0x0000FF})
                                .Netscape(2)
                                .GraphicControl(0x05, 10, 3)
                                .Image(0, 0, 4, 3)
                                .Pixels(2, test_support::NoiseIndices(12, 4, 3))
                                .Extension(0xFE, {'h', 'i'})
                                .GraphicControl(0x08, 20, 0)
                                .Image(1, 1, 3, 2, 0x81)
                                .Table({0x111111, 0x222222, 0x333333, 0x444444})
                                .Pixels(2, test_support::NoiseIndices(6, 4, 4))
                                .Trailer();
    const Bytes interlaced =
        TwoColourScreen(3, 9).Image(0, 0, 3, 9, 0x40).Pixels(2, test_support::NoiseIndices(27, 2, 5)).Trailer();
    for (const Bytes& whole : {kMinimal, animation, interlaced}) {
        cGIF reference;
        ASSERT_TRUE(reference.LoadFromStream(whole));
        for (std::size_t length = 0; length <= whole.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
            cGIF gif;
            if (length < 3 || length < 6) {
                EXPECT_THROW(gif.LoadFromStream(prefix), std::out_of_range);
                continue;
            }
            ASSERT_TRUE(gif.LoadFromStream(prefix));
            ASSERT_LE(gif.FramesCount(), reference.FramesCount());
            for (std::int16_t f = 1; f < gif.FramesCount(); ++f) {
                EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(f)), ReadIndices(*reference.FrameDIBXOR(f)));
                EXPECT_EQ(gif.FrameDelay(f), reference.FrameDelay(f));
            }
            if (length >= whole.size() - 1) {
                ASSERT_EQ(gif.FramesCount(), reference.FramesCount());
                EXPECT_EQ(gif.AnimationLoops(), reference.AnimationLoops());
                const std::int16_t last = gif.FramesCount();
                if (last > 0) {
                    EXPECT_EQ(ReadIndices(*gif.FrameDIBXOR(last)), ReadIndices(*reference.FrameDIBXOR(last)));
                }
            }
        }
    }
}

}  // namespace
}  // namespace korvane::imaging
