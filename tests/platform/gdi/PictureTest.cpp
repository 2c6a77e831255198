#include <gtest/gtest.h>

#include "TestSurface.h"

namespace korvane::gdi {
namespace {

using testing::Quad;
using testing::TestSurface;

HBITMAP Section(int width, int height, int bpp, std::vector<RGBQUAD> table, std::uint8_t** bits)
{
    BITMAPINFOHEADER h;
    h.biWidth = width;
    h.biHeight = -height;
    h.biBitCount = static_cast<std::uint16_t>(bpp);
    return CreateDIBSection({}, h, table, bits);
}

TEST(Picture, OwnsItsBitmapUntilTheLastReferenceGoes)
{
    std::uint8_t* bits = nullptr;
    const HBITMAP b = Section(2, 1, 8, {Quad(0x102030), Quad(0x405060)}, &bits);
    bits[1] = 1;
    StdPicture picture = OleCreatePictureIndirect(b);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Kind(), PictureKind::Bitmap);
    EXPECT_EQ(picture->Handle(), b);
    EXPECT_EQ(picture->Width(), 2);
    EXPECT_EQ(picture->Height(), 1);
    EXPECT_EQ(picture->Argb32(), (std::vector<std::uint32_t>{0xFF102030, 0xFF405060}));
    StdPicture second = picture;
    picture.reset();
    EXPECT_EQ(GetObjectType(b), OBJ_BITMAP);
    second.reset();
    EXPECT_EQ(GetObjectType(b), 0);
}

TEST(Picture, RefusesSelectedAndUnknownBitmaps)
{
    TestSurface s(2, 2, 32);
    EXPECT_FALSE(OleCreatePictureIndirect(s.bitmap()));
    EXPECT_FALSE(OleCreatePictureIndirect(HBITMAP{}));
    const HDC dc = CreateCompatibleDC({});
    EXPECT_FALSE(OleCreatePictureIndirect(GetCurrentBitmap(dc)));  // the stock bitmap every context shares
    DeleteDC(dc);
}

TEST(Picture, BitmapDrawsAtItsNaturalSizeClipped)
{
    std::uint8_t* bits = nullptr;
    const HBITMAP b = Section(2, 2, 24, {}, &bits);
    std::fill(bits, bits + 16, 0xFF);
    const StdPicture picture = OleCreatePictureIndirect(b);
    TestSurface canvas(3, 3, 32);
    EXPECT_TRUE(DrawPicture(canvas.dc(), picture, 2, -1));
    EXPECT_EQ(canvas.Get(2, 0), 0xFFFFFFu);
    EXPECT_EQ(canvas.Get(1, 0), 0u);
    EXPECT_EQ(canvas.Get(2, 1), 0u);
    EXPECT_FALSE(DrawPicture(canvas.dc(), nullptr, 0, 0));
}

TEST(Picture, IconBlendsByAlpha)
{
    const StdPicture icon = CreateIconPicture(3, 1, {0xFFFF0000, 0x00FF0000, 0x80FF0000});
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Kind(), PictureKind::Icon);
    EXPECT_FALSE(icon->Handle());
    TestSurface canvas(3, 1, 32);
    canvas.FillWith(0x0000FF);
    EXPECT_TRUE(DrawPicture(canvas.dc(), icon, 0, 0));
    EXPECT_EQ(canvas.Get(0, 0), 0xFF0000u);
    EXPECT_EQ(canvas.Get(1, 0), 0x0000FFu);
    EXPECT_EQ(canvas.Get(2, 0), 0x80007Fu);
}

TEST(Picture, IconNeedsOnePixelPerPoint)
{
    EXPECT_FALSE(CreateIconPicture(2, 2, {0, 0, 0}));
    EXPECT_FALSE(CreateIconPicture(0, 0, {}));
}

TEST(Picture, EmptyPictureDrawsNothing)
{
    const StdPicture empty = CreateEmptyPicture();
    EXPECT_EQ(empty->Kind(), PictureKind::None);
    TestSurface canvas(1, 1, 32);
    EXPECT_TRUE(DrawPicture(canvas.dc(), empty, 0, 0));
    EXPECT_EQ(canvas.Get(0, 0), 0u);
}

}  // namespace
}  // namespace korvane::gdi
