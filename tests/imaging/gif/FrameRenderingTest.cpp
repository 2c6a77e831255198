// Masks and frame drawing: the mask and colour-table state after FrameMask,
// the rectangles FrameDraw computes, and the composed pixels.
#include <algorithm>
#include <stdexcept>

#include <gtest/gtest.h>

#include "imaging/gif/FrameRendering.h"
#include "imaging/gif/cGIF.h"
#include "tests/support/GifTestSupport.h"

namespace korvane::imaging {
namespace {

using test_support::Bytes;
using test_support::ReadColourTable;
using test_support::ReadMaskBits;

// A frame of `indices` (width w) whose palette gives entry i the colour
// (i, 2i, 255 - i), with entry 200 pure white.
void MakeFrame(cGIF& gif, std::int16_t w, std::int16_t h, const Bytes& indices)
{
    gif.Destroy();
    gif.FrameInsert(1, w, h);
    test_support::WriteIndices(*gif.FrameDIBXOR(1), indices);
    auto palette = gif.lpLocalPalette(1);
    for (std::size_t i = 0; i < 256; ++i) {
        palette[4 * i] = static_cast<std::uint8_t>(255 - i);
        palette[4 * i + 1] = static_cast<std::uint8_t>(2 * i);
        palette[4 * i + 2] = static_cast<std::uint8_t>(i);
        palette[4 * i + 3] = 0x5A;
    }
    palette[800] = palette[801] = palette[802] = 255;
}

Bytes PaletteBytes(cGIF& gif)
{
    return Bytes(gif.lpLocalPalette(1).begin(), gif.lpLocalPalette(1).end());
}

TEST(FrameMask, TransparentIndexBecomesMaskBitsAndBlack)
{
    cGIF gif;
    // 13 pixels a row exercises a partly filled last mask byte.
    Bytes indices(std::size_t{13} * 2, 9);
    for (std::size_t i : {0U, 5U, 12U, 13U, 20U})
        indices[i] = 7;
    indices[3] = 200;  // pure white in the palette, still opaque
    MakeFrame(gif, 13, 2, indices);
    const Bytes before = PaletteBytes(gif);
    gif.SetFrameUseTransparentColor(1, true);
    gif.FrameMask(1, 7);
    Bytes expectedMask(26, 0);
    for (std::size_t i : {0U, 5U, 12U, 13U, 20U})
        expectedMask[i] = 1;
    EXPECT_EQ(ReadMaskBits(*gif.FrameDIBAND(1)), expectedMask);
    Bytes expectedTable = before;
    expectedTable[28] = expectedTable[29] = expectedTable[30] = 0;  // entry 7 black, reserved byte kept
    EXPECT_EQ(ReadColourTable(*gif.FrameDIBXOR(1)), expectedTable);
    EXPECT_EQ(PaletteBytes(gif), before);
    EXPECT_EQ(test_support::ReadIndices(*gif.FrameDIBXOR(1)), indices);
    // Calling it again gives the same state.
    gif.FrameMask(1, 7);
    EXPECT_EQ(ReadMaskBits(*gif.FrameDIBAND(1)), expectedMask);
}

TEST(FrameMask, EveryWidthAndIndexMatchesAPixelByPixelComparison)
{
    cGIF gif;
    for (std::int16_t width = 1; width <= 41; ++width) {
        const Bytes indices =
            test_support::NoiseIndices(static_cast<std::size_t>(width) * 3, 4, static_cast<std::uint32_t>(width));
        MakeFrame(gif, width, 3, indices);
        gif.SetFrameUseTransparentColor(1, true);
        for (const std::uint8_t t : {0, 1, 3, 200}) {
            gif.FrameMask(1, t);
            Bytes expected(indices.size());
            std::transform(indices.begin(), indices.end(), expected.begin(), [t](std::uint8_t i) { return i == t; });
            ASSERT_EQ(ReadMaskBits(*gif.FrameDIBAND(1)), expected) << "width " << width << " index " << int{t};
            // Bits past the width, and the padding, stay 0 even where the bytes
            // read past a row match.
            const cDIB& mask = *gif.FrameDIBAND(1);
            Bytes raw(static_cast<std::size_t>(mask.size()), 0);
            for (std::size_t i = 0; i < expected.size(); ++i) {
                const std::size_t y = i / static_cast<std::size_t>(width);
                const std::size_t x = i % static_cast<std::size_t>(width);
                raw[y * static_cast<std::size_t>(mask.BytesPerScanline()) + x / 8] |=
                    static_cast<std::uint8_t>(expected[i] << (7 - x % 8));
            }
            ASSERT_TRUE(std::equal(raw.begin(), raw.end(), mask.lpBits())) << "width " << width << " index " << int{t};
        }
    }
}

TEST(FrameMask, OpaqueFrameGetsAnEmptyMaskAndItsPalette)
{
    cGIF gif;
    MakeFrame(gif, 3, 3, Bytes(9, 7));
    gif.FrameDIBAND(1)->lpBits()[0] = 0xFF;
    gif.FrameMask(1, 7);
    EXPECT_EQ(ReadMaskBits(*gif.FrameDIBAND(1)), Bytes(9, 0));
    EXPECT_EQ(ReadColourTable(*gif.FrameDIBXOR(1)), PaletteBytes(gif));
}

TEST(FrameMask, SlotWithoutSurfacesOrOutsideTheTableFails)
{
    cGIF gif;
    gif.Destroy();
    EXPECT_THROW(gif.FrameMask(1, 0), std::logic_error);
    EXPECT_THROW(gif.FrameMask(2, 0), std::out_of_range);
}

struct RectCase {
    const char* name;
    std::int16_t frameLeft, frameTop, w, h;
    std::int16_t left, top;
    float scale;
    bool crop;
    FrameDrawRects expected;
};

class FrameDrawRectangles : public testing::TestWithParam<RectCase> {};

TEST_P(FrameDrawRectangles, FollowTheWorkedExamples)
{
    const RectCase& c = GetParam();
    FrameRecord frame;
    frame.DIBXOR = std::make_shared<cDIB>();
    frame.DIBAND = std::make_shared<cDIB>();
    ASSERT_TRUE(frame.DIBXOR->Create(c.w, c.h, 8));
    frame.Left = c.frameLeft;
    frame.Top = c.frameTop;
    const LogicalScreenDescriptor screen{12, 12, 0, 0, 0};
    EXPECT_EQ(ComputeFrameDrawRects(frame, screen, c.left, c.top, c.scale, c.crop), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, FrameDrawRectangles,
    testing::Values(RectCase{"cropped at the right", 5, 0, 10, 10, 0, 0, 1, true, {5, 0, 7, 10, 7, 10}},
                    RectCase{"past the right edge", 20, 0, 10, 10, 0, 0, 1, true, {20, 0, 0, 10, 0, 10}},
                    RectCase{"not cropped", 5, 0, 10, 10, 0, 0, 1, false, {5, 0, 10, 10, 10, 10}},
                    RectCase{"cropped at the bottom", 0, 4, 10, 10, 0, 0, 1, true, {0, 4, 10, 8, 10, 8}},
                    RectCase{"scaled twice", 3, 4, 5, 3, 10, 20, 2, false, {16, 28, 10, 6, 5, 3}},
                    RectCase{"halves to even", 0, 0, 5, 3, 0, 0, 0.5F, false, {0, 0, 2, 2, 5, 3}},
                    RectCase{"odd halves", 3, 1, 7, 1, 0, 0, 0.5F, false, {2, 0, 4, 0, 7, 1}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(FrameDrawRectangles, OverflowIsRaisedBeforeDrawing)
{
    FrameRecord frame;
    frame.DIBXOR = std::make_shared<cDIB>();
    frame.DIBAND = std::make_shared<cDIB>();
    ASSERT_TRUE(frame.DIBXOR->Create(5000, 1, 8));
    frame.Left = 30000;
    const LogicalScreenDescriptor screen{12, 12, 0, 0, 0};
    EXPECT_THROW(ComputeFrameDrawRects(frame, screen, 0, 0, 1, true), std::overflow_error);
    frame.Left = 10000;  // screen width - left = -40000
    EXPECT_THROW(ComputeFrameDrawRects(frame, LogicalScreenDescriptor{-30000, 1, 0, 0, 0}, 0, 0, 1, true),
                 std::overflow_error);
    frame.Left = 0;
    EXPECT_THROW(ComputeFrameDrawRects(frame, screen, 0, 0, 1e6F, false), std::overflow_error);
    EXPECT_THROW(ComputeFrameDrawRects(FrameRecord{}, screen, 0, 0, 1, false), std::logic_error);
}

class FrameDrawPixels : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Canvas.Create(6, 4, 32));
        m_Canvas.Cls(gdi::RGB(1, 2, 3));
        // A 2 x 2 frame at (1, 1): index 7 top-left, 9 elsewhere.
        MakeFrame(m_Gif, 2, 2, Bytes{7, 9, 9, 9});
        m_Gif.SetFrameLeft(1, 1);
        m_Gif.SetFrameTop(1, 1);
    }
    std::uint32_t Pixel(int x, int y) const { return test_support::Pixel32(m_Canvas, x, y) & 0xFFFFFF; }
    static std::uint32_t Colour(int i) { return static_cast<std::uint32_t>(i << 16 | (2 * i) << 8 | (255 - i)); }

    cDIB m_Canvas;
    cGIF m_Gif;
};

TEST_F(FrameDrawPixels, TransparentPixelsKeepTheBackground)
{
    m_Gif.SetFrameUseTransparentColor(1, true);
    m_Gif.FrameMask(1, 7);
    m_Gif.FrameDraw(m_Canvas.hDC(), 1);
    EXPECT_EQ(Pixel(1, 1), 0x010203U);
    EXPECT_EQ(Pixel(2, 1), Colour(9));
    EXPECT_EQ(Pixel(1, 2), Colour(9));
    EXPECT_EQ(Pixel(0, 0), 0x010203U);
    EXPECT_EQ(Pixel(3, 1), 0x010203U);
}

TEST_F(FrameDrawPixels, OpaqueFrameIsOnePlainCopyIgnoringTheMask)
{
    m_Gif.FrameMask(1, 7);
    std::fill_n(m_Gif.FrameDIBAND(1)->lpBits(), m_Gif.FrameDIBAND(1)->size(), 0xFF);
    m_Gif.FrameDraw(m_Canvas.hDC(), 1);
    EXPECT_EQ(Pixel(1, 1), Colour(7));
    EXPECT_EQ(Pixel(2, 2), Colour(9));
}

TEST_F(FrameDrawPixels, ScaledAndOffsetWithCrop)
{
    m_Gif.SetScreenWidth(2);  // the frame at x 1 shows one column
    m_Gif.SetScreenHeight(4);
    m_Gif.FrameMask(1, 7);
    m_Gif.FrameDraw(m_Canvas.hDC(), 1, 1, -1, 2.0F, true);
    // Destination (3, 1), 2 x 4: column 0 of the frame doubled.
    EXPECT_EQ(Pixel(2, 1), 0x010203U);
    EXPECT_EQ(Pixel(3, 1), Colour(7));
    EXPECT_EQ(Pixel(4, 2), Colour(7));
    EXPECT_EQ(Pixel(4, 3), Colour(9));
    EXPECT_EQ(Pixel(5, 1), 0x010203U);
}

TEST_F(FrameDrawPixels, FrameCroppedAwayDrawsNothing)
{
    m_Gif.SetScreenWidth(1);  // the frame at x 1 lies wholly right of the screen
    m_Gif.FrameMask(1, 7);
    m_Gif.FrameDraw(m_Canvas.hDC(), 1, 0, 0, 1.0F, true);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Pixel(x, y), 0x010203U) << x << "," << y;
    }
}

TEST_F(FrameDrawPixels, EmptySlotAndMissingFrameFail)
{
    EXPECT_THROW(m_Gif.FrameDraw(m_Canvas.hDC(), 2), std::out_of_range);
    m_Gif.Destroy();
    EXPECT_THROW(m_Gif.FrameDraw(m_Canvas.hDC(), 1), std::logic_error);
}

}  // namespace
}  // namespace korvane::imaging
