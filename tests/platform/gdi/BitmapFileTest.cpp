#include <filesystem>
#include <fstream>
#include <system_error>

#include <gtest/gtest.h>

#include "TestSurface.h"
#include "tests/support/BmpBuilder.h"

namespace korvane::gdi {
namespace {

using test_support::BmpRecipe;
using test_support::BuildBmp;
using test_support::PixelBytes;
using testing::TestSurface;

std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const std::filesystem::path dir = std::filesystem::path(KORVANE_TEST_OUTPUT_DIR) / "gdi";
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::vector<RGBQUAD> Greys(int n)
{
    std::vector<RGBQUAD> t(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        t[i] = RGBQUAD{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 0, 0};
    return t;
}

struct LoadCase {
    std::uint16_t bpp;
    bool topDown;
};

class LoadBmpTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadBmpTest, KeepsPixelBytesRowOrderAndTable)
{
    BmpRecipe recipe;
    recipe.width = 5;
    recipe.height = GetParam().topDown ? -3 : 3;
    recipe.bpp = GetParam().bpp;
    if (recipe.bpp <= 8) recipe.table = Greys(1 << recipe.bpp);
    const std::vector<std::uint8_t> file = BuildBmp(recipe);
    const std::string path =
        WriteFile("load" + std::to_string(recipe.bpp) + (GetParam().topDown ? "t" : "b") + ".bmp", file);
    const HBITMAP b = LoadBitmapFile(path);
    ASSERT_TRUE(b);
    BITMAP info;
    ASSERT_TRUE(GetObject(b, info));
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, recipe.bpp);
    const std::size_t n = PixelBytes(recipe);
    ASSERT_NE(info.bmBits, nullptr);
    EXPECT_TRUE(std::equal(info.bmBits, info.bmBits + n, file.end() - static_cast<std::ptrdiff_t>(n)));

    // The top row on screen is the file's first row only when it is top-down.
    const HDC dc = CreateCompatibleDC({});
    const HBITMAP old = SelectObject(dc, b);
    if (recipe.bpp <= 8) {
        std::vector<RGBQUAD> table(1u << recipe.bpp);
        EXPECT_EQ(GetDIBColorTable(dc, 0, table), table.size());
        EXPECT_EQ(table, recipe.table);
    }
    TestSurface top(5, 3, 24), bottom(5, 3, 24);
    BitBlt(top.dc(), 0, 0, 5, 1, dc, 0, 0, SRCCOPY);
    BitBlt(bottom.dc(), 0, 0, 5, 1, dc, 0, 2, SRCCOPY);
    const std::size_t stride = static_cast<std::size_t>(info.bmWidthBytes);
    TestSurface firstRow(5, 1, recipe.bpp, recipe.table);
    std::copy_n(file.end() - static_cast<std::ptrdiff_t>(n), stride, firstRow.bits());
    TestSurface expected(5, 1, 24);
    BitBlt(expected.dc(), 0, 0, 5, 1, firstRow.dc(), 0, 0, SRCCOPY);
    const TestSurface& shown = GetParam().topDown ? top : bottom;
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(shown.Get(x, 0), expected.Get(x, 0)) << x;
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(b));
}

INSTANTIATE_TEST_SUITE_P(AllDepths, LoadBmpTest,
                         ::testing::Values(LoadCase{1, false}, LoadCase{1, true}, LoadCase{4, false}, LoadCase{4, true},
                                           LoadCase{8, false}, LoadCase{8, true}, LoadCase{16, false},
                                           LoadCase{16, true}, LoadCase{24, false}, LoadCase{24, true},
                                           LoadCase{32, false}, LoadCase{32, true}),
                         [](const auto& info) {
                             return std::to_string(info.param.bpp) + (info.param.topDown ? "TopDown" : "BottomUp");
                         });

std::uint32_t FirstPixel(HBITMAP b)
{
    BITMAP info;
    GetObject(b, info);
    std::uint32_t v = 0;
    std::memcpy(&v, info.bmBits, info.bmBitsPixel / 8);
    return v;
}

TEST(LoadBmp, BitfieldsAreConvertedToTheSurfaceLayout)
{
    BmpRecipe recipe;
    recipe.width = 1;
    recipe.height = 1;
    recipe.bpp = 16;
    recipe.compression = 3;
    recipe.masks = {0xF800, 0x07E0, 0x001F};
    recipe.pixels = {0x00, 0xF8, 0, 0};  // 5-6-5 red
    HBITMAP b = LoadBitmapFile(WriteFile("bf565.bmp", BuildBmp(recipe)));
    ASSERT_TRUE(b);
    EXPECT_EQ(FirstPixel(b), 0x7C00u);
    DeleteObject(b);

    recipe.bpp = 32;
    recipe.infoBytes = 108;  // the masks inside the header
    recipe.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    recipe.pixels = {0x11, 0x22, 0x33, 0};
    b = LoadBitmapFile(WriteFile("bf32.bmp", BuildBmp(recipe)));
    ASSERT_TRUE(b);
    EXPECT_EQ(FirstPixel(b), 0x112233u);
    DeleteObject(b);
}

TEST(LoadBmp, AcceptsBackslashSeparators)
{
    BmpRecipe recipe;
    recipe.bpp = 24;
    std::string path = WriteFile("backslash.bmp", BuildBmp(recipe));
    for (char& c : path)
        if (c == '/') c = '\\';
    const HBITMAP b = LoadBitmapFile(path);
    EXPECT_TRUE(b);
    DeleteObject(b);
    EXPECT_EQ(FileLength(path), BuildBmp(recipe).size());
}

TEST(LoadBmp, MissingFile)
{
    EXPECT_FALSE(LoadBitmapFile("/no/such/file.bmp"));
    EXPECT_THROW(FileLength("/no/such/file.bmp"), std::system_error);
}

struct RefusalCase {
    const char* name;
    BmpRecipe recipe;
};

BmpRecipe With(void (*change)(BmpRecipe&))
{
    BmpRecipe s;
    s.table = Greys(256);
    change(s);
    return s;
}

class RefuseBmpTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefuseBmpTest, Refused)
{
    const std::string path = WriteFile(std::string("refuse") + GetParam().name + ".bmp", BuildBmp(GetParam().recipe));
    const HBITMAP b = LoadBitmapFile(path);
    EXPECT_FALSE(b);
    DeleteObject(b);
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, RefuseBmpTest,
    ::testing::Values(RefusalCase{"Rle8", With([](BmpRecipe& s) { s.compression = 1; })},
                      RefusalCase{"BitfieldsAt8Bits", With([](BmpRecipe& s) { s.compression = 3; })},
                      RefusalCase{"Jpeg", With([](BmpRecipe& s) { s.compression = 4; })},
                      RefusalCase{"TruncatedPixels", With([](BmpRecipe& s) { s.cut = 1; })},
                      RefusalCase{"PixelOffsetPastTheEnd", With([](BmpRecipe& s) { s.pixelOffsetDelta = 1 << 30; })},
                      RefusalCase{"PixelOffsetInsideTheHeaders",
                                  With([](BmpRecipe& s) { s.pixelOffsetDelta = -(14 + 40 + 1024) + 10; })},
                      RefusalCase{"TableTruncated", With([](BmpRecipe& s) {
                                      s.table.resize(3), s.pixels = {0, 0, 0, 0}, s.width = 1, s.height = 1;
                                  })},
                      RefusalCase{"ZeroWidth", With([](BmpRecipe& s) { s.width = 0; })},
                      RefusalCase{"NegativeWidth", With([](BmpRecipe& s) { s.width = -3; })},
                      RefusalCase{"ZeroHeight", With([](BmpRecipe& s) { s.height = 0; })},
                      RefusalCase{"MinimumHeight", With([](BmpRecipe& s) { s.height = INT32_MIN; })},
                      RefusalCase{"TwoPlanes", With([](BmpRecipe& s) { s.planes = 2; })},
                      RefusalCase{"BadMagic", With([](BmpRecipe& s) { s.magic[0] = 'X'; })},
                      RefusalCase{"CoreHeader", With([](BmpRecipe& s) { s.infoBytes = 12; })},
                      RefusalCase{"HugeInfoHeader", With([](BmpRecipe& s) { s.infoBytes = 0x7FFFFFFF; })},
                      RefusalCase{"UnsupportedDepth", With([](BmpRecipe& s) { s.bpp = 2; })},
                      RefusalCase{"Over256MiB", With([](BmpRecipe& s) {
                                      s.width = 40000, s.height = 40000, s.bpp = 24, s.table.clear();
                                  })},
                      RefusalCase{
                          "NonContiguousMasks", With([](BmpRecipe& s) {
                              s.bpp = 16, s.compression = 3, s.table.clear(), s.masks = {0x7C01, 0x03E0, 0x001E};
                          })},
                      RefusalCase{"EmptyFile", With([](BmpRecipe& s) { s.cut = 14 + 40 + 1024 + 8; })}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane::gdi
