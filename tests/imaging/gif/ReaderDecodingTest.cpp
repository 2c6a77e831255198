// The reader decodes straight from the sub-blocks into fresh surfaces; the
// plain transcription of the decoding rules, given the gathered data, must
// leave the same surface memory (padding included) for every frame of every
// prefix of a few files, and of damaged copies of them.
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "imaging/gif/cGIF.h"
#include "imaging/gif/mGIFLZWEnc.h"
#include "tests/support/GifTestSupport.h"
#include "tests/support/LzwReference.h"

namespace korvane::imaging {
namespace {

using test_support::Bytes;
using test_support::GifBytes;

struct ImageData {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool interlaced = false;
    std::uint8_t codeSize = 0;
    int transparent = -1;  // the transparent index, -1 for none
    Bytes data;            // the payloads as the reader gathers them
};

std::uint16_t Word(const Bytes& s, std::size_t at)
{
    return static_cast<std::uint16_t>((at < s.size() ? s[at] : 0) | (at + 1 < s.size() ? s[at + 1] << 8 : 0));
}

// The images of a well-formed stream cut anywhere: descriptors, code sizes and
// gathered payloads (a block cut off by the end is padded with zeros).
std::vector<ImageData> Images(const Bytes& s)
{
    std::vector<ImageData> images;
    std::size_t pos = 13;
    if (s.size() > 10 && (s[10] & 0x80) != 0) pos += 3u << ((s[10] & 7) + 1);
    const auto gather = [&](Bytes* into) {
        while (pos < s.size() && s[pos] != 0) {
            const std::size_t size = s[pos];
            for (std::size_t k = 1; k <= size; ++k) {
                if (into) into->push_back(pos + k < s.size() ? s[pos + k] : 0);
            }
            pos += size + 1;
        }
        ++pos;
    };
    int transparent = -1;
    while (pos < s.size() && s[pos] != 0x3B) {
        if (s[pos] == 0x21) {
            // Only complete control blocks come before an image in these files.
            if (pos + 6 < s.size() && s[pos + 1] == 0xF9) transparent = (s[pos + 3] & 1) != 0 ? s[pos + 6] : -1;
            pos += 2;
            gather(nullptr);
        } else {
            ImageData image;
            image.transparent = transparent;
            transparent = -1;
            image.width = Word(s, pos + 5);
            image.height = Word(s, pos + 7);
            const std::uint8_t packed = pos + 9 < s.size() ? s[pos + 9] : 0;
            image.interlaced = (packed & 0x40) != 0;
            pos += 10;
            if ((packed & 0x80) != 0) pos += 3u << ((packed & 7) + 1);
            image.codeSize = pos < s.size() ? s[pos] : 0;
            ++pos;
            gather(&image.data);
            images.push_back(std::move(image));
        }
    }
    return images;
}

// Empty when the load agrees with the rules, else where it differs.
std::string CompareWithRules(const Bytes& stream)
{
    std::string difference;
    std::thread([&] {  // a thread of its own: both string tables start empty
        cGIF gif;
        if (!gif.LoadFromStream(stream)) {
            difference = "refused";
            return;
        }
        const std::vector<ImageData> images = Images(stream);
        if (images.size() != static_cast<std::size_t>(gif.FramesCount())) {
            difference = "frame count";
            return;
        }
        test_support::ReferenceDecoder reference;
        for (std::size_t f = 0; f < images.size(); ++f) {
            const ImageData& image = images[f];
            const cDIB& ours = *gif.FrameDIBXOR(static_cast<std::int16_t>(f + 1));
            cDIB theirs;
            if (!theirs.Create(image.width, image.height, 8)) {  // a descriptor cut off: no surface
                if (ours.size() != 0) difference = "frame " + std::to_string(f + 1) + " has a surface";
                continue;
            }
            reference.Decode({theirs.lpBits(), image.width, image.height, theirs.BytesPerScanline()}, image.interlaced,
                             image.codeSize, image.data);
            if (!std::equal(ours.lpBits(), ours.lpBits() + ours.size(), theirs.lpBits())) {
                difference = "frame " + std::to_string(f + 1);
                return;
            }
            // The mask: 1 exactly where the index is the transparent one.
            Bytes mask = test_support::ReadIndices(theirs);
            for (auto& b : mask)
                b = image.transparent >= 0 && b == image.transparent ? 1 : 0;
            if (test_support::ReadMaskBits(*gif.FrameDIBAND(static_cast<std::int16_t>(f + 1))) != mask) {
                difference = "mask of frame " + std::to_string(f + 1);
                return;
            }
        }
    })
        .join();
    return difference;
}

// Our encoder's data for the indices, with a few bits flipped when `damage` is given.
Bytes Encoded(std::int32_t width, std::int32_t height, const Bytes& indices, int bits, bool interlaced,
              std::mt19937* damage)
{
    FrameRecord frame;
    frame.DIBXOR = std::make_shared<cDIB>();
    frame.DIBXOR->Create(width, height, 8);
    test_support::WriteIndices(*frame.DIBXOR, indices);
    Bytes blocks;
    mGIFLZWEnc::EncodeFromDIB(blocks, frame, static_cast<std::uint8_t>(std::max(bits, 2) + 1), interlaced);
    Bytes joined;
    for (std::size_t at = 0; at < blocks.size(); at += 1 + blocks[at])
        joined.insert(joined.end(), blocks.begin() + static_cast<std::ptrdiff_t>(at + 1),
                      blocks.begin() + static_cast<std::ptrdiff_t>(at + 1 + blocks[at]));
    for (unsigned k = 0; damage != nullptr && k < 1 + (*damage)() % 4; ++k)
        joined[(*damage)() % joined.size()] ^= static_cast<std::uint8_t>(1u << ((*damage)() % 8));
    return joined;
}

std::vector<Bytes> Files(std::mt19937* damage = nullptr)
{
    // Noise long enough to be fed in several chunks, interlaced, index 0
    // transparent: rows the data never reaches are all mask.
    const Bytes noise = test_support::NoiseIndices(std::size_t{320} * 210, 256, 5);
    const Bytes big = GifBytes()
                          .Header()
                          .Screen(320, 210, 0x87)
                          .Table(std::vector<std::uint32_t>(256, 0x102030))
                          .GraphicControl(0x01, 0, 0)
                          .Image(0, 0, 320, 210, 0x40)
                          .ImageData(8, Encoded(320, 210, noise, 8, true, damage))
                          .Trailer();
    // Small frames of every kind: code size 2, short interlaced, flat rows
    // whose strings end at a row's end.
    GifBytes small;
    small.Header().Screen(37, 5, 0x81).Table({0, 0xFF, 0xFF00, 0xFF0000});
    small.GraphicControl(0x01, 0, 3)
        .Image(0, 0, 37, 5)
        .ImageData(2, Encoded(37, 5, test_support::NoiseIndices(185, 4, 1), 2, false, damage));
    small.GraphicControl(0x01, 0, 0)
        .Image(0, 0, 37, 3, 0x40)
        .ImageData(2, Encoded(37, 3, test_support::NoiseIndices(111, 4, 2), 2, true, damage));
    small.GraphicControl(0x01, 0, 2).Image(0, 0, 13, 5).ImageData(2, Encoded(13, 5, Bytes(65, 2), 2, false, damage));
    // Rows with nothing between them (a width of whole words), in runs long
    // enough for strings of dozens of bytes.
    Bytes runs(std::size_t{36} * 6);
    for (std::size_t i = 0; i < runs.size(); ++i)
        runs[i] = static_cast<std::uint8_t>(i / 11 % 3);
    small.GraphicControl(0x01, 0, 1).Image(0, 0, 36, 6).ImageData(2, Encoded(36, 6, runs, 2, false, damage));
    small.Trailer();
    const Bytes flat = GifBytes()
                           .Header()
                           .Screen(2001, 40, 0x80)
                           .Table({0, 0xFFFFFF})
                           .Image(0, 0, 2001, 40)
                           .ImageData(2, Encoded(2001, 40, Bytes(std::size_t{2001} * 40, 1), 1, false, damage))
                           .Trailer();
    return {big, small, flat};
}

TEST(ReaderDecoding, EveryPrefixAgreesWithTheRules)
{
    for (const Bytes& file : Files()) {
        // Every prefix of the small files; of the large one, every prefix
        // through its first sub-blocks and a spread of later cuts.
        const std::size_t step = file.size() > 20000 ? 97 : 1;
        for (std::size_t n = 6; n <= file.size(); n += n < 1500 ? 1 : step) {
            ASSERT_EQ(CompareWithRules(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n))), "")
                << "prefix of " << n << " of a " << file.size() << "-byte file";
        }
    }
}

TEST(ReaderDecoding, DamagedDataAgreesWithTheRules)
{
    std::mt19937 random(7);
    for (int n = 0; n < 40; ++n) {
        for (const Bytes& file : Files(&random))
            ASSERT_EQ(CompareWithRules(file), "") << "damage " << n << " of a " << file.size() << "-byte file";
    }
}

// Image and mask surfaces are not cleared before decoding, and may hold an
// earlier picture's pixels, as may the decoder's own buffers: whatever the
// data leaves unwritten, row padding included, must still read as the rules
// say, for every way a frame is decoded. Index 6, which the earlier pictures
// are made of, is transparent, so their masks are all set. A wider picture is loaded first, and a
// whole frame of the same kind comes before each cut one; longer cuts come
// before shorter ones, so each load lands on memory the one before wrote
// further into.
TEST(ReaderDecoding, CutFramesAgreeWithTheRulesOverEarlierPictures)
{
    struct Case {
        std::uint16_t width, height;
        bool interlaced;
    };
    const Case cases[] = {
        {601, 440, false},  // straight into padded rows: more pixels than are gathered
        {601, 440, true},   // the same, interlaced
        {61, 44, false},    // gathered, then placed in padded rows
        {61, 44, true},     // gathered in interlaced order
        {64, 40, false},    // straight into rows without padding
    };
    const std::vector<std::uint32_t> table{0, 0xFF, 0xFF00, 0xFF0000, 0xFFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (const Case& c : cases) {
        const std::size_t pixels = std::size_t{c.width} * c.height;
        Bytes runs(pixels);
        for (std::size_t i = 0; i < runs.size(); ++i)
            runs[i] = static_cast<std::uint8_t>(i / 7 % 5 + 1);
        const std::uint8_t packed = c.interlaced ? 0x40 : 0;
        GifBytes file;
        file.Header().Screen(c.width, c.height, 0x82).Table(table);
        file.GraphicControl(0x01, 0, 6)
            .Image(0, 0, c.width, c.height, packed)
            .ImageData(3, Encoded(c.width, c.height, Bytes(pixels, 6), 3, c.interlaced, nullptr));
        const std::size_t cutFrame = file.bytes().size();
        file.GraphicControl(0x01, 0, 6)
            .Image(0, 0, c.width, c.height, packed)
            .ImageData(3, Encoded(c.width, c.height, runs, 3, c.interlaced, nullptr));
        const Bytes whole = file.Trailer().bytes();
        const auto wideWidth = static_cast<std::uint16_t>((c.width + 3) / 4 * 4);  // as wide as the padded rows
        ASSERT_EQ(
            CompareWithRules(GifBytes()
                                 .Header()
                                 .Screen(wideWidth, c.height, 0x82)
                                 .Table(table)
                                 .GraphicControl(0x01, 0, 6)
                                 .Image(0, 0, wideWidth, c.height)
                                 .ImageData(3, Encoded(wideWidth, c.height, Bytes(std::size_t{wideWidth} * c.height, 6),
                                                       3, false, nullptr))
                                 .Trailer()
                                 .bytes()),
            "");
        for (int cut = 16; cut >= 1; --cut) {
            const std::size_t n = cutFrame + (whole.size() - cutFrame) * static_cast<std::size_t>(cut) / 16;
            ASSERT_EQ(CompareWithRules(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n))), "")
                << c.width << " x " << c.height << (c.interlaced ? " interlaced" : "") << ", prefix of " << n
                << " of a " << whole.size() << "-byte file";
        }
    }
}

}  // namespace
}  // namespace korvane::imaging
