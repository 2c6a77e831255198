#include "tests/imaging/gif/LzwSupport.h"

#include <cstring>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include "tests/support/GiflibMemory.h"

namespace korvane::test_support {

imaging::FrameRecord MakeFrame(std::int32_t width, std::int32_t height, std::uint8_t fill)
{
    imaging::FrameRecord frame;
    frame.DIBXOR = std::make_shared<imaging::cDIB>();
    EXPECT_TRUE(frame.DIBXOR->Create(width, height, 8));
    std::memset(frame.DIBXOR->lpBits(), fill, static_cast<std::size_t>(frame.DIBXOR->size()));
    return frame;
}

Bytes SurfaceBytes(const imaging::FrameRecord& frame)
{
    const imaging::cDIB& dib = *frame.DIBXOR;
    return Bytes(dib.lpBits(), dib.lpBits() + dib.size());
}

Bytes Indices(const imaging::FrameRecord& frame)
{
    return ReadIndices(*frame.DIBXOR);
}

void SetIndices(imaging::FrameRecord& frame, const Bytes& indices)
{
    imaging::cDIB& dib = *frame.DIBXOR;
    ASSERT_EQ(indices.size(), static_cast<std::size_t>(dib.Width()) * static_cast<std::size_t>(dib.Height()));
    WriteIndices(dib, indices);
}

Bytes PackCodes(const std::vector<std::pair<std::uint32_t, int>>& codes)
{
    Bytes out;
    std::uint64_t buffer = 0;
    int count = 0;
    for (const auto& [code, width] : codes) {
        buffer |= static_cast<std::uint64_t>(code) << count;
        count += width;
        for (; count >= 8; count -= 8, buffer >>= 8)
            out.push_back(static_cast<std::uint8_t>(buffer));
    }
    if (count > 0) out.push_back(static_cast<std::uint8_t>(buffer));
    return out;
}

Bytes PackCodes(const std::vector<std::uint32_t>& codes, int width)
{
    std::vector<std::pair<std::uint32_t, int>> pairs;
    pairs.reserve(codes.size());
    for (std::uint32_t code : codes)
        pairs.emplace_back(code, width);
    return PackCodes(pairs);
}

Bytes JoinSubBlocks(const Bytes& blocks)
{
    Bytes out;
    std::size_t pos = 0;
    while (pos < blocks.size()) {
        const std::size_t size = blocks[pos];
        EXPECT_GT(size, 0u) << "empty sub-block at " << pos;
        EXPECT_LE(pos + 1 + size, blocks.size()) << "sub-block cut off at " << pos;
        if (size == 0 || pos + 1 + size > blocks.size()) break;
        out.insert(out.end(), blocks.begin() + static_cast<std::ptrdiff_t>(pos + 1),
                   blocks.begin() + static_cast<std::ptrdiff_t>(pos + 1 + size));
        pos += 1 + size;
    }
    return out;
}

namespace {

void PutLe16(Bytes& out, std::int32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

}  // namespace

Bytes GiflibDecode(std::int32_t width, std::int32_t height, std::uint8_t codeSize, bool interlaced,
                   const Bytes& subBlocks)
{
    Bytes file = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(file, width);
    PutLe16(file, height);
    file.insert(file.end(), {0xF7, 0, 0});
    file.insert(file.end(), 768, 0);
    file.push_back(0x2C);
    PutLe16(file, 0);
    PutLe16(file, 0);
    PutLe16(file, width);
    PutLe16(file, height);
    file.push_back(interlaced ? 0x40 : 0x00);
    file.push_back(codeSize);
    file.insert(file.end(), subBlocks.begin(), subBlocks.end());
    file.insert(file.end(), {0x00, 0x3B});

    korvane::test_support::GiflibMemoryInput input{file};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, korvane::test_support::GiflibReadMemory, &error);
    if (gif == nullptr) return {};
    Bytes out;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const auto* raster = gif->SavedImages[0].RasterBits;
        out.assign(raster, raster + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    }
    DGifCloseFile(gif, &error);
    return out;
}

Bytes GiflibEncode(std::int32_t width, std::int32_t height, int bits, const Bytes& indices, std::uint8_t& codeSize)
{
    Bytes file;
    int error = 0;
    GifFileType* gif = EGifOpen(&file, korvane::test_support::GiflibAppendMemory, &error);
    EXPECT_NE(gif, nullptr);
    if (gif == nullptr) return {};
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    EXPECT_EQ(EGifPutScreenDesc(gif, width, height, bits, 0, map), GIF_OK);
    EXPECT_EQ(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr), GIF_OK);
    Bytes row(static_cast<std::size_t>(width));
    for (std::int32_t y = 0; y < height; ++y) {
        std::memcpy(row.data(), indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                    row.size());
        EXPECT_EQ(EGifPutLine(gif, row.data(), width), GIF_OK);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    // Header, screen, global table, image descriptor, then the code size.
    const std::size_t codeSizeAt = 13 + 3 * (std::size_t{1} << bits) + 10;
    EXPECT_GT(file.size(), codeSizeAt);
    if (file.size() <= codeSizeAt) return {};
    codeSize = file[codeSizeAt];
    Bytes blocks(file.begin() + static_cast<std::ptrdiff_t>(codeSizeAt + 1), file.end() - 2);  // terminator, trailer
    return JoinSubBlocks(blocks);
}

}  // namespace korvane::test_support
