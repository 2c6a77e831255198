#include "imaging/gif/FrameRendering.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "imaging/gif/MaskRow.h"
#include "platform/gdi/CheckedNumbers.h"
#include "platform/gdi/PixelBlocks.h"

namespace korvane::imaging {

namespace {

void RequireSurfaces(const FrameRecord& frame)
{
    if (!frame.DIBXOR || !frame.DIBAND) throw std::logic_error("frame has no surfaces");
}

// The visible extent along one axis: cropped at the screen edge when asked,
// never below 0. Evaluated in 16 bits as the document's fields are.
std::int16_t VisibleExtent(std::int32_t surfaceExtent, std::int16_t framePos, std::int16_t screenExtent, bool crop)
{
    std::int16_t extent = gdi::CheckedInt16(surfaceExtent);
    if (crop && gdi::CheckedInt16(std::int32_t{framePos} + extent) > screenExtent) {
        extent = gdi::CheckedInt16(std::int32_t{screenExtent} - framePos);
    }
    return extent < 0 ? std::int16_t{0} : extent;
}

void BlackenEntry(PaletteBytes& palette, std::uint8_t entry)
{
    const std::size_t at = std::size_t{4} * entry;
    palette[at] = 0;
    palette[at + 1] = 0;
    palette[at + 2] = 0;
}

// The position of row y among the rows in the order decoding visits them.
std::int64_t VisitIndex(std::int32_t y, std::int32_t height, bool interlaced)
{
    if (!interlaced) return y;
    const std::int64_t pass0 = (height + 7) / 8;
    const std::int64_t pass1 = (height + 3) / 8;
    const std::int64_t pass2 = (height + 1) / 4;
    if (y % 8 == 0) return y / 8;
    if (y % 8 == 4) return pass0 + y / 8;
    if (y % 4 == 2) return pass0 + pass1 + y / 4;
    return pass0 + pass1 + pass2 + y / 2;
}

// The mask row of an image row that is all index 0, on a row reading as zero.
void ZeroIndexMaskRow(std::uint8_t* mask, std::int32_t width, std::uint8_t t)
{
    if (t != 0) return;  // all bits 0, as the row already reads
    std::memset(mask, 0xFF, static_cast<std::size_t>(width / 8));
    if (width % 8 != 0) mask[width / 8] = static_cast<std::uint8_t>(0xFF << (8 - width % 8));
}

// An 8-bit image and a 1-bit mask of one size, whose mask bits are one
// comparison a pixel on memory.
bool IsPlainPair(const FrameRecord& frame)
{
    const cDIB& image = *frame.DIBXOR;
    const cDIB& mask = *frame.DIBAND;
    return image.bpp() == 8 && mask.bpp() == 1 && image.Width() == mask.Width() && image.Height() == mask.Height();
}

// The mask bits of a plain pair.
void PackMask(FrameRecord& frame, std::uint8_t t, const FreshFrame* fresh)
{
    cDIB& image = *frame.DIBXOR;
    cDIB& mask = *frame.DIBAND;
    const std::int32_t height = image.Height();
    const std::int64_t width = image.Width();
    const std::int64_t rowsWritten = fresh ? (fresh->Pixels + width - 1) / width : height;
    const auto maskRow = [&](std::int32_t y) { return mask.lpBits() + std::ptrdiff_t{y} * mask.BytesPerScanline(); };
    const auto rows = [&](std::int32_t y, std::int32_t count) {
        const std::ptrdiff_t at = std::ptrdiff_t{y} * image.BytesPerScanline();
        return MaskRows{
            image.lpBits() + at, image.BytesPerScanline(), maskRow(y), mask.BytesPerScanline(), image.Width(), count,
            image.size() - at};
    };
    const bool clear = fresh && !fresh->MaskCleared;
    const auto zeroIndexRow = [&](std::int32_t y) { ZeroIndexMaskRow(maskRow(y), image.Width(), t); };
    if (fresh && fresh->Interlaced) {
        for (std::int32_t y = 0; y < height; ++y) {
            if (VisitIndex(y, height, true) >= rowsWritten) {
                if (clear) std::memset(maskRow(y), 0, static_cast<std::size_t>(mask.BytesPerScanline()));
                zeroIndexRow(y);
            } else {
                PackMaskRows(rows(y, 1), t);
            }
        }
        return;
    }
    // Rows visited in memory order: those written come first.
    const auto written = static_cast<std::int32_t>(std::min<std::int64_t>(rowsWritten, height));
    PackMaskRows(rows(0, written), t);
    if (clear) {
        gdi::ZeroPixels(maskRow(written),
                        static_cast<std::size_t>(height - written) * static_cast<std::size_t>(mask.BytesPerScanline()));
    }
    for (std::int32_t y = written; y < height; ++y)
        zeroIndexRow(y);
}

// The 8-bit image seen through a colour table that is white at t and black
// elsewhere, copied into the 1-bit mask. Surfaces of other depths or sizes
// take the platform's copy.
void WriteMaskBits(FrameRecord& frame, std::uint8_t t, const PaletteBytes& imagePalette, const FreshFrame* fresh)
{
    if (IsPlainPair(frame)) {
        PackMask(frame, t, fresh);
        return;
    }
    cDIB& image = *frame.DIBXOR;
    cDIB& mask = *frame.DIBAND;
    PaletteBytes whiteAtT{};
    const std::size_t at = std::size_t{4} * t;
    whiteAtT[at] = whiteAtT[at + 1] = whiteAtT[at + 2] = 255;
    image.SetPaletteBytes(whiteAtT);
    mask.LoadBlt(image.hDC());
    image.SetPaletteBytes(imagePalette);
}

// The mask's SRCAND and the image's SRCPAINT as one transfer, so the
// destination is read and written once. Only for two surfaces of one size:
// a source size below 1 then stands for the same size in both stretches.
// False when the two stretches must run as they are.
bool DrawMaskedInOnePass(const FrameRecord& frame, gdi::HDC hDC, const FrameDrawRects& r)
{
    const cDIB& mask = *frame.DIBAND;
    const cDIB& image = *frame.DIBXOR;
    if (!mask.hDIB() || !image.hDIB() || mask.Width() != image.Width() || mask.Height() != image.Height()) return false;
    const std::int32_t srcWidth = r.srcWidth < 1 ? image.Width() : r.srcWidth;
    const std::int32_t srcHeight = r.srcHeight < 1 ? image.Height() : r.srcHeight;
    const int previousMode = gdi::GetStretchBltMode(hDC);
    gdi::SetStretchBltMode(hDC, gdi::COLORONCOLOR);
    gdi::MaskedStretchBlt(hDC, r.x, r.y, r.width, r.height, mask.hDC(), image.hDC(), 0, 0, srcWidth, srcHeight);
    if (previousMode != 0) gdi::SetStretchBltMode(hDC, previousMode);
    return true;
}

}  // namespace

const std::vector<std::uint8_t>& MaskPalette()
{
    static const std::vector<std::uint8_t> palette{0, 0, 0, 0, 255, 255, 255, 0};
    return palette;
}

FrameDrawRects ComputeFrameDrawRects(const FrameRecord& frame, const LogicalScreenDescriptor& screen, std::int16_t Left,
                                     std::int16_t Top, float ScaleFactor, bool ScreenCrop)
{
    RequireSurfaces(frame);
    FrameDrawRects r;
    r.srcWidth = VisibleExtent(frame.DIBXOR->Width(), frame.Left, screen.ScreenWidth, ScreenCrop);
    r.srcHeight = VisibleExtent(frame.DIBXOR->Height(), frame.Top, screen.ScreenHeight, ScreenCrop);
    // Products and sums in double, rounded once, as the single-precision
    // operands widen exactly.
    const double scale = ScaleFactor;
    r.x = gdi::RoundToInt32(double{static_cast<float>(Left)} + scale * static_cast<float>(frame.Left));
    r.y = gdi::RoundToInt32(double{static_cast<float>(Top)} + scale * static_cast<float>(frame.Top));
    r.width = gdi::RoundToInt32(scale * static_cast<float>(r.srcWidth));
    r.height = gdi::RoundToInt32(scale * static_cast<float>(r.srcHeight));
    return r;
}

void DrawFrame(const FrameRecord& frame, const LogicalScreenDescriptor& screen, gdi::HDC hDC, std::int16_t Left,
               std::int16_t Top, float ScaleFactor, bool ScreenCrop)
{
    const FrameDrawRects r = ComputeFrameDrawRects(frame, screen, Left, Top, ScaleFactor, ScreenCrop);
    if (frame.UseTransparentColor) {
        if (DrawMaskedInOnePass(frame, hDC, r)) return;
        frame.DIBAND->Stretch(hDC, r.x, r.y, r.width, r.height, 0, 0, r.srcWidth, r.srcHeight, gdi::SRCAND,
                              gdi::COLORONCOLOR);
        frame.DIBXOR->Stretch(hDC, r.x, r.y, r.width, r.height, 0, 0, r.srcWidth, r.srcHeight, gdi::SRCPAINT,
                              gdi::COLORONCOLOR);
    } else {
        frame.DIBXOR->Stretch(hDC, r.x, r.y, r.width, r.height, 0, 0, r.srcWidth, r.srcHeight, gdi::SRCCOPY,
                              gdi::COLORONCOLOR);
    }
}

namespace {

void BuildMask(FrameRecord& frame, std::uint8_t TransparentColorIndex, const FreshFrame* fresh)
{
    RequireSurfaces(frame);
    // A fresh frame's image was given its palette, black at the transparent
    // index, before decoding.
    if (fresh != nullptr && frame.UseTransparentColor && IsPlainPair(frame)) {
        PackMask(frame, TransparentColorIndex, fresh);
        return;
    }
    PaletteBytes imagePalette = frame.LocalPalette;
    if (frame.UseTransparentColor) {
        BlackenEntry(imagePalette, TransparentColorIndex);
        WriteMaskBits(frame, TransparentColorIndex, imagePalette, fresh);
        if (fresh != nullptr && frame.DIBXOR->bpp() == 8 && frame.DIBAND->bpp() == 1) return;
    } else {
        frame.DIBAND->Cls(0);
    }
    frame.DIBXOR->SetPaletteBytes(imagePalette);
}

}  // namespace

void BuildFrameMask(FrameRecord& frame, std::uint8_t TransparentColorIndex)
{
    BuildMask(frame, TransparentColorIndex, nullptr);
}

void BuildFrameMask(FrameRecord& frame, std::uint8_t TransparentColorIndex, const FreshFrame& fresh)
{
    BuildMask(frame, TransparentColorIndex, &fresh);
}

}  // namespace korvane::imaging
