#include "imaging/gif/GifWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "imaging/gif/mGIFLZWEnc.h"
#include "platform/gdi/CheckedNumbers.h"

namespace korvane::imaging {

namespace {

constexpr std::uint8_t kLoopExtension[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S',  'C',
                                           'A',  'P',  'E',  '2', '.', '0', 0x03, 0x01};

// A frame whose surfaces could not be made when it was loaded has no pixels
// to write; writing it as an empty image would lose them without a word.
const cDIB& ImageSurface(const FrameRecord& frame, int nFrame)
{
    if (!frame.DIBXOR || !frame.DIBXOR->lpBits())
        throw FrameWithoutPixels("frame " + std::to_string(nFrame) + " has no pixels");
    return *frame.DIBXOR;
}

// A stream whose pixels reach past the code size decodes as garbage, so such
// a frame is refused rather than written.
void RequireIndicesBelow(const cDIB& image, unsigned limit)
{
    if (limit > 255 || image.bpp() != 8) return;
    // limit is a power of two: every index lies below it exactly when their OR does.
    std::uint8_t all = 0;
    for (std::int32_t y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = image.lpBits() + static_cast<std::ptrdiff_t>(y) * image.BytesPerScanline();
        for (std::int32_t x = 0; x < image.Width(); ++x)
            all |= row[x];
    }
    if (all >= limit) throw std::domain_error("pixel index beyond the frame's code size");
}

// 2^exponent entries of red, green, blue; those past `entries` stay black.
std::vector<std::uint8_t> ColourTable(const PaletteBytes& palette, std::int16_t entries, std::uint8_t exponent)
{
    if (entries > 256) throw std::out_of_range("colour table larger than the palette");
    std::vector<std::uint8_t> table(3 * (std::size_t{1} << exponent), 0);
    const std::size_t count = entries > 0 ? static_cast<std::size_t>(entries) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        table[3 * i] = palette[4 * i + 2];
        table[3 * i + 1] = palette[4 * i + 1];
        table[3 * i + 2] = palette[4 * i];
    }
    return table;
}

// Room for the usual worst case of LZW output, so the stream is built in one
// buffer without regrowth; pages never written cost nothing.
std::size_t EstimatedSize(const GifDocument& doc)
{
    std::size_t bytes = 2048;
    for (int f = 0; f < doc.FramesCount && static_cast<std::size_t>(f) < doc.Frames.size(); ++f) {
        const auto& image = doc.Frames[static_cast<std::size_t>(f)].DIBXOR;
        bytes += 1024;
        if (image)
            bytes += static_cast<std::size_t>(image->Width()) * static_cast<std::size_t>(image->Height()) * 3 / 2;
    }
    return bytes;
}

}  // namespace

std::uint8_t TableExponent(std::int16_t entries)
{
    std::uint8_t n = 1;
    while ((1 << n) < entries)
        ++n;
    return n;
}

GifWriter::GifWriter(GifDocument& doc) : m_Doc(doc) {}

std::vector<std::uint8_t> GifWriter::Write()
{
    m_Out.clear();
    m_Out.reserve(EstimatedSize(m_Doc));
    WriteHeader();
    const std::uint8_t globalExponent = m_Doc.GlobalPaletteExists ? TableExponent(m_Doc.GlobalPaletteEntries) : 0;
    // The table is built before the packed byte goes into the document, so a
    // table that cannot be built leaves the document as it was.
    std::vector<std::uint8_t> globalTable;
    if (m_Doc.GlobalPaletteExists)
        globalTable = ColourTable(m_Doc.GlobalPalette, m_Doc.GlobalPaletteEntries, globalExponent);
    WriteLogicalScreen(globalExponent);
    m_Out.insert(m_Out.end(), globalTable.begin(), globalTable.end());
    if (m_Doc.FramesCount > 0) WriteLoopExtension();
    // Counted in int: a 16-bit counter would wrap after frame 32767.
    for (int f = 1; f <= m_Doc.FramesCount; ++f) {
        WriteFrame(m_Doc.Frames.at(static_cast<std::size_t>(f) - 1), f, globalExponent);
    }
    m_Out.push_back(0x3B);
    return std::move(m_Out);
}

// A document without frames is written as GIF87a unless its first slot asks
// for transparency.
void GifWriter::WriteHeader()
{
    bool modern = m_Doc.FramesCount > 0;
    if (!modern) modern = m_Doc.Frames.at(0).UseTransparentColor;
    PutText("GIF");
    PutText(modern ? "89a" : "87a");
}

// The colour resolution and the size field both carry N - 1.
void GifWriter::WriteLogicalScreen(std::uint8_t globalExponent)
{
    std::uint8_t packed = 0;
    if (m_Doc.GlobalPaletteExists) {
        const auto field = static_cast<std::uint8_t>(globalExponent - 1);
        packed = static_cast<std::uint8_t>(0x80 | (field << 4) | (m_Doc.GlobalPaletteSorted ? 0x08 : 0) | field);
    }
    LogicalScreenDescriptor& screen = m_Doc.LogicalScreen;
    screen.PackedFields = packed;
    Put16(screen.ScreenWidth);
    Put16(screen.ScreenHeight);
    m_Out.push_back(screen.PackedFields);
    m_Out.push_back(screen.ScreenBackgroundColorIndex);
    m_Out.push_back(screen.PixelAspect);
}

// Written for every document with frames, a loop count of 0 included.
void GifWriter::WriteLoopExtension()
{
    m_Out.insert(m_Out.end(), std::begin(kLoopExtension), std::end(kLoopExtension));
    Put16(m_Doc.AnimationLoops);
    m_Out.push_back(0x00);
}

void GifWriter::WriteFrame(const FrameRecord& frame, int nFrame, std::uint8_t globalExponent)
{
    const cDIB& image = ImageSurface(frame, nFrame);
    const std::uint8_t localExponent = frame.LocalPaletteUsed ? TableExponent(frame.LocalPaletteEntries) : 0;
    const std::uint8_t exponent = frame.LocalPaletteUsed ? localExponent : globalExponent;
    if (exponent == 0) throw std::overflow_error("frame has no colour table to refer to");
    const std::uint8_t codeSize = std::max<std::uint8_t>(exponent, 2);
    RequireIndicesBelow(image, 1U << codeSize);

    WriteGraphicControl(frame);
    m_Out.push_back(0x2C);
    Put16(frame.Left);
    Put16(frame.Top);
    Put16(gdi::CheckedInt16(image.Width()));
    Put16(gdi::CheckedInt16(image.Height()));
    m_Out.push_back(static_cast<std::uint8_t>((exponent - 1) | (frame.LocalPaletteSorted ? 0x20 : 0) |
                                              (frame.Interlaced ? 0x40 : 0) | (frame.LocalPaletteUsed ? 0x80 : 0)));
    if (frame.LocalPaletteUsed) {
        const std::vector<std::uint8_t> table =
            ColourTable(frame.LocalPalette, frame.LocalPaletteEntries, localExponent);
        m_Out.insert(m_Out.end(), table.begin(), table.end());
    }
    m_Out.push_back(codeSize);
    mGIFLZWEnc::EncodeFromDIB(m_Out, frame, static_cast<std::uint8_t>(codeSize + 1), frame.Interlaced);
    m_Out.push_back(0x00);
}

// The disposal method is shifted unmasked, so it must stay below 64.
void GifWriter::WriteGraphicControl(const FrameRecord& frame)
{
    if (frame.DisposalMethod >= 64) throw std::overflow_error("disposal method does not fit the packed byte");
    const auto packed = static_cast<std::uint8_t>((frame.DisposalMethod << 2) | (frame.UserInput ? 0x02 : 0) |
                                                  (frame.UseTransparentColor ? 0x01 : 0));
    const std::uint8_t header[] = {0x21, 0xF9, 0x04, packed};
    m_Out.insert(m_Out.end(), std::begin(header), std::end(header));
    Put16(frame.Delay);
    m_Out.push_back(frame.UseTransparentColor ? static_cast<std::uint8_t>(frame.TransparentColorIndex) : 0);
    m_Out.push_back(0x00);
}

void GifWriter::Put16(std::int32_t value)
{
    const auto bits = static_cast<std::uint16_t>(value);
    m_Out.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    m_Out.push_back(static_cast<std::uint8_t>(bits >> 8));
}

void GifWriter::PutText(const char* text)
{
    m_Out.insert(m_Out.end(), text, text + std::strlen(text));
}

}  // namespace korvane::imaging
