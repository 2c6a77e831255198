// The written layout byte for byte, the saves that must fail, the atomic
// replacement of the target, and writer-to-reader round trips.
#include <filesystem>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include "imaging/gif/GifWriter.h"
#include "imaging/gif/cGIF.h"
#include "tests/support/GifTestSupport.h"
#include "tests/support/GiflibMemory.h"

namespace korvane::imaging {
namespace {

using test_support::Bytes;
using test_support::ReadFile;
using test_support::ReadIndices;
using test_support::TestPath;

Bytes Saved(cGIF& gif, const std::string& name)
{
    const std::string path = TestPath(name);
    EXPECT_TRUE(gif.Save(path));
    return ReadFile(path);
}

Bytes Slice(const Bytes& b, std::size_t from, std::size_t count)
{
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + count));
}

void SetGlobalColour(cGIF& gif, std::size_t entry, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    gif.lpGlobalPalette()[4 * entry] = b;
    gif.lpGlobalPalette()[4 * entry + 1] = g;
    gif.lpGlobalPalette()[4 * entry + 2] = r;
}

TEST(GifWriter, OneFrameOnePixelGoldenFile)
{
    cGIF gif;
    gif.FrameInsert(1, 1, 1);
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteEntries(2);
    SetGlobalColour(gif, 1, 0xFF, 0x80, 0x01);
    const Bytes expected = {
        'G',  'I',  'F',  '8',  '9',  'a',         // header
        0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00,  // screen 1 x 1, global table of 2
        0x00, 0x00, 0x00, 0xFF, 0x80, 0x01,        // global table
        0x21, 0xFF, 0x0B, 'N',  'E',  'T',  'S',  'C',  'A',  'P',
        'E',  '2',  '.',  '0',  0x03, 0x01, 0x00, 0x00, 0x00,        // loop extension, loops 0
        0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00,              // graphic control
        0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,  // image descriptor
        0x02,                                                        // code size
        0x02, 0x44, 0x01,                                            // clear 4, 0, end 5
        0x00,                                                        // terminator
        0x3B,                                                        // trailer
    };
    EXPECT_EQ(Saved(gif, "golden-1x1.gif"), expected);
}

TEST(GifWriter, TwoByTwoFrameLayout)
{
    cGIF gif;
    gif.FrameInsert(1, 2, 2);
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteEntries(2);
    const Bytes file = Saved(gif, "layout-2x2.gif");
    ASSERT_GT(file.size(), 58U);
    EXPECT_EQ(Slice(file, 0, 13), (Bytes{'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0}));
    EXPECT_EQ(Slice(file, 19, 3), (Bytes{0x21, 0xFF, 0x0B}));
    EXPECT_EQ(Slice(file, 35, 3), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(Slice(file, 38, 8), (Bytes{0x21, 0xF9, 0x04, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Slice(file, 46, 11), (Bytes{0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x00, 0x02}));
    EXPECT_EQ(Slice(file, file.size() - 2, 2), (Bytes{0x00, 0x3B}));
}

struct GlobalTableCase {
    std::int16_t entries;
    bool sorted;
    std::uint8_t packed;
    std::size_t tableBytes;
};

class GlobalTableSizes : public testing::TestWithParam<GlobalTableCase> {};

TEST_P(GlobalTableSizes, TableRoundsUpToAPowerOfTwo)
{
    const GlobalTableCase& c = GetParam();
    cGIF gif;
    gif.Destroy();
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteEntries(c.entries);
    gif.SetGlobalPaletteSorted(c.sorted);
    for (int i = 0; i < 256; ++i)
        SetGlobalColour(gif, i, static_cast<std::uint8_t>(i), 1, 2);
    // One file per case: ctest runs the cases side by side.
    const Bytes file = Saved(gif, "table-" + std::to_string(c.entries) + (c.sorted ? "-sorted" : "") + ".gif");
    ASSERT_EQ(file.size(), 6 + 7 + c.tableBytes + 1);
    EXPECT_EQ(Slice(file, 0, 6), (Bytes{'G', 'I', 'F', '8', '7', 'a'}));
    EXPECT_EQ(file[10], c.packed);
    EXPECT_EQ(gif.LogicalScreen().PackedFields, c.packed);  // the document keeps the written byte
    for (std::size_t i = 0; i < c.tableBytes / 3; ++i) {
        const bool used = static_cast<std::int16_t>(i) < c.entries;
        const Bytes expected = used ? Bytes{static_cast<std::uint8_t>(i), 1, 2} : Bytes{0, 0, 0};
        EXPECT_EQ(Slice(file, 13 + 3 * i, 3), expected) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, GlobalTableSizes,
                         testing::Values(GlobalTableCase{2, false, 0x80, 6}, GlobalTableCase{3, false, 0x91, 12},
                                         GlobalTableCase{256, false, 0xF7, 768}, GlobalTableCase{256, true, 0xFF, 768},
                                         GlobalTableCase{0, false, 0x80, 6}, GlobalTableCase{-4, false, 0x80, 6},
                                         GlobalTableCase{17, true, 0xCC, 96}),
                         [](const auto& info) {
                             const int entries = info.param.entries;
                             return (entries < 0 ? "Minus" + std::to_string(-entries) : std::to_string(entries)) +
                                    (info.param.sorted ? "Sorted" : "Unsorted");
                         });

TEST(GifWriter, DocumentWithoutFramesOrGlobalTable)
{
    cGIF gif;
    gif.Destroy();
    gif.SetScreenWidth(300);
    gif.SetScreenPixelAspectRatio(1.0F);
    EXPECT_EQ(Saved(gif, "empty.gif"), (Bytes{'G', 'I', 'F', '8', '7', 'a', 0x2C, 0x01, 0, 0, 0, 0, 49, 0x3B}));
    gif.SetFrameUseTransparentColor(1, true);
    EXPECT_EQ(Saved(gif, "empty-89a.gif")[4], '9');
}

TEST(GifWriter, LocalTableInterlacedDescriptor)
{
    cGIF gif;
    gif.FrameInsert(1, 3, 6);
    gif.SetLocalPaletteUsed(1, true);
    gif.SetLocalPaletteEntries(1, 16);
    gif.SetFrameInterlaced(1, true);
    gif.lpLocalPalette(1)[4 * 15 + 2] = 0xEE;
    const Bytes file = Saved(gif, "local16.gif");
    // header 6, screen 7, loop 19, control 8, then the descriptor.
    EXPECT_EQ(file[10], 0x00);
    EXPECT_EQ(Slice(file, 40, 10), (Bytes{0x2C, 0, 0, 0, 0, 3, 0, 6, 0, 0xC3}));
    EXPECT_EQ(Slice(file, 50 + 45, 3), (Bytes{0xEE, 0, 0}));
    EXPECT_EQ(file[50 + 48], 4);  // code size
}

TEST(GifWriter, TwoEntryLocalTableUsesCodeSizeTwo)
{
    cGIF gif;
    gif.FrameInsert(1, 1, 1);
    gif.SetLocalPaletteUsed(1, true);
    gif.SetLocalPaletteEntries(1, 2);
    gif.SetLocalPaletteSorted(1, true);
    const Bytes file = Saved(gif, "local2.gif");
    EXPECT_EQ(file[49], 0xA0);
    EXPECT_EQ(file[50 + 6], 2);
}

TEST(GifWriter, GraphicControlFields)
{
    cGIF gif;
    gif.FrameInsert(1, 1, 1);
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteEntries(2);
    gif.SetAnimationLoops(-2);
    gif.SetFrameDisposalMethod(1, 2);
    gif.SetFrameUseTransparentColor(1, true);
    gif.SetFrameTransparentColorIndex(1, 1);
    gif.SetFrameDelay(1, 0x1234);
    gif.SetFrameLeft(1, -1);
    Bytes file = Saved(gif, "control.gif");
    EXPECT_EQ(Slice(file, 35, 3), (Bytes{0xFE, 0xFF, 0x00}));
    EXPECT_EQ(Slice(file, 38, 8), (Bytes{0x21, 0xF9, 0x04, 0x09, 0x34, 0x12, 0x01, 0x00}));
    EXPECT_EQ(Slice(file, 47, 2), (Bytes{0xFF, 0xFF}));
    gif.SetFrameUseTransparentColor(1, false);
    gif.SetFrameUserInput(1, true);
    gif.SetFrameDisposalMethod(1, 63);
    file = Saved(gif, "control.gif");
    EXPECT_EQ(Slice(file, 41, 5), (Bytes{0xFE, 0x34, 0x12, 0x00, 0x00}));
}

TEST(GifWriter, SavingTheSameDocumentTwiceGivesTheSameBytes)
{
    cGIF gif;
    gif.FrameInsert(1, 97, 53);
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteEntries(256);
    test_support::WriteIndices(*gif.FrameDIBXOR(1), test_support::NoiseIndices(std::size_t{97} * 53, 256, 11));
    EXPECT_EQ(Saved(gif, "twice-a.gif"), Saved(gif, "twice-b.gif"));
}

// Each of these documents cannot be written; the existing file stays as it
// was and no temporary file is left beside it.
struct FailingCase {
    const char* name;
    void (*spoil)(cGIF&);
};

class FailingSaves : public testing::TestWithParam<FailingCase> {};

TEST_P(FailingSaves, LeaveTheExistingFileUntouched)
{
    const FailingCase& c = GetParam();
    cGIF gif;
    gif.FrameInsert(1, 4, 4);
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteEntries(4);
    c.spoil(gif);
    const std::string dir = TestPath(std::string("failing-") + c.name);
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/target.gif";
    test_support::WriteFile(path, {'o', 'l', 'd'});
    EXPECT_FALSE(gif.Save(path));
    EXPECT_EQ(ReadFile(path), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, FailingSaves,
    testing::Values(FailingCase{"NoTableAtAll", [](cGIF& g) { g.SetGlobalPaletteExists(false); }},
                    FailingCase{"GlobalTooLarge", [](cGIF& g) { g.SetGlobalPaletteEntries(257); }},
                    FailingCase{"LocalTooLarge",
                                [](cGIF& g) {
                                    g.SetLocalPaletteUsed(1, true);
                                    g.SetLocalPaletteEntries(1, 300);
                                }},
                    FailingCase{"DisposalTooLarge", [](cGIF& g) { g.SetFrameDisposalMethod(1, 64); }},
                    // As a frame whose surfaces a load could not make: its pixels are not there.
                    FailingCase{"FrameWithoutPixels",
                                [](cGIF& g) {
                                    g.FrameInsert(2, 2, 2);
                                    g.FrameDIBXOR(1)->Destroy();
                                }},
                    FailingCase{"IndexBeyondCodeSize", [](cGIF& g) { g.FrameDIBXOR(1)->lpBits()[5] = 4; }},
                    FailingCase{"IndexBeyondLocalCodeSize",
                                [](cGIF& g) {
                                    g.SetLocalPaletteUsed(1, true);
                                    g.SetLocalPaletteEntries(1, 16);
                                    g.FrameDIBXOR(1)->lpBits()[3 * g.FrameDIBXOR(1)->BytesPerScanline() + 3] = 16;
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

// The most frames a document holds: all are written, and giflib reads them.
TEST(GifWriter, AllOf32767FramesAreWritten)
{
    GifDocument doc;
    doc.Reset();
    doc.GlobalPaletteExists = true;
    doc.GlobalPaletteEntries = 2;
    FrameRecord frame;
    frame.DIBXOR = std::make_shared<cDIB>();
    ASSERT_TRUE(frame.DIBXOR->Create(1, 1, 8));
    doc.Frames.assign(32767, frame);
    doc.FramesCount = 32767;
    const Bytes stream = GifWriter(doc).Write();

    korvane::test_support::GiflibMemoryInput input{stream};
    int error = 0;
    GifFileType* file = DGifOpen(&input, korvane::test_support::GiflibReadMemory, &error);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(DGifSlurp(file), GIF_OK);
    EXPECT_EQ(file->ImageCount, 32767);
    DGifCloseFile(file, &error);
}

TEST(GifWriter, PackedByteIsStoredOnlyOnceTheGlobalTableIsBuilt)
{
    cGIF gif;
    gif.FrameInsert(1, 2, 2);
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteEntries(257);  // the table copy runs past the palette
    EXPECT_FALSE(gif.Save(TestPath("packed-untouched.gif")));
    EXPECT_EQ(gif.LogicalScreen().PackedFields, 0);
    // A failure further on comes after the byte has been stored.
    gif.SetGlobalPaletteEntries(4);
    gif.SetFrameDisposalMethod(1, 64);
    EXPECT_FALSE(gif.Save(TestPath("packed-stored.gif")));
    EXPECT_EQ(gif.LogicalScreen().PackedFields, 0x91);
}

TEST(GifWriter, IndicesWithinTheCodeSizeAreAccepted)
{
    cGIF gif;
    gif.FrameInsert(1, 4, 4);
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteEntries(2);  // code size 2 carries indices up to 3
    gif.FrameDIBXOR(1)->lpBits()[5] = 3;
    EXPECT_TRUE(gif.Save(TestPath("index3.gif")));
}

TEST(GifWriter, TargetThatCannotBeReplacedLeavesNoTemporaryFile)
{
    cGIF gif;
    gif.Destroy();
    const std::string dir = TestPath("target-is-a-folder");
    std::filesystem::create_directories(dir + "/target.gif/inside");
    EXPECT_FALSE(gif.Save(dir + "/target.gif"));
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/target.gif/inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}

TEST(GifWriter, DocumentWithoutSlotsCannotBeSaved)
{
    cGIF gif;
    const std::string path = TestPath("never.gif");
    EXPECT_FALSE(gif.Save(path));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(GifWriter, SaveReplacesAnExistingFileAndFailsIntoAMissingFolder)
{
    cGIF gif;
    gif.Destroy();
    const std::string path = TestPath("replace.gif");
    test_support::WriteFile(path, Bytes(5000, 0xAA));
    ASSERT_TRUE(gif.Save(path));
    EXPECT_EQ(ReadFile(path), (Bytes{'G', 'I', 'F', '8', '7', 'a', 0, 0, 0, 0, 0, 0, 0, 0x3B}));
    EXPECT_FALSE(gif.Save(TestPath("no-such-folder") + "/x.gif"));
}

// Save then load gives back every field the stream carries and every pixel.
TEST(GifWriter, RoundTripKeepsEveryFieldAndPixel)
{
    cGIF gif;
    gif.FrameInsert(1, 40, 30);
    gif.FrameInsert(2, 7, 5);
    gif.FrameInsert(3, 1, 1);
    gif.FrameInsert(4, 300, 2);
    gif.SetScreenWidth(320);
    gif.SetScreenHeight(-200);
    gif.SetScreenBackgroundColorIndex(9);
    gif.SetScreenPixelAspectRatio(2.0F);
    gif.SetAnimationLoops(12);
    gif.SetGlobalPaletteExists(true);
    gif.SetGlobalPaletteSorted(true);
    gif.SetGlobalPaletteEntries(64);
    for (int i = 0; i < 64; ++i)
        SetGlobalColour(gif, i, static_cast<std::uint8_t>(4 * i), 7, static_cast<std::uint8_t>(255 - i));
    const std::uint16_t limits[] = {64, 8, 64, 256};
    for (std::int16_t f = 1; f <= 4; ++f) {
        gif.SetFrameLeft(f, static_cast<std::int16_t>(f * 3));
        gif.SetFrameTop(f, static_cast<std::int16_t>(-f));
        gif.SetFrameDelay(f, static_cast<std::int16_t>(f * 100));
        gif.SetFrameDisposalMethod(f, f % 4);
        gif.SetFrameUserInput(f, f == 2);
        gif.SetFrameInterlaced(f, f == 1 || f == 2);
        gif.SetFrameUseTransparentColor(f, f != 3);
        gif.SetFrameTransparentColorIndex(f, static_cast<std::uint8_t>(f == 3 ? 0 : f));
        const auto image = gif.FrameDIBXOR(f);
        test_support::WriteIndices(*image, test_support::NoiseIndices(static_cast<std::size_t>(image->Width()) *
                                                                          static_cast<std::size_t>(image->Height()),
                                                                      limits[f - 1], f));
    }
    gif.SetLocalPaletteUsed(2, true);
    gif.SetLocalPaletteEntries(2, 8);
    gif.SetLocalPaletteSorted(2, true);
    gif.SetLocalPaletteUsed(4, true);
    gif.SetLocalPaletteEntries(4, 256);
    for (int i = 0; i < 1024; ++i) {
        if (i % 4 != 3) gif.lpLocalPalette(4)[i] = static_cast<std::uint8_t>(i * 7);
        if (i % 4 != 3 && i < 32) gif.lpLocalPalette(2)[i] = static_cast<std::uint8_t>(i + 1);
    }
    const std::string path = TestPath("roundtrip.gif");
    ASSERT_TRUE(gif.Save(path));

    cGIF back;
    ASSERT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(back.ScreenWidth(), 320);
    EXPECT_EQ(back.ScreenHeight(), -200);
    EXPECT_EQ(back.ScreenBackgroundColorIndex(), 9);
    EXPECT_EQ(back.LogicalScreen().PixelAspect, gif.LogicalScreen().PixelAspect);
    EXPECT_EQ(back.LogicalScreen().PackedFields, gif.LogicalScreen().PackedFields);
    EXPECT_EQ(back.AnimationLoops(), 12);
    EXPECT_TRUE(back.GlobalPaletteExists());
    EXPECT_TRUE(back.GlobalPaletteSorted());
    EXPECT_EQ(back.GlobalPaletteEntries(), 64);
    EXPECT_TRUE(std::equal(gif.lpGlobalPalette().begin(), gif.lpGlobalPalette().end(), back.lpGlobalPalette().begin()));
    ASSERT_EQ(back.FramesCount(), 4);
    EXPECT_EQ(back.SlotsCount(), 4U);
    for (std::int16_t f = 1; f <= 4; ++f) {
        SCOPED_TRACE(f);
        const FrameRecord& a = gif.Frame(f);
        const FrameRecord& b = back.Frame(f);
        EXPECT_EQ(b.Left, a.Left);
        EXPECT_EQ(b.Top, a.Top);
        EXPECT_EQ(b.Delay, a.Delay);
        EXPECT_EQ(b.DisposalMethod, a.DisposalMethod);
        EXPECT_EQ(b.UserInput, a.UserInput);
        EXPECT_EQ(b.Interlaced, a.Interlaced);
        EXPECT_EQ(b.UseTransparentColor, a.UseTransparentColor);
        EXPECT_EQ(b.TransparentColorIndex, a.TransparentColorIndex);
        EXPECT_EQ(b.LocalPaletteUsed, a.LocalPaletteUsed);
        EXPECT_EQ(b.LocalPaletteEntries, a.LocalPaletteUsed ? a.LocalPaletteEntries : 64);
        EXPECT_EQ(b.LocalPaletteSorted, a.LocalPaletteUsed ? a.LocalPaletteSorted : true);
        if (a.LocalPaletteUsed) {
            EXPECT_EQ(b.LocalPalette, a.LocalPalette);
        } else {
            EXPECT_TRUE(std::equal(b.LocalPalette.begin(), b.LocalPalette.end(), gif.lpGlobalPalette().begin()));
        }
        EXPECT_EQ(b.DIBXOR->Width(), a.DIBXOR->Width());
        EXPECT_EQ(b.DIBXOR->Height(), a.DIBXOR->Height());
        EXPECT_EQ(ReadIndices(*b.DIBXOR), ReadIndices(*a.DIBXOR));
    }
}

}  // namespace
}  // namespace korvane::imaging
