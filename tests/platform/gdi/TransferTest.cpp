#include <array>
#include <climits>
#include <random>

#include <gtest/gtest.h>

#include "TestSurface.h"
#include "tests/support/ParamNames.h"

namespace korvane::gdi {
namespace {

using testing::Quad;
using testing::TestSurface;

constexpr std::uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF, Black = 0;

// A table holding the test colours, for indexed surfaces.
std::vector<RGBQUAD> Table(int bpp)
{
    if (bpp > 8) return {};
    std::vector<RGBQUAD> t(1u << bpp);
    t[0] = Quad(Black);
    t[1] = Quad(White);
    if (bpp >= 4) {
        t[2] = Quad(Red);
        t[3] = Quad(Green);
        t[4] = Quad(Blue);
    }
    return t;
}

// The value a surface of the depth stores for a colour of Table(bpp).
std::uint32_t ValueOf(int bpp, std::uint32_t colour)
{
    if (bpp <= 8) {
        const auto t = Table(bpp);
        for (std::size_t i = 0; i < t.size(); ++i)
            if (Quad(colour) == t[i]) return static_cast<std::uint32_t>(i);
        return 0;
    }
    if (bpp == 16) return ((colour >> 9) & 0x7C00) | ((colour >> 6) & 0x3E0) | ((colour >> 3) & 0x1F);
    return colour;
}

struct DepthPair {
    int src, dst;
};

class DepthConversionTest : public ::testing::TestWithParam<DepthPair> {};

TEST_P(DepthConversionTest, ColoursSurviveTheConversion)
{
    const auto [srcBpp, dstBpp] = GetParam();
    const std::vector<std::uint32_t> colours = srcBpp >= 4 && dstBpp >= 4
                                                   ? std::vector<std::uint32_t>{Black, White, Red, Green, Blue}
                                                   : std::vector<std::uint32_t>{Black, White, White, Black, White};
    TestSurface src(5, 2, srcBpp, Table(srcBpp));
    TestSurface dst(5, 2, dstBpp, Table(dstBpp));
    for (int x = 0; x < 5; ++x)
        src.Set(x, 1, ValueOf(srcBpp, colours[x]));
    ASSERT_NE(BitBlt(dst.dc(), 0, 0, 5, 2, src.dc(), 0, 0, SRCCOPY), 0);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(dst.Get(x, 1), ValueOf(dstBpp, colours[x])) << "x " << x;
        EXPECT_EQ(dst.Get(x, 0), ValueOf(dstBpp, Black)) << "x " << x;
    }
}

std::vector<DepthPair> AllPairs()
{
    std::vector<DepthPair> pairs;
    for (int s : {1, 4, 8, 16, 24, 32})
        for (int d : {1, 4, 8, 16, 24, 32})
            pairs.push_back({s, d});
    return pairs;
}

INSTANTIATE_TEST_SUITE_P(AllDepths, DepthConversionTest, ::testing::ValuesIn(AllPairs()), [](const auto& info) {
    return "From" + std::to_string(info.param.src) + "To" + std::to_string(info.param.dst);
});

TEST(Transfer, EightBitToMaskThroughBlackAndWhite)
{
    std::vector<RGBQUAD> table(256, Quad(Black));
    table[7] = Quad(White);
    TestSurface image(10, 2, 8, table);
    TestSurface mask(10, 2, 1, {Quad(Black), Quad(White)});
    for (int x = 0; x < 10; ++x)
        image.Set(x, 0, x % 3 == 0 ? 7 : 9);
    ASSERT_NE(BitBlt(mask.dc(), 0, 0, 10, 2, image.dc(), 0, 0, SRCCOPY), 0);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(mask.Get(x, 0), x % 3 == 0 ? 1u : 0u) << x;
}

TEST(Transfer, ColourIntoATablePicksEqualThenNearestLowestIndexOnTies)
{
    // Entries 1 and 3 are both exact for 0x808080; 0x7F0000 is as near to
    // entry 4 (0x7E0000) as to entry 5 (0x800000).
    const std::vector<RGBQUAD> table{Quad(Black),    Quad(0x808080), Quad(White),
                                     Quad(0x808080), Quad(0x7E0000), Quad(0x800000)};
    TestSurface src(3, 1, 32);
    TestSurface dst(3, 1, 8, table);
    src.Set(0, 0, 0x808080);
    src.Set(1, 0, 0x7F0000);
    src.Set(2, 0, 0xF0F0F0);
    BitBlt(dst.dc(), 0, 0, 3, 1, src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Get(0, 0), 1u);
    EXPECT_EQ(dst.Get(1, 0), 4u);
    EXPECT_EQ(dst.Get(2, 0), 2u);
}

TEST(Transfer, EqualTablesCopyIndicesEvenWhereColoursRepeat)
{
    std::vector<RGBQUAD> table(256, Quad(Black));
    TestSurface a(4, 1, 8, table), b(4, 1, 8, table);
    for (int x = 0; x < 4; ++x)
        a.Set(x, 0, 10 + x);
    BitBlt(b.dc(), 0, 0, 4, 1, a.dc(), 0, 0, SRCCOPY);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(b.Get(x, 0), 10u + x);
}

struct RopCase {
    const char* name;
    std::uint32_t rop;
    std::uint32_t expected;
};

class RasterOpTest : public ::testing::TestWithParam<RopCase> {};

TEST_P(RasterOpTest, CombinesBitByBitAtEveryScale)
{
    for (int scale : {1, 3}) {
        TestSurface src(2, 2, 32);
        TestSurface dst(2 * scale, 2 * scale, 32);
        src.FillWith(0x00F0F00F);
        dst.FillWith(0x00FF0F0F);
        ASSERT_NE(StretchBlt(dst.dc(), 0, 0, 2 * scale, 2 * scale, src.dc(), 0, 0, 2, 2, GetParam().rop), 0);
        for (int y = 0; y < 2 * scale; ++y)
            for (int x = 0; x < 2 * scale; ++x)
                ASSERT_EQ(dst.Get(x, y), GetParam().expected) << scale;
    }
}

INSTANTIATE_TEST_SUITE_P(Ops, RasterOpTest,
                         ::testing::Values(RopCase{"Copy", SRCCOPY, 0x00F0F00F}, RopCase{"And", SRCAND, 0x00F0000F},
                                           RopCase{"Paint", SRCPAINT, 0x00FFFF0F}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Transfer, UnknownRasterOperationFails)
{
    TestSurface a(2, 2, 32), b(2, 2, 32);
    EXPECT_EQ(BitBlt(b.dc(), 0, 0, 2, 2, a.dc(), 0, 0, 0x00660046), 0);
}

TEST(Transfer, MaskThenImageLeavesTransparentPixelsAlone)
{
    std::vector<RGBQUAD> table(256, Quad(Black));
    table[3] = Quad(Red);  // index 5 is transparent: black in the image, white in the mask
    TestSurface image(4, 1, 8, table);
    TestSurface mask(4, 1, 1, {Quad(Black), Quad(White)});
    const std::uint32_t indices[4] = {3, 5, 3, 5};
    for (int x = 0; x < 4; ++x) {
        image.Set(x, 0, indices[x]);
        mask.Set(x, 0, indices[x] == 5 ? 1 : 0);
    }
    for (int scale : {1, 2}) {
        TestSurface canvas(8, 2, 32);
        canvas.FillWith(Blue);
        StretchBlt(canvas.dc(), 0, 0, 4 * scale, scale, mask.dc(), 0, 0, 4, 1, SRCAND);
        StretchBlt(canvas.dc(), 0, 0, 4 * scale, scale, image.dc(), 0, 0, 4, 1, SRCPAINT);
        for (int x = 0; x < 4 * scale; ++x)
            EXPECT_EQ(canvas.Get(x, 0), indices[x / scale] == 5 ? Blue : Red) << x;
        for (int x = 4 * scale; x < 8; ++x)
            EXPECT_EQ(canvas.Get(x, 0), Blue);
    }
}

// The one-pass transparent draw against its definition, the two raster
// passes, on random pixels and tables: clipped on every side, shifted in the
// source, enlarged, shrunk and mirrored, and a mask of another size.
TEST(Transfer, MaskedStretchEqualsMaskThenImage)
{
    std::mt19937 random(20261208);
    const auto pick = [&](int least, int most) { return std::uniform_int_distribution<int>(least, most)(random); };
    const auto anyPixel = [&] { return static_cast<std::uint32_t>(random()); };
    for (int round = 0; round < 300; ++round) {
        const int w = pick(1, 64), h = pick(1, 6);
        std::vector<RGBQUAD> colours(256);
        for (RGBQUAD& q : colours)
            q = Quad(anyPixel() & 0xFFFFFF);
        const std::vector<RGBQUAD> maskColours = round % 3 == 0
                                                     ? std::vector<RGBQUAD>{Quad(anyPixel()), Quad(anyPixel())}
                                                     : std::vector<RGBQUAD>{Quad(Black), Quad(White)};
        TestSurface image(w, h, 8, colours);
        TestSurface mask(round % 10 == 9 ? w + 1 : w, h, 1, maskColours, round % 4 != 1);
        // Whole mask bytes clear or set as well as mixed ones.
        const int density = std::array{0, 50, 90, 100}[static_cast<std::size_t>(round % 4)];
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                image.Set(x, y, static_cast<std::uint32_t>(pick(0, 255)));
                mask.Set(x, y, pick(0, 99) < density ? 1U : 0U);
            }
        }
        const int dw = pick(1, 80), dh = pick(1, 8);
        TestSurface onePass(dw, dh, 32), twoPasses(dw, dh, 32);
        for (int y = 0; y < dh; ++y) {
            for (int x = 0; x < dw; ++x) {
                const std::uint32_t d = anyPixel();
                onePass.Set(x, y, d);
                twoPasses.Set(x, y, d);
            }
        }
        // Half the rounds at 1:1; a few mirrored; most overlap both surfaces, some only in part.
        const bool natural = round % 2 == 0;
        const int sign = round % 8 == 7 ? -1 : 1;
        const int width = sign * pick(1, 2 * w), height = pick(1, 2 * h);
        const int sw = natural ? width : pick(1, 2 * w), sh = natural ? height : pick(1, 2 * h);
        const int x = pick(-4, dw - 1) - (width < 0 ? width : 0), y = pick(-2, dh - 1);
        const int xs = pick(-2, w - 1), ys = pick(-1, h - 1);
        ASSERT_NE(StretchBlt(twoPasses.dc(), x, y, width, height, mask.dc(), xs, ys, sw, sh, SRCAND), 0);
        ASSERT_NE(StretchBlt(twoPasses.dc(), x, y, width, height, image.dc(), xs, ys, sw, sh, SRCPAINT), 0);
        ASSERT_NE(MaskedStretchBlt(onePass.dc(), x, y, width, height, mask.dc(), image.dc(), xs, ys, sw, sh), 0);
        for (int py = 0; py < dh; ++py)
            for (int px = 0; px < dw; ++px)
                ASSERT_EQ(onePass.Get(px, py), twoPasses.Get(px, py)) << "round " << round << " at " << px << "," << py;
    }
}

TEST(Transfer, StretchRepeatsAndDropsWholePixels)
{
    TestSurface src(2, 2, 24);
    src.Set(0, 0, Red);
    src.Set(1, 0, Green);
    src.Set(0, 1, Blue);
    src.Set(1, 1, White);
    TestSurface big(4, 4, 24);
    StretchBlt(big.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 2, 2, SRCCOPY);
    const std::uint32_t expected[4][4] = {
        {Red, Red, Green, Green}, {Red, Red, Green, Green}, {Blue, Blue, White, White}, {Blue, Blue, White, White}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(big.Get(x, y), expected[y][x]) << x << "," << y;
    TestSurface small(1, 1, 24);
    StretchBlt(small.dc(), 0, 0, 1, 1, big.dc(), 0, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(small.Get(0, 0), White);  // the centre sample of the 4 x 4
}

TEST(Transfer, NegativeExtentMirrors)
{
    TestSurface src(3, 1, 32), dst(3, 1, 32);
    for (int x = 0; x < 3; ++x)
        src.Set(x, 0, 10 + x);
    StretchBlt(dst.dc(), 3, 0, -3, 1, src.dc(), 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(dst.Get(0, 0), 12u);
    EXPECT_EQ(dst.Get(2, 0), 10u);
}

TEST(Transfer, OverlappingCopyWithinOneSurface)
{
    TestSurface s(5, 1, 8, Table(8));
    for (int x = 0; x < 5; ++x)
        s.Set(x, 0, x);
    BitBlt(s.dc(), 1, 0, 4, 1, s.dc(), 0, 0, SRCCOPY);
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(s.Get(x, 0), static_cast<std::uint32_t>(x - 1));
}

TEST(Transfer, BottomUpSurfacesAddressRowsFromTheTop)
{
    TestSurface top(2, 2, 32), bottom(2, 2, 32, {}, false);
    top.Set(0, 0, Red);
    BitBlt(bottom.dc(), 0, 0, 2, 2, top.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(bottom.Get(0, 0), Red);
    std::uint32_t lastInMemory = 0;
    std::memcpy(&lastInMemory, bottom.bits() + bottom.stride(), 4);
    EXPECT_EQ(lastInMemory, Red);
}

struct HostileCase {
    int x, y, w, h, xs, ys, ws, hs;
};

class HostileArgumentsTest : public ::testing::TestWithParam<HostileCase> {};

// The sanitizer build turns any stray access here into a failure.
TEST_P(HostileArgumentsTest, StayInsideBothSurfaces)
{
    const HostileCase c = GetParam();
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        TestSurface src(7, 5, bpp, Table(bpp)), dst(9, 3, bpp, Table(bpp));
        src.FillWith(1);
        EXPECT_NE(StretchBlt(dst.dc(), c.x, c.y, c.w, c.h, src.dc(), c.xs, c.ys, c.ws, c.hs, SRCPAINT), 0);
        EXPECT_NE(BitBlt(dst.dc(), c.x, c.y, c.w, c.h, src.dc(), c.xs, c.ys, SRCCOPY), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileArgumentsTest,
    ::testing::Values(HostileCase{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
                      HostileCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                      HostileCase{-5, -5, INT_MAX, INT_MAX, -3, -3, 3, 3},
                      HostileCase{0, 0, 9, 3, INT_MIN, INT_MAX, INT_MAX, INT_MIN},
                      HostileCase{8, 2, -INT_MAX, -INT_MAX, 6, 4, INT_MIN, 1},
                      HostileCase{1, 1, 100000, 100000, 0, 0, 1, 1}, HostileCase{0, 0, -9, -3, 7, 5, 7, 5}),
    [](const auto& info) {
        const HostileCase& c = info.param;
        return korvane::test_support::ParamNumbers({c.x, c.y, c.w, c.h, c.xs, c.ys, c.ws, c.hs});
    });

TEST(Transfer, DestinationPixelsWithoutSourceStayUnchanged)
{
    TestSurface src(2, 2, 32), dst(4, 4, 32);
    src.FillWith(Red);
    dst.FillWith(Blue);
    BitBlt(dst.dc(), 0, 0, 4, 4, src.dc(), 1, 1, SRCCOPY);
    EXPECT_EQ(dst.Get(0, 0), Red);
    EXPECT_EQ(dst.Get(1, 0), Blue);
    EXPECT_EQ(dst.Get(0, 1), Blue);
}

TEST(Transfer, FailsForBadContexts)
{
    TestSurface s(2, 2, 32);
    EXPECT_EQ(BitBlt(HDC{}, 0, 0, 2, 2, s.dc(), 0, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchBlt(s.dc(), 0, 0, 2, 2, HDC{12345}, 0, 0, 2, 2, SRCCOPY), 0);
}

class FillTest : public ::testing::TestWithParam<int> {};

TEST_P(FillTest, FillsTheClippedRectangleWithTheMatchingValue)
{
    const int bpp = GetParam();
    TestSurface s(9, 4, bpp, Table(bpp));
    const HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    RECT r;
    SetRect(r, 7, -3, 100, 2);
    EXPECT_NE(FillRect(s.dc(), r, brush), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(s.Get(x, y), x >= 7 && y < 2 ? ValueOf(bpp, White) : 0u) << x << "," << y;
    EXPECT_TRUE(DeleteObject(brush));
}

INSTANTIATE_TEST_SUITE_P(AllDepths, FillTest, ::testing::Values(1, 4, 8, 16, 24, 32),
                         [](const auto& info) { return std::to_string(info.param) + "Bits"; });

TEST(Fill, BrushColourIsRgbInPlatformOrder)
{
    TestSurface s(1, 1, 32);
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(s.dc(), RECT{0, 0, 1, 1}, brush);
    EXPECT_EQ(s.Get(0, 0), 0x010203u);
    DeleteObject(brush);
}

}  // namespace
}  // namespace korvane::gdi
