// GIF LZW decoding straight into a frame's 8-bit index surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/gif/FrameRecord.h"

namespace korvane::imaging::mGIFLZWDec {

// Builds the decoder's constant tables; every cGIF construction calls it.
void InitDecoderTables();

// Decodes one frame's image data (the sub-block payloads joined, without
// length bytes) into frame.DIBXOR, placing rows in interlaced order when
// asked. Damaged data ends decoding quietly, keeping the pixels written so
// far. Does nothing unless DIBXOR is an 8-bit surface. Throws
// std::overflow_error for a CodeSize above 30.
void DecodeToDIB(FrameRecord& frame, bool Interlaced, std::uint8_t CodeSize, std::span<const std::uint8_t> data);

// The same, reading the data straight from the sub-blocks of `stream` whose
// first size byte is at `first`: the payloads as the reader gathers them (a
// block cut off by the end of the stream is padded with zeros, a size byte of
// 0 or the end of the stream ends the data), never copied whole.
// frame.DIBXOR must read as zero wherever no pixel is written (as a surface
// just made does), unless SetsEveryByte holds for it. Returns how many pixels
// were written in the order rows are first visited (width x height once every
// row is complete).
std::int64_t DecodeToDIB(FrameRecord& frame, bool Interlaced, std::uint8_t CodeSize,
                         std::span<const std::uint8_t> stream, std::size_t first);

// True when the stream DecodeToDIB sets every byte of a frame of this size's
// 8-bit surface, row padding too, to a pixel or to zero, even when it throws:
// the surface may then be made without clearing it first.
bool SetsEveryByte(std::int32_t width, std::int32_t height, bool Interlaced);

}  // namespace korvane::imaging::mGIFLZWDec
