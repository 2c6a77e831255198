#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <system_error>

#include <gtest/gtest.h>

#include "imaging/dib/cDIB.h"
#include "tests/support/BmpBuilder.h"
#include "tests/support/GifTestSupport.h"

namespace korvane::imaging {
namespace {

using gdi::RGB;
using test_support::Pixel32;
using test_support::SetPixel32;

int Bit(const cDIB& d, int x, int y)
{
    return (d.lpBits()[std::ptrdiff_t{y} * d.BytesPerScanline() + x / 8] >> (7 - x % 8)) & 1;
}

void ExpectEmpty(const cDIB& d)
{
    EXPECT_FALSE(d.hDC());
    EXPECT_FALSE(d.hDIB());
    EXPECT_EQ(d.lpBits(), nullptr);
    EXPECT_EQ(d.Width(), 0);
    EXPECT_EQ(d.Height(), 0);
    EXPECT_EQ(d.bpp(), 0);
    EXPECT_EQ(d.BytesPerScanline(), 0);
    EXPECT_EQ(d.size(), 0);
}

std::vector<std::uint8_t> BlackWhite()
{
    return {0, 0, 0, 0, 255, 255, 255, 0};
}

// --- sizes -----------------------------------------------------------------

struct SizeCase {
    int width, height, bpp, scanline, size;
};

class CreateSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(CreateSizeTest, RowsArePaddedToWholeWords)
{
    const SizeCase c = GetParam();
    cDIB d;
    ASSERT_TRUE(d.Create(c.width, c.height, c.bpp));
    EXPECT_TRUE(d.hDC());
    EXPECT_TRUE(d.hDIB());
    EXPECT_NE(d.lpBits(), nullptr);
    EXPECT_EQ(d.BytesPerScanline(), c.scanline);
    EXPECT_EQ(d.size(), c.size);
    EXPECT_EQ(d.BitmapHeader().biSize, 40u);
    EXPECT_EQ(d.BitmapHeader().biWidth, c.width);
    EXPECT_EQ(d.BitmapHeader().biHeight, -c.height);
    EXPECT_EQ(d.BitmapHeader().biBitCount, c.bpp);
    EXPECT_EQ(d.BitmapHeader().biPlanes, 1);
    gdi::BITMAP info;
    ASSERT_TRUE(gdi::GetObject(d.hDIB(), info));
    EXPECT_EQ(info.bmWidthBytes, c.scanline);
    EXPECT_EQ(info.bmBits, d.lpBits());
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, CreateSizeTest,
                         ::testing::Values(SizeCase{10, 3, 1, 4, 12}, SizeCase{33, 2, 1, 8, 16},
                                           SizeCase{10, 3, 4, 8, 24}, SizeCase{10, 3, 8, 12, 36},
                                           SizeCase{10, 3, 16, 20, 60}, SizeCase{10, 3, 24, 32, 96},
                                           SizeCase{10, 3, 32, 40, 120}, SizeCase{1, 1, 32, 4, 4}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height) + "At" +
                                    std::to_string(info.param.bpp) + "Bits";
                         });

struct RefusedCase {
    const char* name;
    int width, height, bpp;
};

class CreateRefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(CreateRefusedTest, ReturnsFalseAndLeavesTheObjectEmpty)
{
    cDIB d;
    ASSERT_TRUE(d.Create(4, 4, 8));
    EXPECT_FALSE(d.Create(GetParam().width, GetParam().height, GetParam().bpp));
    ExpectEmpty(d);
}

INSTANTIATE_TEST_SUITE_P(Cases, CreateRefusedTest,
                         ::testing::Values(RefusedCase{"ZeroWidth", 0, 3, 8}, RefusedCase{"ZeroHeight", 3, 0, 8},
                                           RefusedCase{"NegativeWidth", -3, 3, 8},
                                           RefusedCase{"NegativeHeight", 3, -3, 8},
                                           RefusedCase{"UnsupportedDepth", 3, 3, 2}, RefusedCase{"ZeroDepth", 3, 3, 0},
                                           RefusedCase{"NegativeDepth", 3, 3, -8},
                                           RefusedCase{"Over256MiB", 16384, 4097, 32},
                                           RefusedCase{"LargestHeightOver256MiB", 1, INT_MAX / 4, 32}),
                         [](const auto& info) { return std::string(info.param.name); });

struct OverflowCase {
    const char* name;
    int width, height, bpp;
};

class CreateOverflowTest : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(CreateOverflowTest, ThrowsAndLeavesTheObjectEmpty)
{
    cDIB d;
    ASSERT_TRUE(d.Create(4, 4, 8));
    EXPECT_THROW(d.Create(GetParam().width, GetParam().height, GetParam().bpp), std::overflow_error);
    ExpectEmpty(d);
}

INSTANTIATE_TEST_SUITE_P(Cases, CreateOverflowTest,
                         ::testing::Values(OverflowCase{"WidthTimesDepth", 0x08000000, 1, 32},
                                           OverflowCase{"PlusThirtyOne", INT_MAX, 1, 1},
                                           OverflowCase{"RowTimesHeight", 0x10000, 0x10000, 32},
                                           OverflowCase{"DepthBeyondSixteenBits", 4, 4, 40000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Destroy, TwiceIsHarmlessAndEverythingReadsZero)
{
    cDIB d;
    ASSERT_TRUE(d.Create(5, 5, 24));
    const gdi::HBITMAP bitmap = d.hDIB();
    d.Destroy();
    d.Destroy();
    ExpectEmpty(d);
    EXPECT_EQ(gdi::GetObjectType(bitmap), 0);  // the section itself is gone
    EXPECT_EQ(d.BitmapHeader().biWidth, 5);    // the header keeps its last contents
}

// --- colour tables ----------------------------------------------------------

TEST(Palette, FreshTablesAreBlackAndSizedByDepth)
{
    for (int bpp : {1, 4, 8}) {
        cDIB d;
        ASSERT_TRUE(d.Create(3, 3, bpp));
        std::vector<std::uint8_t> palette(3, 0xAA);
        d.GetPalette(palette);
        EXPECT_EQ(palette, std::vector<std::uint8_t>((std::size_t{1} << bpp) * 4, 0)) << bpp;
    }
}

TEST(Palette, SetWritesWholeEntriesFromTheStart)
{
    cDIB d;
    ASSERT_TRUE(d.Create(3, 3, 8));
    const std::vector<std::uint8_t> ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    d.SetPalette(ten);  // (9 + 1) \ 4 = 2 entries; bytes 8 and 9 are ignored
    std::vector<std::uint8_t> palette;
    d.GetPalette(palette);
    ASSERT_EQ(palette.size(), 1024u);
    EXPECT_EQ(std::vector<std::uint8_t>(palette.begin(), palette.begin() + 12),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0}));
}

TEST(Palette, EntriesBeyondTheTableAreNotWritten)
{
    cDIB d;
    ASSERT_TRUE(d.Create(3, 3, 1));
    d.SetPalette(std::vector<std::uint8_t>(1024, 0x55));
    std::vector<std::uint8_t> palette;
    d.GetPalette(palette);
    EXPECT_EQ(palette, std::vector<std::uint8_t>(8, 0x55));
}

TEST(Palette, EmptyArrayIsOutOfRange)
{
    cDIB d;
    ASSERT_TRUE(d.Create(3, 3, 8));
    EXPECT_THROW(d.SetPalette({}), std::out_of_range);
}

TEST(Palette, IgnoredWithoutATable)
{
    cDIB d;
    ASSERT_TRUE(d.Create(3, 3, 32));
    EXPECT_NO_THROW(d.SetPalette({}));
    std::vector<std::uint8_t> palette{7};
    d.GetPalette(palette);
    EXPECT_EQ(palette, std::vector<std::uint8_t>{7});
}

// --- best fit ---------------------------------------------------------------

struct FitCase {
    const char* name;
    int width, height, dstW, dstH;
    bool stretch;
    int x, y, w, h;
};

class BestFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(BestFitTest, KeepsProportionsAndCentres)
{
    const FitCase& c = GetParam();
    cDIB d;
    ASSERT_TRUE(d.Create(c.width, c.height, 1));
    std::int32_t x = -1, y = -1, w = -1, h = -1;
    d.GetBestFitInfo(c.dstW, c.dstH, x, y, w, h, c.stretch);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(w, c.w);
    EXPECT_EQ(h, c.h);
}

INSTANTIATE_TEST_SUITE_P(Cases, BestFitTest,
                         ::testing::Values(FitCase{"FitsNotEnlarged", 100, 50, 200, 200, false, 50, 75, 100, 50},
                                           FitCase{"StretchFitEnlarges", 100, 50, 200, 200, true, 0, 50, 200, 100},
                                           FitCase{"WideShrinks", 300, 100, 150, 150, false, 0, 50, 150, 50},
                                           FitCase{"TallShrinks", 100, 300, 150, 150, false, 50, 0, 50, 150},
                                           FitCase{"HalfRoundsUpToEven", 4, 3, 2, 10, false, 0, 4, 2, 2},
                                           FitCase{"HalfRoundsDownToEven", 4, 5, 2, 10, false, 0, 4, 2, 2},
                                           FitCase{"OddMarginTruncates", 100, 100, 105, 100, false, 2, 0, 100, 100},
                                           FitCase{"EqualRatiosTakeTheHeight", 10, 10, 20, 20, true, 0, 0, 20, 20},
                                           FitCase{"ShrinksToTheWidth", 3, 1, 2, 1, false, 0, 0, 2, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BestFit, SpareRoomOutsideThirtyTwoBitsOverflows)
{
    // A negative height ratio fits the picture to -1 x -1: the spare width is 2^31.
    cDIB d;
    ASSERT_TRUE(d.Create(1, 1, 1));
    std::int32_t x = 7, y = 7, w = 7, h = 7;
    EXPECT_THROW(d.GetBestFitInfo(std::numeric_limits<std::int32_t>::max(), -1, x, y, w, h), std::overflow_error);
    EXPECT_EQ(x + y + w + h, 28) << "nothing is written";
}

TEST(BestFit, LeavesTheOutputsAloneWithoutASurface)
{
    cDIB d;
    std::int32_t x = 7, y = 7, w = 7, h = 7;
    d.GetBestFitInfo(100, 100, x, y, w, h, true);
    EXPECT_EQ(x + y + w + h, 28);
}

// --- transfers --------------------------------------------------------------

TEST(LoadBlt, EightBitToMaskThroughBlackAndWhite)
{
    cDIB image, mask;
    ASSERT_TRUE(image.Create(10, 3, 8));
    ASSERT_TRUE(mask.Create(10, 3, 1));
    std::vector<std::uint8_t> palette(1024, 0);
    constexpr std::size_t kWhite = 7;  // the only white index
    palette[4 * kWhite] = palette[4 * kWhite + 1] = palette[4 * kWhite + 2] = 255;
    image.SetPalette(palette);
    mask.SetPalette(BlackWhite());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            image.lpBits()[y * image.BytesPerScanline() + x] = (x + y) % 3 ? 9 : 7;
    EXPECT_NE(mask.LoadBlt(image.hDC()), 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(Bit(mask, x, y), (x + y) % 3 ? 0 : 1) << x << "," << y;
}

TEST(LoadBlt, SourceOffsetAndSizeAddressTheSourceOnly)
{
    cDIB src, dst;
    ASSERT_TRUE(src.Create(4, 4, 32));
    ASSERT_TRUE(dst.Create(4, 4, 32));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            SetPixel32(src, x, y, static_cast<std::uint32_t>(10 * y + x));
    EXPECT_NE(dst.LoadBlt(src.hDC(), 1, 2, 2, 1), 0);
    EXPECT_EQ(Pixel32(dst, 0, 0), 21u);
    EXPECT_EQ(Pixel32(dst, 1, 0), 22u);
    EXPECT_EQ(Pixel32(dst, 2, 0), 0u);
    EXPECT_EQ(Pixel32(dst, 0, 1), 0u);
    EXPECT_NE(dst.LoadBlt(src.hDC()), 0);  // no size: the whole surface from (0, 0)
    EXPECT_EQ(Pixel32(dst, 3, 3), 33u);
}

struct StretchCase {
    const char* name;
    std::uint32_t rop;
    int scale;
};

class StretchTest : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchTest, AppliesTheRasterOperationAtEveryScale)
{
    const auto [name, rop, scale] = GetParam();
    cDIB src, dst;
    ASSERT_TRUE(src.Create(2, 1, 8));
    ASSERT_TRUE(dst.Create(2 * scale, scale, 32));
    std::vector<std::uint8_t> palette{0x0F, 0xF0, 0x0F, 0, 0xFF, 0x00, 0xFF, 0};
    src.SetPalette(palette);
    src.lpBits()[1] = 1;
    for (int y = 0; y < scale; ++y)
        for (int x = 0; x < 2 * scale; ++x)
            SetPixel32(dst, x, y, 0x00F0F0F0);
    EXPECT_NE(src.Stretch(dst.hDC(), 0, 0, 2 * scale, scale, 0, 0, 0, 0, rop), 0);
    const std::uint32_t colours[2] = {0x000FF00F, 0x00FF00FF};
    for (int y = 0; y < scale; ++y)
        for (int x = 0; x < 2 * scale; ++x) {
            const std::uint32_t s = colours[x / scale], d = 0x00F0F0F0;
            const std::uint32_t expected = rop == gdi::SRCCOPY ? s : rop == gdi::SRCAND ? (d & s) : (d | s);
            EXPECT_EQ(Pixel32(dst, x, y), expected) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Ops, StretchTest,
    ::testing::Values(StretchCase{"CopyOneToOne", gdi::SRCCOPY, 1}, StretchCase{"AndOneToOne", gdi::SRCAND, 1},
                      StretchCase{"PaintOneToOne", gdi::SRCPAINT, 1}, StretchCase{"CopyScaled", gdi::SRCCOPY, 3},
                      StretchCase{"AndScaled", gdi::SRCAND, 3}, StretchCase{"PaintScaled", gdi::SRCPAINT, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Stretch, MaskReadsAsBlackAndWhite)
{
    cDIB mask, dst;
    ASSERT_TRUE(mask.Create(2, 1, 1));
    mask.SetPalette(BlackWhite());
    mask.lpBits()[0] = 0x40;  // pixel 1 set
    ASSERT_TRUE(dst.Create(2, 1, 32));
    mask.Stretch(dst.hDC(), 0, 0, 2, 1);
    EXPECT_EQ(Pixel32(dst, 0, 0), 0u);
    EXPECT_EQ(Pixel32(dst, 1, 0), 0xFFFFFFu);
}

TEST(Stretch, RestoresTheDestinationMode)
{
    cDIB src, dst;
    ASSERT_TRUE(src.Create(2, 2, 32));
    ASSERT_TRUE(dst.Create(2, 2, 32));
    gdi::SetStretchBltMode(dst.hDC(), gdi::HALFTONE);
    src.Stretch(dst.hDC(), 0, 0, 2, 2);
    EXPECT_EQ(gdi::GetStretchBltMode(dst.hDC()), gdi::HALFTONE);
}

struct ClsCase {
    const char* name;
    gdi::OLE_COLOR colour;
    std::uint32_t pixel;
};

class ClsTest : public ::testing::TestWithParam<ClsCase> {};

TEST_P(ClsTest, FillsTheWholeSurface)
{
    cDIB d;
    ASSERT_TRUE(d.Create(3, 2, 32));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            SetPixel32(d, x, y, 0x123456);
    d.Cls(GetParam().colour);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(Pixel32(d, x, y), GetParam().pixel);
}

INSTANTIATE_TEST_SUITE_P(Colours, ClsTest,
                         ::testing::Values(ClsCase{"Black", 0, 0}, ClsCase{"Rgb", RGB(1, 2, 3), 0x010203},
                                           ClsCase{"ButtonFace", 0x8000000F, 0xC0C0C0},
                                           ClsCase{"Window", 0x80000005, 0xFFFFFF},
                                           ClsCase{"NotAColourLeavesThePixels", 0x80000040, 0x123456}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Cls, IndexedSurfaceStoresTheMatchingEntry)
{
    cDIB d;
    ASSERT_TRUE(d.Create(3, 1, 8));
    std::vector<std::uint8_t> palette(1024, 0);
    palette[4 * 5 + 2] = 255;  // entry 5 red
    d.SetPalette(palette);
    d.Cls(RGB(250, 0, 0));
    EXPECT_EQ(d.lpBits()[2], 5);
    d.Cls();
    EXPECT_EQ(d.lpBits()[2], 0);
}

TEST(EmptyObject, EveryOperationIsASilentNoOp)
{
    cDIB empty, other;
    ASSERT_TRUE(other.Create(2, 2, 32));
    EXPECT_EQ(empty.LoadBlt(other.hDC()), 0);
    EXPECT_EQ(empty.Stretch(other.hDC(), 0, 0, 2, 2), 0);
    EXPECT_NO_THROW(empty.Cls(RGB(1, 2, 3)));
    EXPECT_NO_THROW(empty.SetPalette({}));
    std::vector<std::uint8_t> palette{1, 2};
    empty.GetPalette(palette);
    EXPECT_EQ(palette.size(), 2u);
    EXPECT_EQ(empty.Image(), nullptr);
    ExpectEmpty(empty);
}

// --- clones, pictures and files --------------------------------------------

TEST(CloneTo, CopiesSizeDepthTableAndBytes)
{
    cDIB src, clone;
    ASSERT_TRUE(src.Create(5, 3, 4));
    std::vector<std::uint8_t> palette(64);
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<std::uint8_t>(i);
    src.SetPalette(palette);
    for (int i = 0; i < src.size(); ++i)
        src.lpBits()[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(clone.Create(1, 1, 32));
    src.CloneTo(clone);
    EXPECT_EQ(clone.Width(), 5);
    EXPECT_EQ(clone.Height(), 3);
    EXPECT_EQ(clone.bpp(), 4);
    EXPECT_NE(clone.lpBits(), src.lpBits());
    EXPECT_EQ(std::memcmp(clone.lpBits(), src.lpBits(), static_cast<std::size_t>(src.size())), 0);
    std::vector<std::uint8_t> copied;
    clone.GetPalette(copied);
    EXPECT_EQ(copied, palette);
}

TEST(CloneTo, EmptySourceLeavesTheTargetEmpty)
{
    cDIB empty, target;
    ASSERT_TRUE(target.Create(2, 2, 8));
    empty.CloneTo(target);
    ExpectEmpty(target);
}

TEST(CloneTo, OntoItselfChangesNothing)
{
    cDIB d;
    ASSERT_TRUE(d.Create(2, 2, 8));
    d.lpBits()[0] = 42;
    d.CloneTo(d);
    ASSERT_TRUE(d.hDIB());
    EXPECT_EQ(d.lpBits()[0], 42);
}

TEST(Image, IsAThirtyTwoBitSnapshot)
{
    cDIB d;
    ASSERT_TRUE(d.Create(2, 1, 8));
    d.SetPalette({0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
    d.lpBits()[1] = 1;
    const gdi::StdPicture picture = d.Image();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Kind(), gdi::PictureKind::Bitmap);
    gdi::BITMAP info;
    ASSERT_TRUE(gdi::GetObject(picture->Handle(), info));
    EXPECT_EQ(info.bmBitsPixel, 32);
    d.lpBits()[1] = 0;
    EXPECT_EQ(picture->Argb32(), (std::vector<std::uint32_t>{0xFFFF0000, 0xFF0000FF}));
}

TEST(CreateFromStdPicture, CopiesPixelsAndTable)
{
    cDIB original;
    ASSERT_TRUE(original.Create(3, 2, 8));
    original.SetPalette({1, 2, 3, 0, 4, 5, 6, 0});
    original.lpBits()[original.BytesPerScanline() + 2] = 1;
    std::uint8_t* bits = nullptr;
    const gdi::HBITMAP copy = gdi::CreateDIBSection({}, original.BitmapHeader(),
                                                    std::vector<gdi::RGBQUAD>{{1, 2, 3, 0}, {4, 5, 6, 0}}, &bits);
    std::memcpy(bits, original.lpBits(), static_cast<std::size_t>(original.size()));
    const gdi::StdPicture picture = gdi::OleCreatePictureIndirect(copy);

    cDIB d;
    EXPECT_EQ(d.CreateFromStdPicture(picture), 8);
    EXPECT_EQ(d.bpp(), 8);
    EXPECT_EQ(std::memcmp(d.lpBits(), original.lpBits(), static_cast<std::size_t>(d.size())), 0);
    std::vector<std::uint8_t> palette;
    d.GetPalette(palette);
    EXPECT_EQ(std::vector<std::uint8_t>(palette.begin(), palette.begin() + 8),
              (std::vector<std::uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));

    cDIB wide;
    EXPECT_EQ(wide.CreateFromStdPicture(picture, true), 8);  // the picture's depth, not the surface's
    EXPECT_EQ(wide.bpp(), 32);
    std::vector<std::uint8_t> none{9};
    wide.GetPalette(none);
    EXPECT_EQ(none, std::vector<std::uint8_t>{9});
    EXPECT_EQ(Pixel32(wide, 2, 1), 0x060504u);
    EXPECT_EQ(Pixel32(wide, 0, 0), 0x030201u);
}

TEST(CreateFromStdPicture, IconsAndNothingKeepTheSurface)
{
    cDIB d;
    ASSERT_TRUE(d.Create(4, 4, 24));
    const gdi::HBITMAP before = d.hDIB();
    EXPECT_EQ(d.CreateFromStdPicture(gdi::CreateIconPicture(1, 1, {0xFFFFFFFF})), 0);
    EXPECT_EQ(d.CreateFromStdPicture(nullptr), 0);
    EXPECT_EQ(d.CreateFromStdPicture(gdi::CreateEmptyPicture()), 0);
    EXPECT_EQ(d.hDIB(), before);
    EXPECT_EQ(d.Width(), 4);
}

TEST(CreateFromStdPicture, OfAnImageRoundTrips)
{
    cDIB a, b;
    ASSERT_TRUE(a.Create(3, 3, 32));
    a.Cls(RGB(10, 20, 30));
    EXPECT_EQ(b.CreateFromStdPicture(a.Image()), 32);
    EXPECT_EQ(Pixel32(b, 2, 2), 0x0A141Eu);
}

std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path dir = std::filesystem::path(KORVANE_TEST_OUTPUT_DIR) / "dib";
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

// A bottom-up 2 x 2 24-bit file: the first row in the file is the bottom one.
std::vector<std::uint8_t> SmallBmp()
{
    test_support::BmpRecipe recipe;
    recipe.width = 2;
    recipe.height = 2;
    recipe.bpp = 24;
    recipe.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    return test_support::BuildBmp(recipe);
}

TEST(CreateFromBitmapFile, KeepsTheFileRowsAndHeader)
{
    cDIB d;
    ASSERT_TRUE(d.Create(1, 1, 8));
    const std::string path = WriteFile("small.bmp", SmallBmp());
    EXPECT_EQ(d.CreateFromBitmapFile(path), 24);
    EXPECT_EQ(d.Width(), 2);
    EXPECT_EQ(d.Height(), 2);
    EXPECT_EQ(d.BytesPerScanline(), 8);
    EXPECT_EQ(d.size(), 16);
    EXPECT_EQ(d.lpBits()[0], 1);  // bottom-up memory as in the file
    EXPECT_EQ(d.BitmapHeader().biBitCount, 8);

    cDIB top;
    ASSERT_TRUE(top.Create(2, 2, 24));
    top.LoadBlt(d.hDC());
    EXPECT_EQ(top.lpBits()[0], 7);  // the file's last row is the top row

    cDIB clone;
    d.CloneTo(clone);  // same bytes, now read top-down
    EXPECT_EQ(clone.lpBits()[0], 1);
}

TEST(CreateFromBitmapFile, MissingFileThrowsEmptyFileKeepsTheSurface)
{
    cDIB d;
    ASSERT_TRUE(d.Create(2, 2, 8));
    EXPECT_THROW(d.CreateFromBitmapFile("/no/such/dir/x.bmp"), std::system_error);
    EXPECT_TRUE(d.hDIB());
    EXPECT_EQ(d.CreateFromBitmapFile(WriteFile("empty.bmp", {})), 0);
    EXPECT_TRUE(d.hDIB());
    std::vector<std::uint8_t> damaged = SmallBmp();
    damaged[30] = 1;  // run-length encoded
    EXPECT_EQ(d.CreateFromBitmapFile(WriteFile("rle.bmp", damaged)), 0);
    ExpectEmpty(d);
}

}  // namespace
}  // namespace korvane::imaging
