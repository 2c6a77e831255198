// GIF LZW encoding of a frame's 8-bit index surface into data sub-blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/gif/FrameRecord.h"

namespace korvane::imaging::mGIFLZWEnc {

// Builds the encoder's constant tables; every cGIF construction calls it.
void InitEncoderTables();

// Appends frame.DIBXOR's indices as LZW data sub-blocks (254 data bytes each
// but the last) to `out`; the caller writes the code size byte before and the
// terminating 0 after. Writes nothing unless DIBXOR is an 8-bit surface.
void EncodeFromDIB(std::vector<std::uint8_t>& out, const FrameRecord& frame, std::uint8_t InitBits, bool Interlaced);

}  // namespace korvane::imaging::mGIFLZWEnc
