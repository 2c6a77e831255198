// Encode then decode: the fuzzer's bytes choose a frame (size, code size,
// interlacing, indices), the encoder writes it and the decoder must give back
// every index. The tail of the input is also decoded as raw, possibly damaged
// LZW data, which must stay inside the surface.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "imaging/gif/mGIFLZWDec.h"
#include "imaging/gif/mGIFLZWEnc.h"

using korvane::imaging::cDIB;
using korvane::imaging::FrameRecord;

namespace {

FrameRecord MakeFrame(std::int32_t width, std::int32_t height)
{
    FrameRecord frame;
    frame.DIBXOR = std::make_shared<cDIB>();
    if (!frame.DIBXOR->Create(width, height, 8)) std::abort();
    return frame;
}

std::vector<std::uint8_t> Joined(const std::vector<std::uint8_t>& blocks)
{
    std::vector<std::uint8_t> out;
    for (std::size_t pos = 0; pos < blocks.size(); pos += 1 + blocks[pos]) {
        if (blocks[pos] == 0 || pos + 1 + blocks[pos] > blocks.size()) std::abort();
        out.insert(out.end(), blocks.begin() + static_cast<std::ptrdiff_t>(pos + 1),
                   blocks.begin() + static_cast<std::ptrdiff_t>(pos + 1 + blocks[pos]));
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) return 0;
    const std::int32_t width = 1 + data[0] % 64 + (data[1] & 0x80 ? 300 : 0);
    const std::int32_t height = 1 + data[1] % 48;
    const int bits = 1 + data[2] % 8;
    const bool interlaced = (data[2] & 0x80) != 0;
    const bool flat = (data[3] & 0x01) != 0;
    const std::uint8_t codeSize = static_cast<std::uint8_t>(bits < 2 ? 2 : bits);
    const std::span<const std::uint8_t> rest(data + 4, size - 4);

    FrameRecord source = MakeFrame(width, height);
    cDIB& dib = *source.DIBXOR;
    // Plain pointers and counts: this loop runs at every pixel, unoptimised,
    // under the sanitizers.
    const std::uint8_t* const values = rest.data();
    const std::size_t count = rest.size();
    const std::uint8_t mask = static_cast<std::uint8_t>((1u << bits) - 1);
    std::uint8_t* const bits0 = dib.lpBits();
    const std::ptrdiff_t stride = dib.BytesPerScanline();
    std::size_t k = 0;
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* const row = bits0 + y * stride;
        for (std::int32_t x = 0; x < width; ++x, ++k)
            row[x] = count == 0 ? 0 : static_cast<std::uint8_t>(values[flat ? k / 97 % count : k % count] & mask);
    }
    std::vector<std::uint8_t> blocks;
    korvane::imaging::mGIFLZWEnc::EncodeFromDIB(blocks, source, static_cast<std::uint8_t>(codeSize + 1), interlaced);
    FrameRecord decoded = MakeFrame(width, height);
    korvane::imaging::mGIFLZWDec::DecodeToDIB(decoded, interlaced, codeSize, Joined(blocks));
    for (std::int32_t y = 0; y < height; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * static_cast<std::size_t>(dib.BytesPerScanline());
        if (std::memcmp(dib.lpBits() + offset, decoded.DIBXOR->lpBits() + offset, static_cast<std::size_t>(width)) != 0)
            std::abort();
    }

    FrameRecord damaged = MakeFrame(width, height);
    korvane::imaging::mGIFLZWDec::DecodeToDIB(damaged, interlaced, static_cast<std::uint8_t>((data[3] >> 3) % 31),
                                              rest);
    return 0;
}
