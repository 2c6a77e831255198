// Fills a GIF document from a GIF87a/GIF89a stream: strict about the 6-byte
// header, lenient afterwards. Once the header is accepted every block is read
// as far as the stream allows; a step that cannot complete is skipped and the
// walk goes on, so damaged files load as much as they hold.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/gif/GifDocument.h"

namespace korvane::imaging {

class GifReader {
public:
    // The surface memory one load may reserve, all frames together: a quarter
    // of the machine's physical memory. Each surface is limited on its own,
    // but a few hundred bytes of stream can declare many frames of the
    // largest size; past this budget a frame's surfaces are not made, as when
    // a surface cannot be made. Pages no pixel is written to cost address
    // space only, so the budget can be generous.
    static std::int64_t DefaultSurfaceBudget();
    // Lowers the default budget for every later load of the process, as a
    // fuzzer does to keep each input cheap.
    static void CapSurfaceBudget(std::int64_t bytes);

    // `doc` must be freshly reset; it is filled in place.
    GifReader(GifDocument& doc, std::span<const std::uint8_t> stream);
    GifReader(GifDocument& doc, std::span<const std::uint8_t> stream, std::int64_t surfaceBudget);

    // False when the header is not "GIF87a" or "GIF89a". A stream too short to
    // hold the signature or the version throws std::out_of_range.
    bool Read();

private:
    bool AcceptHeader() const;
    void ReadLogicalScreen();
    void ReadColourTable(PaletteBytes& palette, std::int32_t entries);
    void ReadBlocks();
    void ReadExtension();
    void ReadGraphicControl();
    void ReadApplication();
    void ReadImage();
    FrameRecord& PrepareImageSlot();
    void ReadImagePalette(FrameRecord& frame, std::uint8_t packed);
    void MakeSurfaces(FrameRecord& frame, std::int16_t width, std::int16_t height);
    // `data` is the position of the frame's first sub-block size byte.
    void DecodeFrame(FrameRecord& frame, std::uint8_t CodeSize, std::int64_t data);
    void ReadSubBlocks();
    void SkipSubBlocks();

    bool InStream(std::int64_t at) const { return at >= 0 && at < static_cast<std::int64_t>(m_Stream.size()); }
    std::uint8_t ByteAt(std::int64_t at) const { return InStream(at) ? m_Stream[static_cast<std::size_t>(at)] : 0; }
    std::int16_t Int16At(std::int64_t at) const;

    GifDocument& m_Doc;
    std::span<const std::uint8_t> m_Stream;
    std::int64_t m_Pos = 0;
    std::int16_t m_nFrame = 0;
    std::uint8_t m_CodeSize = 0;
    std::int64_t m_SurfaceBudget;
    // The gathered sub-block payloads of the extension being read.
    std::vector<std::uint8_t> m_Data;
};

// The bits of `value` selected by `mask`, shifted down to bit 0.
constexpr std::uint8_t GetBitField(std::uint8_t value, std::uint8_t mask)
{
    if (mask < 1) return 0;
    unsigned v = value & mask;
    for (unsigned m = mask; (m & 1U) == 0; m >>= 1)
        v >>= 1;
    return static_cast<std::uint8_t>(v);
}

}  // namespace korvane::imaging
