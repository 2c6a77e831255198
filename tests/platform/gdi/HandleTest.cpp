#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "TestSurface.h"
#include "tests/support/ParamNames.h"

namespace korvane::gdi {
namespace {

using testing::Quad;
using testing::TestSurface;

BITMAPINFOHEADER Header(int width, int height, int bpp)
{
    BITMAPINFOHEADER h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<std::uint16_t>(bpp);
    return h;
}

struct SectionCase {
    int width, height, bpp;
    std::int32_t rowBytes;  // 0: refused
};

class DibSectionTest : public ::testing::TestWithParam<SectionCase> {};

TEST_P(DibSectionTest, RowLayoutOrRefusal)
{
    const SectionCase c = GetParam();
    std::uint8_t* bits = reinterpret_cast<std::uint8_t*>(1);
    const HBITMAP b = CreateDIBSection({}, Header(c.width, c.height, c.bpp), {}, &bits);
    if (c.rowBytes == 0) {
        EXPECT_FALSE(b);
        EXPECT_EQ(bits, nullptr);
        return;
    }
    ASSERT_TRUE(b);
    BITMAP info;
    ASSERT_TRUE(GetObject(b, info));
    EXPECT_EQ(info.bmWidthBytes, c.rowBytes);
    EXPECT_EQ(info.bmWidth, c.width);
    EXPECT_EQ(info.bmHeight, c.height < 0 ? -c.height : c.height);
    EXPECT_EQ(info.bmBitsPixel, c.bpp);
    EXPECT_EQ(info.bmBits, bits);
    EXPECT_EQ(GetObjectType(b), OBJ_BITMAP);
    EXPECT_TRUE(DeleteObject(b));
}

INSTANTIATE_TEST_SUITE_P(Depths, DibSectionTest,
                         ::testing::Values(SectionCase{10, -3, 1, 4}, SectionCase{33, 3, 1, 8},
                                           SectionCase{10, 3, 4, 8}, SectionCase{10, 3, 8, 12},
                                           SectionCase{10, 3, 16, 20}, SectionCase{10, 3, 24, 32},
                                           SectionCase{10, 3, 32, 40}, SectionCase{10, 3, 2, 0},
                                           SectionCase{10, 3, 0, 0}, SectionCase{0, 3, 8, 0}, SectionCase{10, 0, 8, 0},
                                           SectionCase{-1, 3, 8, 0}, SectionCase{16384, 4097, 32, 0},
                                           SectionCase{INT_MAX, 1, 32, 0}, SectionCase{1, INT_MIN, 8, 0},
                                           SectionCase{1000, -1, 32, 4000}),
                         [](const auto& info) {
                             const SectionCase& c = info.param;
                             return korvane::test_support::ParamNumbers({c.width, c.height}) + "_At" +
                                    korvane::test_support::ParamNumber(c.bpp) + "Bits";
                         });

TEST(DibSection, RefusesCompression)
{
    BITMAPINFOHEADER h = Header(4, 4, 8);
    h.biCompression = 1;
    EXPECT_FALSE(CreateDIBSection({}, h, {}, nullptr));
}

// Large pixel memory freed by one bitmap is handed to the next: it must come
// back clean, whatever the first one drew.
TEST(DibSection, ReusedPixelMemoryReadsAsZero)
{
    constexpr int kSide = 1024;
    const std::size_t bytes = std::size_t{kSide} * kSide;
    for (int round = 0; round < 3; ++round) {
        std::uint8_t* bits = nullptr;
        const HBITMAP b = CreateDIBSection({}, Header(kSide, -kSide, 8), {}, &bits);
        ASSERT_TRUE(b);
        EXPECT_EQ(std::count(bits, bits + bytes, 0), static_cast<std::ptrdiff_t>(bytes)) << "round " << round;
        std::memset(bits, 0xA5, bytes);
        DeleteObject(b);
    }
}

TEST(DibSection, ColourTableTakesWhatFitsAndMissingEntriesAreBlack)
{
    const std::vector<RGBQUAD> three{Quad(0x112233), Quad(0x445566), Quad(0x778899)};
    TestSurface s(2, 2, 1, three);
    std::vector<RGBQUAD> out(4, Quad(0xFFFFFF));
    EXPECT_EQ(GetDIBColorTable(s.dc(), 0, out), 2u);
    EXPECT_EQ(out[0], three[0]);
    EXPECT_EQ(out[1], three[1]);
    TestSurface eight(2, 2, 8, three);
    std::vector<RGBQUAD> all(256);
    EXPECT_EQ(GetDIBColorTable(eight.dc(), 0, all), 256u);
    EXPECT_EQ(all[2], three[2]);
    EXPECT_EQ(all[3], Quad(0));
}

TEST(ColourTable, SetAndGetAreLimitedToTheTable)
{
    TestSurface s(2, 2, 4);
    const std::vector<RGBQUAD> entries(20, Quad(0xABCDEF));
    EXPECT_EQ(SetDIBColorTable(s.dc(), 10, entries), 6u);
    EXPECT_EQ(SetDIBColorTable(s.dc(), 16, entries), 0u);
    std::vector<RGBQUAD> out(16);
    EXPECT_EQ(GetDIBColorTable(s.dc(), 0, out), 16u);
    EXPECT_EQ(out[9], Quad(0));
    EXPECT_EQ(out[10], Quad(0xABCDEF));
    TestSurface direct(2, 2, 32);
    EXPECT_EQ(SetDIBColorTable(direct.dc(), 0, entries), 0u);
    EXPECT_EQ(GetDIBColorTable(direct.dc(), 0, out), 0u);
}

// Surfaces made with the same colours may share a table: changing one must
// leave the other as it was.
TEST(ColourTable, ChangingOneSurfacesTableLeavesAnotherOfTheSameColours)
{
    const std::vector<RGBQUAD> colours(256, Quad(0x102030));
    TestSurface a(2, 2, 8, colours);
    TestSurface b(2, 2, 8, colours);
    EXPECT_EQ(SetDIBColorTable(a.dc(), 7, std::vector<RGBQUAD>{Quad(0xFFFFFF)}), 1u);
    std::vector<RGBQUAD> out(256);
    ASSERT_EQ(GetDIBColorTable(b.dc(), 0, out), 256u);
    EXPECT_EQ(out, colours);
    ASSERT_EQ(GetDIBColorTable(a.dc(), 0, out), 256u);
    EXPECT_EQ(out[7], Quad(0xFFFFFF));
    EXPECT_EQ(out[6], Quad(0x102030));
}

TEST(Contexts, FreshContextHoldsAMonochromePixel)
{
    const HDC dc = CreateCompatibleDC({});
    ASSERT_TRUE(dc);
    BITMAP info;
    ASSERT_TRUE(GetObject(GetCurrentBitmap(dc), info));
    EXPECT_EQ(info.bmWidth, 1);
    EXPECT_EQ(info.bmHeight, 1);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(GetStretchBltMode(dc), BLACKONWHITE);
    EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(SetStretchBltMode(dc, 0), 0);
    EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(Contexts, TheSharedStockBitmapIsNeverDrawnOn)
{
    const HDC a = CreateCompatibleDC({}), b = CreateCompatibleDC({});
    TestSurface white(1, 1, 32);
    white.FillWith(0xFFFFFF);
    EXPECT_NE(BitBlt(a, 0, 0, 1, 1, white.dc(), 0, 0, SRCCOPY), 0);
    const HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(a, RECT{0, 0, 1, 1}, brush);
    DeleteObject(brush);
    EXPECT_EQ(SetDIBColorTable(a, 0, std::vector<RGBQUAD>(2, Quad(0x123456))), 0u);
    TestSurface probe(1, 1, 32);
    probe.FillWith(0x00FF00);
    BitBlt(probe.dc(), 0, 0, 1, 1, b, 0, 0, SRCCOPY);
    EXPECT_EQ(probe.Get(0, 0), 0u);  // still the black pixel
    DeleteDC(a);
    DeleteDC(b);
}

TEST(Contexts, ABitmapLivesInOneContextAtATime)
{
    const HBITMAP b = CreateDIBSection({}, Header(2, 2, 8), {}, nullptr);
    const HDC first = CreateCompatibleDC({}), second = CreateCompatibleDC({});
    const HBITMAP stock = SelectObject(first, b);
    EXPECT_TRUE(stock);
    EXPECT_FALSE(SelectObject(second, b));
    EXPECT_FALSE(DeleteObject(b));  // still selected
    EXPECT_EQ(SelectObject(first, stock), b);
    EXPECT_EQ(SelectObject(second, b), stock);
    EXPECT_TRUE(DeleteDC(second));  // deleting the context lets go of the bitmap
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_FALSE(DeleteObject(stock));  // shared by every fresh context
    EXPECT_TRUE(DeleteDC(first));
}

TEST(Handles, StaleHandlesFailEvenWhenTheSlotIsReused)
{
    const HBITMAP old = CreateDIBSection({}, Header(2, 2, 8), {}, nullptr);
    ASSERT_TRUE(DeleteObject(old));
    const HBITMAP reused = CreateDIBSection({}, Header(3, 3, 8), {}, nullptr);
    EXPECT_NE(old, reused);
    EXPECT_EQ(GetObjectType(old), 0);
    BITMAP info;
    EXPECT_FALSE(GetObject(old, info));
    EXPECT_FALSE(DeleteObject(old));
    const HDC dc = CreateCompatibleDC({});
    EXPECT_FALSE(SelectObject(dc, old));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(CreateCompatibleDC(dc));
    EXPECT_TRUE(DeleteObject(reused));
}

TEST(Handles, SafeFromManyThreads)
{
    std::vector<std::thread> threads;
    threads.reserve(4);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 200; ++i) {
                TestSurface a(8, 8, 8), b(8, 8, 32);
                BitBlt(b.dc(), 0, 0, 8, 8, a.dc(), 0, 0, SRCCOPY);
                const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
                FillRect(a.dc(), RECT{0, 0, 8, 8}, brush);
                DeleteObject(brush);
            }
        });
    }
    for (auto& t : threads)
        t.join();
}

TEST(Screen, IsThirtyTwoBitsAndNotAMemoryContext)
{
    const HDC screen = GetDC();
    ASSERT_TRUE(screen);
    const HBITMAP b = CreateCompatibleBitmap(screen, 3, 2);
    BITMAP info;
    ASSERT_TRUE(GetObject(b, info));
    EXPECT_EQ(info.bmBitsPixel, ScreenCompatibleBitsPerPixel);
    EXPECT_EQ(info.bmBits, nullptr);  // not a DIB section
    EXPECT_FALSE(SelectObject(screen, b));
    EXPECT_FALSE(DeleteDC(screen));
    EXPECT_TRUE(ReleaseDC(screen));
    EXPECT_FALSE(ReleaseDC(screen));
    EXPECT_TRUE(DeleteObject(b));
}

struct ColourCase {
    OLE_COLOR in;
    bool ok;
    COLORREF out;
};

class TranslateColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(TranslateColourTest, Translates)
{
    COLORREF out = 0x12345678;
    EXPECT_EQ(OleTranslateColor(GetParam().in, out), GetParam().ok);
    if (GetParam().ok) {
        EXPECT_EQ(out, GetParam().out);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, TranslateColourTest,
                         ::testing::Values(ColourCase{RGB(1, 2, 3), true, RGB(1, 2, 3)},
                                           ColourCase{0x8000000F, true, RGB(192, 192, 192)},
                                           ColourCase{0x80000005, true, RGB(255, 255, 255)},
                                           ColourCase{0x80000008, true, RGB(0, 0, 0)},
                                           ColourCase{0x8000001E, true, RGB(192, 192, 192)},
                                           ColourCase{0x8000001F, false, 0}, ColourCase{0xFFFFFFFF, false, 0}),
                         [](const auto& info) {
                             char name[16];
                             std::snprintf(name, sizeof name, "Colour%08X", static_cast<unsigned>(info.param.in));
                             return std::string(name);
                         });

}  // namespace
}  // namespace korvane::gdi
