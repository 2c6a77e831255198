// Surfaces, code streams and a giflib container for the LZW tests.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "imaging/gif/FrameRecord.h"
#include "tests/support/GifTestSupport.h"

namespace korvane::test_support {

// A frame whose DIBXOR is an 8-bit surface of the given size, every byte of
// its memory (padding included) set to `fill`.
imaging::FrameRecord MakeFrame(std::int32_t width, std::int32_t height, std::uint8_t fill = 0);
// The surface memory as it stands, padding included.
Bytes SurfaceBytes(const imaging::FrameRecord& frame);
// Indices row by row, Width bytes a row (ReadIndices and WriteIndices of
// the frame's surface; the second fails the test on a size mismatch).
Bytes Indices(const imaging::FrameRecord& frame);
void SetIndices(imaging::FrameRecord& frame, const Bytes& indices);

// Packs (code, width) pairs lowest bit first, the last byte zero-padded.
Bytes PackCodes(const std::vector<std::pair<std::uint32_t, int>>& codes);
// Codes of one width.
Bytes PackCodes(const std::vector<std::uint32_t>& codes, int width);

// The sub-block payloads joined, without their length bytes; fails the
// test when the blocks are malformed.
Bytes JoinSubBlocks(const Bytes& blocks);

// Decodes LZW data (sub-blocks, already split) with giflib through a
// one-frame GIF built in memory; empty when giflib rejects it.
Bytes GiflibDecode(std::int32_t width, std::int32_t height, std::uint8_t codeSize, bool interlaced,
                   const Bytes& subBlocks);
// giflib's own encoding of the indices (EGifPutLine), as joined payloads, and
// the minimum code size it chose for a palette of 2^bits entries.
Bytes GiflibEncode(std::int32_t width, std::int32_t height, int bits, const Bytes& indices, std::uint8_t& codeSize);

}  // namespace korvane::test_support
