// Differential tests against giflib: giflib reads what our writer writes to
// the same indices, and our reader decodes hand-built streams, our writer's
// streams and (when present) the shared real-world corpus to the same
// indices as giflib.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include "imaging/gif/cGIF.h"
#include "tests/support/GifTestSupport.h"
#include "tests/support/GiflibMemory.h"

namespace korvane::imaging {
namespace {

using test_support::Bytes;
using test_support::GifBytes;

struct GiflibFrame {
    int width = 0;
    int height = 0;
    bool interlaced = false;
    Bytes indices;  // rows top to bottom, as giflib places them
};

struct GiflibResult {
    bool ok = false;
    std::vector<GiflibFrame> frames;
};

GiflibResult GiflibDecode(const Bytes& bytes)
{
    korvane::test_support::GiflibMemoryInput reader{bytes};
    int error = 0;
    GifFileType* file = DGifOpen(&reader, korvane::test_support::GiflibReadMemory, &error);
    GiflibResult result;
    if (!file) return result;
    result.ok = DGifSlurp(file) == GIF_OK;
    for (int i = 0; result.ok && i < file->ImageCount; ++i) {
        const SavedImage& image = file->SavedImages[i];
        GiflibFrame frame{image.ImageDesc.Width, image.ImageDesc.Height, image.ImageDesc.Interlace, {}};
        frame.indices.assign(image.RasterBits, image.RasterBits + static_cast<std::size_t>(frame.width) * frame.height);
        result.frames.push_back(std::move(frame));
    }
    DGifCloseFile(file, &error);
    return result;
}

// Every frame of our load equals giflib's; returns a description of the
// first difference, empty when they agree.
std::string CompareWithGiflib(const Bytes& stream)
{
    const GiflibResult theirs = GiflibDecode(stream);
    if (!theirs.ok) return "giflib cannot read the stream";
    cGIF ours;
    if (!ours.LoadFromStream(stream)) return "our reader refused the stream";
    if (static_cast<std::size_t>(ours.FramesCount()) != theirs.frames.size()) {
        return "frame count " + std::to_string(ours.FramesCount()) + " vs " + std::to_string(theirs.frames.size());
    }
    for (std::int16_t f = 1; f <= ours.FramesCount(); ++f) {
        const GiflibFrame& t = theirs.frames[static_cast<std::size_t>(f) - 1];
        const cDIB& image = *ours.FrameDIBXOR(f);
        if (image.Width() != t.width || image.Height() != t.height) return "frame " + std::to_string(f) + " size";
        const Bytes mine = test_support::ReadIndices(image);
        if (mine != t.indices) {
            const auto at = std::mismatch(mine.begin(), mine.end(), t.indices.begin()).first - mine.begin();
            return "frame " + std::to_string(f) + " differs at pixel " + std::to_string(at);
        }
    }
    return {};
}

// --- our writer, read by giflib ---------------------------------------------

struct FrameRecipe {
    std::int16_t width, height;
    unsigned colours;  // local table size, 0 for the global table
    bool interlaced;
    bool transparent;
    std::function<Bytes(std::size_t count, unsigned limit)> pixels;
};

struct DocumentRecipe {
    const char* name;
    std::int16_t globalColours;
    std::vector<FrameRecipe> frames;
};

Bytes Noise(std::size_t count, unsigned limit)
{
    return test_support::NoiseIndices(count, limit, static_cast<std::uint32_t>(count));
}
Bytes Flat(std::size_t count, unsigned limit)
{
    return Bytes(count, static_cast<std::uint8_t>(limit - 1));
}
// Smooth gradients with a little noise, like a photo reduced to a palette.
Bytes PhotoLike(std::size_t count, unsigned limit)
{
    Bytes out = test_support::NoiseIndices(count, 3, 99);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>((i / 7 + i % 251 / 5 + out[i]) % limit);
    return out;
}

std::vector<FrameRecipe> ManyFrames()
{
    std::vector<FrameRecipe> frames;
    frames.reserve(40);
    for (int k = 0; k < 40; ++k)
        frames.push_back({16, 12, k % 3 == 0 ? 8U : 0U, k % 4 == 1, k % 2 == 0, Noise});
    return frames;
}

void Build(cGIF& gif, const DocumentRecipe& recipe)
{
    gif.Destroy();
    gif.SetGlobalPaletteExists(recipe.globalColours > 0);
    gif.SetGlobalPaletteEntries(recipe.globalColours);
    for (const FrameRecipe& fs : recipe.frames) {
        const auto f = static_cast<std::int16_t>(gif.FramesCount() + 1);
        gif.FrameInsert(f, fs.width, fs.height);
        gif.SetFrameInterlaced(f, fs.interlaced);
        gif.SetFrameUseTransparentColor(f, fs.transparent);
        gif.SetFrameTransparentColorIndex(f, 1);
        gif.SetLocalPaletteUsed(f, fs.colours > 0);
        gif.SetLocalPaletteEntries(f, static_cast<std::int16_t>(fs.colours));
        const unsigned limit = fs.colours > 0 ? fs.colours : static_cast<unsigned>(recipe.globalColours);
        test_support::WriteIndices(*gif.FrameDIBXOR(f),
                                   fs.pixels(static_cast<std::size_t>(fs.width) * fs.height, std::max(limit, 2U)));
    }
}

class WriterReadByGiflib : public testing::TestWithParam<DocumentRecipe> {};

TEST_P(WriterReadByGiflib, SameIndices)
{
    const DocumentRecipe& recipe = GetParam();
    cGIF gif;
    Build(gif, recipe);
    const std::string path = test_support::TestPath(std::string("giflib-") + recipe.name + ".gif");
    ASSERT_TRUE(gif.Save(path));
    const Bytes stream = test_support::ReadFile(path);
    const GiflibResult theirs = GiflibDecode(stream);
    ASSERT_TRUE(theirs.ok);
    ASSERT_EQ(theirs.frames.size(), recipe.frames.size());
    for (std::int16_t f = 1; f <= gif.FramesCount(); ++f) {
        const GiflibFrame& t = theirs.frames[static_cast<std::size_t>(f) - 1];
        ASSERT_EQ(t.width, recipe.frames[static_cast<std::size_t>(f) - 1].width);
        EXPECT_EQ(t.indices, test_support::ReadIndices(*gif.FrameDIBXOR(f))) << "frame " << f;
    }
    EXPECT_EQ(CompareWithGiflib(stream), "");
}

INSTANTIATE_TEST_SUITE_P(Documents, WriterReadByGiflib,
                         testing::Values(DocumentRecipe{"Photo", 256, {{320, 200, 0, false, false, PhotoLike}}},
                                         DocumentRecipe{
                                             "NoiseFillsTheTable", 256, {{300, 300, 0, false, false, Noise}}},
                                         DocumentRecipe{"Flat", 2, {{2000, 500, 0, false, false, Flat}}},
                                         DocumentRecipe{"FlatCodeSize8", 256, {{1000, 300, 0, false, false, Flat}}},
                                         DocumentRecipe{"InterlacedLocal", 0, {{37, 29, 4, true, false, Noise}}},
                                         DocumentRecipe{"InterlacedShort",
                                                        4,
                                                        {{9, 1, 0, true, false, Noise},
                                                         {9, 2, 0, true, false, Noise},
                                                         {9, 3, 0, true, false, Noise},
                                                         {9, 4, 0, true, false, Noise},
                                                         {9, 5, 0, true, false, Noise}}},
                                         DocumentRecipe{"TransparentManyFrames", 16, ManyFrames()},
                                         DocumentRecipe{"OnePixel", 2, {{1, 1, 0, false, true, Noise}}},
                                         DocumentRecipe{"VeryWide", 8, {{5000, 1, 0, false, false, Noise}}},
                                         DocumentRecipe{"VeryTall", 8, {{1, 5000, 0, true, false, Noise}}},
                                         DocumentRecipe{"EveryCodeSize",
                                                        0,
                                                        {{33, 7, 2, false, false, Noise},
                                                         {33, 7, 4, false, false, Noise},
                                                         {33, 7, 8, false, false, Noise},
                                                         {33, 7, 16, false, false, Noise},
                                                         {33, 7, 32, false, false, Noise},
                                                         {33, 7, 64, false, false, Noise},
                                                         {33, 7, 128, false, false, Noise},
                                                         {33, 7, 256, false, false, Noise}}}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- hand-built streams, read by both ---------------------------------------

struct StreamCase {
    const char* name;
    std::function<Bytes()> build;
};

class HandBuiltStreams : public testing::TestWithParam<StreamCase> {};

TEST_P(HandBuiltStreams, OurReaderAgreesWithGiflib)
{
    EXPECT_EQ(CompareWithGiflib(GetParam().build()), "");
}

Bytes Indices(std::size_t n, unsigned limit, std::uint32_t seed)
{
    return test_support::NoiseIndices(n, limit, seed);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, HandBuiltStreams,
    testing::Values(StreamCase{"Interlaced",
                               [] {
                                   return GifBytes()
                                       .Header()
                                       .Screen(7, 19, 0x81)  // global table of 4
                                       .Table({0, 0xFF0000, 0xFF00, 0xFF})
                                       .Image(0, 0, 7, 19, 0x40)       // interlaced, no local table
                                       .Pixels(2, Indices(133, 4, 1))  // rows in stored (pass) order
                                       .Trailer()
                                       .bytes();
                               }},
                    StreamCase{"InterlacedOneToFiveRows",
                               [] {
                                   GifBytes g;
                                   g.Header().Screen(6, 5, 0x81).Table({0, 0xFF0000, 0xFF00, 0xFF});
                                   for (std::int16_t rows = 1; rows <= 5; ++rows) {
                                       const auto n = static_cast<std::size_t>(6 * rows);
                                       g.Image(0, 0, 6, rows, 0x40).Pixels(2, Indices(n, 4, n));
                                   }
                                   return g.Trailer().bytes();
                               }},
                    StreamCase{"TransparentWithLocalTables",
                               [] {
                                   return GifBytes()
                                       .Header()
                                       .Screen(5, 5, 0x00)           // no global table
                                       .GraphicControl(0x09, 10, 3)  // disposal 2, transparent index 3
                                       .Image(0, 0, 5, 5, 0x82)      // local table of 8
                                       .Table({1, 2, 3, 4, 5, 6, 7, 8})
                                       .Pixels(3, Indices(25, 8, 2))
                                       .GraphicControl(0x04, 10, 0)
                                       .Image(1, 1, 3, 3, 0x80)  // local table of 2
                                       .Table({0, 0xFFFFFF})
                                       .Pixels(2, Indices(9, 2, 3))
                                       .Trailer()
                                       .bytes();
                               }},
                    StreamCase{
                        "ManyFrames",
                        [] {
                            GifBytes g;
                            g.Header().Screen(4, 4, 0x87).Table(std::vector<std::uint32_t>(256, 0x123456)).Netscape(0);
                            for (std::uint32_t k = 0; k < 60; ++k) {
                                g.GraphicControl(static_cast<std::uint8_t>((k % 4) << 2), 5)
                                    .Image(0, 0, 4, 4)
                                    .Pixels(8, Indices(16, 256, k));
                            }
                            return g.Trailer().bytes();
                        }},
                    StreamCase{"OnePixel",
                               [] {
                                   return GifBytes()
                                       .Header("87a")
                                       .Screen(1, 1, 0x80)
                                       .Table({0, 0xFFFFFF})
                                       .Image(0, 0, 1, 1)
                                       .Pixels(2, Bytes{1})
                                       .Trailer()
                                       .bytes();
                               }},
                    StreamCase{"VeryWide",
                               [] {
                                   return GifBytes()
                                       .Header()
                                       .Screen(9000, 1, 0x82)
                                       .Table({1, 2, 3, 4, 5, 6, 7, 8})
                                       .Image(0, 0, 9000, 1)
                                       .Pixels(3, Indices(9000, 8, 4))
                                       .Trailer()
                                       .bytes();
                               }},
                    StreamCase{"VeryTall",
                               [] {
                                   return GifBytes()
                                       .Header()
                                       .Screen(1, 9000, 0x82)
                                       .Table({1, 2, 3, 4, 5, 6, 7, 8})
                                       .Image(0, 0, 1, 9000, 0x40)
                                       .Pixels(3, Indices(9000, 8, 5))
                                       .Trailer()
                                       .bytes();
                               }},
                    StreamCase{"ExtensionsBetweenFrames",
                               [] {
                                   return GifBytes()
                                       .Header()
                                       .Screen(3, 2, 0x80)
                                       .Table({0, 0xFFFFFF})
                                       .Extension(0xFE, {'c', 0x2C, 0x3B})  // comment holding introducer bytes
                                       .Image(0, 0, 3, 2)
                                       .Pixels(2, Indices(6, 2, 6))
                                       .Application("XMP DataXMP", {2, 'x', 'y'})
                                       .Extension(0x01, Bytes(20, 'p'))  // plain text
                                       .Image(0, 0, 3, 2)
                                       .Pixels(2, Indices(6, 2, 7))
                                       .Trailer()
                                       .bytes();
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the shared real-world corpus, when it is there --------------------------

std::vector<std::filesystem::path> RealCorpus()
{
    const std::filesystem::path dir = std::filesystem::path(KORVANE_SOURCE_DIR) / ".." / "shared" / "corpora" / "real";
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(dir)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(GiflibCorpus, RealFilesDecodeToTheSameIndices)
{
    const auto files = RealCorpus();
    if (files.empty()) GTEST_SKIP() << "no shared corpus beside the repository";
    int compared = 0;
    for (const auto& file : files) {
        const std::string difference = CompareWithGiflib(test_support::ReadFile(file.string()));
        if (difference == "giflib cannot read the stream") continue;
        ++compared;
        EXPECT_EQ(difference, "") << file.filename();
    }
    EXPECT_GT(compared, 0);
}

// Loaded and saved again by us, every real file giflib reads gives giflib
// the same frames as the original.
TEST(GiflibCorpus, ResavedRealFilesKeepTheirIndices)
{
    const auto files = RealCorpus();
    if (files.empty()) GTEST_SKIP() << "no shared corpus beside the repository";
    int compared = 0;
    for (const auto& file : files) {
        const GiflibResult original = GiflibDecode(test_support::ReadFile(file.string()));
        if (!original.ok) continue;
        cGIF gif;
        ASSERT_TRUE(gif.LoadFromFile(file.string()));
        const std::string path = test_support::TestPath("resaved-" + file.filename().string());
        if (!gif.Save(path)) continue;  // e.g. indices beyond the colour table's code size
        ++compared;
        const GiflibResult resaved = GiflibDecode(test_support::ReadFile(path));
        ASSERT_TRUE(resaved.ok) << file.filename();
        ASSERT_EQ(resaved.frames.size(), original.frames.size()) << file.filename();
        for (std::size_t f = 0; f < original.frames.size(); ++f) {
            EXPECT_EQ(resaved.frames[f].indices, original.frames[f].indices) << file.filename() << " frame " << f + 1;
        }
    }
    EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace korvane::imaging
