// Preparing a frame's two surfaces for transparent drawing (the mask white
// exactly where the frame is transparent, the image black there) and drawing
// a frame at a position and scale with two raster passes.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/gif/FrameRecord.h"
#include "imaging/gif/GifDocument.h"
#include "platform/gdi/gdi.h"

namespace korvane::imaging {

// The two-entry colour table of every mask: entry 0 black, entry 1 white.
const std::vector<std::uint8_t>& MaskPalette();

// Where a frame lands: the destination rectangle on the target context and
// the visible size taken from the frame's top-left corner.
struct FrameDrawRects {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int16_t srcWidth = 0;
    std::int16_t srcHeight = 0;
    friend bool operator==(const FrameDrawRects&, const FrameDrawRects&) = default;
};

// Throws std::logic_error for a frame without surfaces and
// std::overflow_error when a size or position does not fit.
FrameDrawRects ComputeFrameDrawRects(const FrameRecord& frame, const LogicalScreenDescriptor& screen, std::int16_t Left,
                                     std::int16_t Top, float ScaleFactor, bool ScreenCrop);

// Mask with AND then image with OR for a transparent frame, one plain copy
// otherwise. Nothing is drawn when it throws.
void DrawFrame(const FrameRecord& frame, const LogicalScreenDescriptor& screen, gdi::HDC hDC, std::int16_t Left,
               std::int16_t Top, float ScaleFactor, bool ScreenCrop);

// Sets the mask bits (1 where the index is TransparentColorIndex, when the
// frame uses transparency, else all 0) and the image's colour table (the
// frame's palette with that entry black). Throws std::logic_error for a frame
// without surfaces.
void BuildFrameMask(FrameRecord& frame, std::uint8_t TransparentColorIndex);

// What decoding wrote into a frame whose surfaces were just made: its first
// `Pixels` pixels in the order it visits them (rows top to bottom, or by the
// interlace passes); everything else of the image still reads as zero, and
// of the mask too when `MaskCleared`. An uncleared mask is written whole.
struct FreshFrame {
    std::int64_t Pixels = 0;
    bool Interlaced = false;
    bool MaskCleared = true;
};
// BuildFrameMask for such a frame: rows no pixel was written to are not read.
// Their mask rows, when cleared, are not written unless they hold the
// transparent index; when not, they are cleared (in row order, their whole
// pages given back to the system). So memory the data never reached costs
// nothing.
void BuildFrameMask(FrameRecord& frame, std::uint8_t TransparentColorIndex, const FreshFrame& fresh);

}  // namespace korvane::imaging
