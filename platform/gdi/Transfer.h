// The pixel work behind BitBlt, StretchBlt and the fills: clip first, then
// pick one row routine for the depth pair and raster operation, so nothing is
// decided per pixel.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/gdi/Surface.h"

namespace korvane::gdi {

enum class RasterOp { Copy, And, Or };

// SRCCOPY, SRCAND or SRCPAINT; nothing for operations the platform lacks.
std::optional<RasterOp> RasterOpFromCode(std::uint32_t rop);

// A rectangle by origin and extent; extents may be negative (see MapAxis).
struct Placement {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// Draws the source rectangle onto the destination rectangle, nearest pixel.
// Source pixels are converted to the destination's pixel values (through the
// source's colour table when it has one, matched to the destination's table
// when that has one), then combined with the destination bit by bit. The
// tables are the callers' snapshots. `dst` and `src` may be one surface.
void Transfer(Surface& dst, const ColourTable& dstColours, const Surface& src, const ColourTable& srcColours,
              const Placement& to, const Placement& from, RasterOp op);

// A transparent draw: `mask` with And, then `image` with Or, over the same
// rectangles. Exactly the two Transfers; a 1-bit mask and an 8-bit image of
// one size onto a third, 32-bit surface take both in one pass, so each
// destination pixel is read and written once.
void TransferMasked(Surface& dst, const ColourTable& dstColours, const Surface& mask, const ColourTable& maskColours,
                    const Surface& image, const ColourTable& imageColours, const Placement& to, const Placement& from);

// Stores `value` (a pixel value of dst's depth) in every pixel of the
// rectangle that lies on the surface.
void Fill(Surface& dst, const RECT& rect, std::uint32_t value);

}  // namespace korvane::gdi
