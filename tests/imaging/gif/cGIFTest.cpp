// The document model: slots, table edits, property rules.
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "imaging/gif/cGIF.h"
#include "tests/support/GifTestSupport.h"

namespace korvane::imaging {
namespace {

using test_support::ReadColourTable;
using test_support::ReadIndices;

// A document of `n` frames of 2 x 2, frame k marked by delay k.
void MakeFrames(cGIF& gif, int n)
{
    gif.Destroy();
    for (int k = 1; k <= n; ++k) {
        gif.FrameInsert(static_cast<std::int16_t>(k), 2, 2);
        gif.SetFrameDelay(static_cast<std::int16_t>(k), static_cast<std::int16_t>(k));
    }
}

std::vector<int> Delays(const cGIF& gif)
{
    std::vector<int> delays;
    for (std::int16_t k = 1; k <= gif.FramesCount(); ++k)
        delays.push_back(gif.FrameDelay(k));
    return delays;
}

TEST(cGIFModel, NewDocumentHasNoSlots)
{
    cGIF gif;
    EXPECT_EQ(gif.FramesCount(), 0);
    EXPECT_EQ(gif.SlotsCount(), 0U);
    EXPECT_THROW(gif.FrameDelay(1), std::out_of_range);
    EXPECT_THROW(gif.SetFrameDelay(1, 5), std::out_of_range);
}

TEST(cGIFModel, DestroyLeavesOneEmptySlot)
{
    cGIF gif;
    MakeFrames(gif, 2);
    gif.SetGlobalPaletteExists(true);
    gif.SetAnimationLoops(3);
    gif.lpGlobalPalette()[5] = 9;
    gif.Destroy();
    EXPECT_EQ(gif.FramesCount(), 0);
    EXPECT_EQ(gif.SlotsCount(), 1U);
    EXPECT_EQ(gif.FrameDelay(1), 0);
    EXPECT_EQ(gif.FrameDIBXOR(1), nullptr);
    EXPECT_EQ(gif.FrameDIBAND(1), nullptr);
    EXPECT_FALSE(gif.GlobalPaletteExists());
    EXPECT_EQ(gif.AnimationLoops(), 0);
    EXPECT_EQ(gif.lpGlobalPalette()[5], 0);
    EXPECT_EQ(gif.ScreenWidth(), 0);
    EXPECT_THROW(gif.FrameDelay(2), std::out_of_range);
}

TEST(cGIFModel, InsertPastTheEndAppendsAndKeepsTheScreen)
{
    cGIF gif;
    MakeFrames(gif, 2);
    gif.FrameInsert(9, 10, 20);
    EXPECT_EQ(gif.FramesCount(), 3);
    EXPECT_EQ(gif.SlotsCount(), 3U);
    EXPECT_EQ(Delays(gif), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(gif.FrameDIBXOR(3)->Width(), 10);
    EXPECT_EQ(gif.ScreenWidth(), 2);
    EXPECT_EQ(gif.ScreenHeight(), 2);
}

TEST(cGIFModel, InsertAtOneMovesEveryFrameBack)
{
    cGIF gif;
    MakeFrames(gif, 3);
    const auto oldFirst = gif.FrameDIBXOR(1);
    gif.FrameInsert(1, 10, 20);
    EXPECT_EQ(Delays(gif), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(gif.FrameDIBXOR(2), oldFirst);
    const auto image = gif.FrameDIBXOR(1);
    const auto mask = gif.FrameDIBAND(1);
    ASSERT_TRUE(image && mask);
    EXPECT_EQ(image->Width(), 10);
    EXPECT_EQ(image->Height(), 20);
    EXPECT_EQ(image->bpp(), 8);
    EXPECT_EQ(mask->bpp(), 1);
    EXPECT_EQ(ReadIndices(*image), test_support::Bytes(200, 0));
    EXPECT_EQ(ReadColourTable(*mask), (test_support::Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
}

TEST(cGIFModel, FirstInsertSetsTheScreenSize)
{
    cGIF gif;
    gif.FrameInsert(1, 32, 16);
    EXPECT_EQ(gif.FramesCount(), 1);
    EXPECT_EQ(gif.ScreenWidth(), 32);
    EXPECT_EQ(gif.ScreenHeight(), 16);
}

TEST(cGIFModel, InsertBelowOneOnFramesIsRejectedUnchanged)
{
    cGIF gif;
    MakeFrames(gif, 2);
    EXPECT_THROW(gif.FrameInsert(0, 4, 4), std::out_of_range);
    EXPECT_THROW(gif.FrameInsert(-5, 4, 4), std::out_of_range);
    EXPECT_EQ(Delays(gif), (std::vector<int>{1, 2}));
    EXPECT_EQ(gif.SlotsCount(), 2U);
}

TEST(cGIFModel, InsertIntoSpareSlotStartsEmpty)
{
    // A control extension after the last image leaves a spare slot.
    const test_support::Bytes stream = test_support::GifBytes()
                                           .Header()
                                           .Screen(2, 1, 0x80)
                                           .Table({0, 0xFFFFFF})
                                           .Image(0, 0, 2, 1)
                                           .Pixels(2, test_support::Bytes{1, 0})
                                           .GraphicControl(0x05, 77, 1)
                                           .Trailer();
    cGIF gif;
    ASSERT_TRUE(gif.LoadFromStream(stream));
    ASSERT_EQ(gif.SlotsCount(), 2U);
    gif.FrameInsert(2, 3, 3);
    EXPECT_EQ(gif.FrameDelay(2), 0);
    EXPECT_FALSE(gif.FrameUseTransparentColor(2));
}

TEST(cGIFModel, InsertBeyond32767FramesOverflows)
{
    cGIF gif;
    for (int k = 0; k < std::numeric_limits<std::int16_t>::max(); ++k)
        gif.FrameInsert(32767, 0, 0);
    EXPECT_EQ(gif.FramesCount(), 32767);
    EXPECT_THROW(gif.FrameInsert(1, 1, 1), std::overflow_error);
    EXPECT_EQ(gif.FramesCount(), 32767);
}

TEST(cGIFModel, RemoveShiftsLaterFramesForward)
{
    cGIF gif;
    MakeFrames(gif, 3);
    const auto third = gif.FrameDIBXOR(3);
    gif.FrameRemove(2);
    EXPECT_EQ(Delays(gif), (std::vector<int>{1, 3}));
    EXPECT_EQ(gif.SlotsCount(), 2U);
    EXPECT_EQ(gif.FrameDIBXOR(2), third);
}

TEST(cGIFModel, RemovingTheLastFrameLeavesOneEmptySlot)
{
    cGIF gif;
    MakeFrames(gif, 1);
    const std::weak_ptr<cDIB> image = gif.FrameDIBXOR(1);
    gif.FrameRemove(1);
    EXPECT_EQ(gif.FramesCount(), 0);
    EXPECT_EQ(gif.SlotsCount(), 1U);
    EXPECT_EQ(gif.FrameDIBXOR(1), nullptr);
    EXPECT_TRUE(image.expired());
}

TEST(cGIFModel, RemoveOutsideTheFramesIsRejectedUnchanged)
{
    cGIF gif;
    gif.Destroy();
    EXPECT_THROW(gif.FrameRemove(1), std::out_of_range);
    EXPECT_EQ(gif.FramesCount(), 0);
    MakeFrames(gif, 2);
    EXPECT_THROW(gif.FrameRemove(3), std::out_of_range);
    EXPECT_THROW(gif.FrameRemove(0), std::out_of_range);
    EXPECT_EQ(Delays(gif), (std::vector<int>{1, 2}));
}

TEST(cGIFModel, MovesExchangeNeighbours)
{
    cGIF gif;
    MakeFrames(gif, 3);
    EXPECT_THROW(gif.FrameMoveUp(1), std::out_of_range);
    EXPECT_THROW(gif.FrameMoveDown(3), std::out_of_range);
    EXPECT_EQ(Delays(gif), (std::vector<int>{1, 2, 3}));
    gif.FrameMoveUp(2);
    EXPECT_EQ(Delays(gif), (std::vector<int>{2, 1, 3}));
    gif.FrameMoveDown(1);
    EXPECT_EQ(Delays(gif), (std::vector<int>{1, 2, 3}));
    gif.FrameMoveDown(2);
    EXPECT_EQ(Delays(gif), (std::vector<int>{1, 3, 2}));
    EXPECT_THROW(gif.FrameMoveUp(-32768), std::overflow_error);
    EXPECT_THROW(gif.FrameMoveDown(32767), std::overflow_error);
}

TEST(cGIFModel, PixelAspectRatioMapsThroughTheStoredByte)
{
    cGIF gif;
    gif.Destroy();
    EXPECT_FLOAT_EQ(gif.ScreenPixelAspectRatio(), 0.234375F);
    gif.SetScreenPixelAspectRatio(1.0F);
    EXPECT_EQ(gif.LogicalScreen().PixelAspect, 49);
    EXPECT_FLOAT_EQ(gif.ScreenPixelAspectRatio(), 1.0F);
    // Halves go to even: 0.5 -> 0, 1.5 -> 2.
    gif.SetScreenPixelAspectRatio(15.5F / 64);
    EXPECT_EQ(gif.LogicalScreen().PixelAspect, 0);
    gif.SetScreenPixelAspectRatio(16.5F / 64);
    EXPECT_EQ(gif.LogicalScreen().PixelAspect, 2);
    EXPECT_THROW(gif.SetScreenPixelAspectRatio(5.0F), std::overflow_error);
    EXPECT_THROW(gif.SetScreenPixelAspectRatio(0.0F), std::overflow_error);
    EXPECT_THROW(gif.SetScreenPixelAspectRatio(std::numeric_limits<float>::quiet_NaN()), std::overflow_error);
    EXPECT_EQ(gif.LogicalScreen().PixelAspect, 2);
}

TEST(cGIFModel, PaletteEntriesReadAsColourValues)
{
    cGIF gif;
    gif.FrameInsert(1, 1, 1);
    auto global = gif.lpGlobalPalette();
    global[4] = 0x10;  // entry 1 blue
    global[5] = 0x20;  // green
    global[6] = 0x30;  // red
    EXPECT_EQ(gif.GlobalPaletteRGBEntry(1), 0U);
    gif.SetGlobalPaletteExists(true);
    EXPECT_EQ(gif.GlobalPaletteRGBEntry(1), 0x102030U);
    auto local = gif.lpLocalPalette(1);
    local[1020] = 0xAB;
    local[1022] = 0xCD;
    EXPECT_EQ(gif.LocalPaletteRGBEntry(1, 255), 0xAB00CDU);
    EXPECT_FALSE(gif.LocalPaletteUsed(1));
}

TEST(cGIFModel, DisposalMethodMustFitAByte)
{
    cGIF gif;
    gif.FrameInsert(1, 1, 1);
    gif.SetFrameDisposalMethod(1, 3);
    EXPECT_EQ(gif.FrameDisposalMethod(1), 3);
    EXPECT_THROW(gif.SetFrameDisposalMethod(1, 256), std::overflow_error);
    EXPECT_THROW(gif.SetFrameDisposalMethod(1, -1), std::overflow_error);
    EXPECT_EQ(gif.FrameDisposalMethod(1), 3);
    gif.SetFrameDisposalMethod(1, 255);
    EXPECT_EQ(gif.FrameDisposalMethod(1), 255);
}

TEST(cGIFModel, WriteAccessorsDoNoCrossChecking)
{
    cGIF gif;
    gif.FrameInsert(1, 4, 4);
    const auto image = gif.FrameDIBXOR(1);
    gif.SetGlobalPaletteEntries(1000);
    gif.SetLocalPaletteEntries(1, -3);
    gif.SetFrameUseTransparentColor(1, true);
    gif.SetFrameTransparentColorIndex(1, 200);
    gif.SetLocalPaletteUsed(1, true);
    EXPECT_EQ(gif.GlobalPaletteEntries(), 1000);
    EXPECT_EQ(gif.LocalPaletteEntries(1), -3);
    EXPECT_EQ(gif.FrameTransparentColorIndex(1), 200);
    EXPECT_FALSE(gif.GlobalPaletteExists());
    EXPECT_EQ(gif.FrameDIBXOR(1), image);
    EXPECT_EQ(ReadColourTable(*image), test_support::Bytes(1024, 0));
}

}  // namespace
}  // namespace korvane::imaging
