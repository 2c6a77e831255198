#include "imaging/gif/GifReader.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <stdexcept>
#include <unistd.h>

#include "imaging/gif/ProcessorFeatures.h"
#if KORVANE_X86_FEATURES
#include <immintrin.h>
#endif

#include "imaging/gif/FrameRendering.h"
#include "imaging/gif/mGIFLZWDec.h"
#include "platform/gdi/PixelBlocks.h"

namespace korvane::imaging {

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageIntroducer = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kApplicationLabel = 0xFF;

// Runs one lenient step: whatever it throws (a surface that cannot be made,
// a code size the decoder refuses) skips just that step.
template <class Step>
void Attempt(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

std::int32_t TableEntries(std::uint8_t packed)
{
    return 2 << GetBitField(packed, 0x07);
}

// A transparent frame's mask is packed from its image, which decoding sets
// every byte of: the mask is written whole, and its memory need not be
// cleared first.
bool MaskPackedWhole(const FrameRecord& frame)
{
    const cDIB& image = *frame.DIBXOR;
    return frame.UseTransparentColor && image.bpp() == 8 &&
           mGIFLZWDec::SetsEveryByte(image.Width(), image.Height(), frame.Interlaced);
}

// Pixel memory of an 8-bit and a 1-bit surface of that size; rows are padded
// to 32 bits.
std::int64_t SurfacePairBytes(std::int16_t width, std::int16_t height)
{
    if (width < 1 || height < 1) return 0;
    const std::int64_t rows8 = (std::int64_t{width} * 8 + 31) / 32 * 4;
    const std::int64_t rows1 = (std::int64_t{width} + 31) / 32 * 4;
    return (rows8 + rows1) * height;
}

#if KORVANE_X86_FEATURES
// Four entries a time, while sixteen bytes are there to load; returns how
// many entries it made.
__attribute__((target("ssse3"))) std::size_t EntriesFromRgbSsse3(const std::uint8_t* rgb, std::uint8_t* entries,
                                                                 std::size_t count)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, -128, 5, 4, 3, -128, 8, 7, 6, -128, 11, 10, 9, -128);
    std::size_t i = 0;
    for (; 3 * i + 16 <= 3 * count; i += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rgb + 3 * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(entries + 4 * i), _mm_shuffle_epi8(four, order));
    }
    return i;
}
#endif

// `count` colour table entries of red, green, blue as blue, green, red, 0.
void EntriesFromRgb(const std::uint8_t* rgb, std::uint8_t* entries, std::size_t count)
{
    std::size_t i = 0;
#if KORVANE_X86_FEATURES
    static const bool ssse3 = processor::HasSsse3();
    if (ssse3) i = EntriesFromRgbSsse3(rgb, entries, count);
#endif
    for (; i < count; ++i) {
        entries[4 * i] = rgb[3 * i + 2];
        entries[4 * i + 1] = rgb[3 * i + 1];
        entries[4 * i + 2] = rgb[3 * i];
        entries[4 * i + 3] = 0;
    }
}

}  // namespace

namespace {

std::atomic<std::int64_t> g_SurfaceBudgetCap{std::numeric_limits<std::int64_t>::max()};

}  // namespace

std::int64_t GifReader::DefaultSurfaceBudget()
{
    static const std::int64_t budget = [] {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageBytes = sysconf(_SC_PAGESIZE);
        if (pages <= 0 || pageBytes <= 0) return std::int64_t{1} << 30;  // unknown: a modest machine's share
        return std::int64_t{pages} * pageBytes / 4;
    }();
    return std::min(budget, g_SurfaceBudgetCap.load(std::memory_order_relaxed));
}

void GifReader::CapSurfaceBudget(std::int64_t bytes)
{
    g_SurfaceBudgetCap.store(bytes, std::memory_order_relaxed);
}

GifReader::GifReader(GifDocument& doc, std::span<const std::uint8_t> stream)
    : GifReader(doc, stream, DefaultSurfaceBudget())
{
}

GifReader::GifReader(GifDocument& doc, std::span<const std::uint8_t> stream, std::int64_t surfaceBudget)
    : m_Doc(doc), m_Stream(stream), m_SurfaceBudget(surfaceBudget)
{
}

bool GifReader::Read()
{
    if (!AcceptHeader()) return false;
    ReadLogicalScreen();
    ReadBlocks();
    m_Doc.FramesCount = m_nFrame;
    return true;
}

bool GifReader::AcceptHeader() const
{
    if (m_Stream.size() < 3) throw std::out_of_range("stream too short for the GIF signature");
    if (std::memcmp(m_Stream.data(), "GIF", 3) != 0) return false;
    if (m_Stream.size() < 6) throw std::out_of_range("stream too short for the GIF version");
    return std::memcmp(m_Stream.data() + 3, "87a", 3) == 0 || std::memcmp(m_Stream.data() + 3, "89a", 3) == 0;
}

std::int16_t GifReader::Int16At(std::int64_t at) const
{
    return static_cast<std::int16_t>(ByteAt(at) | (ByteAt(at + 1) << 8));
}

// Bytes cut off by the end of the stream count as zero.
void GifReader::ReadLogicalScreen()
{
    m_Pos = 6;
    LogicalScreenDescriptor& screen = m_Doc.LogicalScreen;
    screen.ScreenWidth = Int16At(m_Pos);
    screen.ScreenHeight = Int16At(m_Pos + 2);
    screen.PackedFields = ByteAt(m_Pos + 4);
    screen.ScreenBackgroundColorIndex = ByteAt(m_Pos + 5);
    screen.PixelAspect = ByteAt(m_Pos + 6);
    m_Pos = 13;
    m_Doc.GlobalPaletteExists = GetBitField(screen.PackedFields, 0x80) != 0;
    if (m_Doc.GlobalPaletteExists) {
        m_Doc.GlobalPaletteSorted = GetBitField(screen.PackedFields, 0x08) != 0;
        m_Doc.GlobalPaletteEntries = static_cast<std::int16_t>(TableEntries(screen.PackedFields));
        ReadColourTable(m_Doc.GlobalPalette, m_Doc.GlobalPaletteEntries);
    }
}

// Red, green, blue in the stream become blue, green, red, 0; entries cut off
// by the end of the stream keep what they held.
void GifReader::ReadColourTable(PaletteBytes& palette, std::int32_t entries)
{
    if (m_Pos >= 0 && InStream(m_Pos + 3 * std::int64_t{entries} - 1)) {
        // The whole table is there: no entry needs its bytes checked.
        EntriesFromRgb(m_Stream.data() + m_Pos, palette.data(), static_cast<std::size_t>(entries));
        m_Pos += 3 * std::int64_t{entries};
        return;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::max(entries, 0)); ++i) {
        const std::int64_t at = m_Pos + 3 * static_cast<std::int64_t>(i);
        if (InStream(at + 2)) palette[4 * i] = ByteAt(at + 2);
        if (InStream(at + 1)) palette[4 * i + 1] = ByteAt(at + 1);
        if (InStream(at)) palette[4 * i + 2] = ByteAt(at);
    }
    m_Pos += 3 * std::int64_t{entries};
}

// Each branch leaves m_Pos on the block's last byte (a terminator), so one
// step forward reaches the next introducer; unknown bytes are stepped over
// one at a time.
void GifReader::ReadBlocks()
{
    const auto end = static_cast<std::int64_t>(m_Stream.size());
    do {
        if (InStream(m_Pos)) {
            switch (m_Stream[static_cast<std::size_t>(m_Pos)]) {
                case kExtensionIntroducer:
                    ReadExtension();
                    break;
                case kImageIntroducer:
                    ReadImage();
                    break;
                case kTrailer:
                    return;
                default:
                    break;
            }
        }
        ++m_Pos;
    } while (m_Pos < end);
}

void GifReader::ReadExtension()
{
    ++m_Pos;
    if (!InStream(m_Pos)) return;
    switch (m_Stream[static_cast<std::size_t>(m_Pos)]) {
        case kGraphicControlLabel:
            ReadGraphicControl();
            break;
        case kApplicationLabel:
            ReadApplication();
            break;
        default:
            SkipSubBlocks();
            break;
    }
}

// Prepares the slot of the next image (or the spare slot after the last one).
// Past 32767 images there is no next slot and the block changes nothing.
void GifReader::ReadGraphicControl()
{
    ++m_Pos;
    const std::int64_t body = m_Pos;
    m_Pos += 5;
    if (m_nFrame == std::numeric_limits<std::int16_t>::max()) return;
    m_Doc.Frames.resize(static_cast<std::size_t>(m_nFrame) + 1);
    FrameRecord& slot = m_Doc.Frames[static_cast<std::size_t>(m_nFrame)];
    const std::uint8_t packed = ByteAt(body + 1);
    slot.Delay = Int16At(body + 2);
    slot.DisposalMethod = GetBitField(packed, 0x1C);
    slot.UserInput = GetBitField(packed, 0x02) != 0;
    slot.UseTransparentColor = GetBitField(packed, 0x01) != 0;
    if (slot.UseTransparentColor) slot.TransparentColorIndex = ByteAt(body + 4);
}

void GifReader::ReadApplication()
{
    static constexpr char kNetscape[] = "NETSCAPE2.0";
    ++m_Pos;
    std::array<char, 11> identifier{};
    for (std::size_t i = 0; i < identifier.size(); ++i)
        identifier[i] = static_cast<char>(ByteAt(m_Pos + 1 + i));
    m_Pos += 12;
    ReadSubBlocks();
    if (std::memcmp(identifier.data(), kNetscape, identifier.size()) != 0) return;
    // The loop count is the second and third byte of the first sub-block; a
    // shorter block or a count beyond 16 signed bits leaves it as it was.
    if (m_Data.size() < 3) return;
    const int loops = m_Data[1] | (m_Data[2] << 8);
    if (loops <= std::numeric_limits<std::int16_t>::max()) m_Doc.AnimationLoops = static_cast<std::int16_t>(loops);
}

void GifReader::ReadImage()
{
    ++m_Pos;
    FrameRecord& frame = PrepareImageSlot();
    const std::int64_t descriptor = m_Pos;
    m_Pos += 9;
    frame.Left = Int16At(descriptor);
    frame.Top = Int16At(descriptor + 2);
    const std::int16_t width = Int16At(descriptor + 4);
    const std::int16_t height = Int16At(descriptor + 6);
    const std::uint8_t packed = ByteAt(descriptor + 8);
    frame.Interlaced = GetBitField(packed, 0x40) != 0;
    frame.LocalPaletteUsed = GetBitField(packed, 0x80) != 0;
    ReadImagePalette(frame, packed);
    MakeSurfaces(frame, width, height);
    if (InStream(m_Pos)) m_CodeSize = m_Stream[static_cast<std::size_t>(m_Pos)];
    ++m_Pos;
    // The decoder reads the sub-blocks where they stand. Each size byte is
    // found from the one before, so the bytes a few blocks on are asked for
    // early: the walk would otherwise wait on memory at every block.
    const std::int64_t data = m_Pos;
    constexpr std::size_t kAhead = 2048;
    while (InStream(m_Pos) && m_Stream[static_cast<std::size_t>(m_Pos)] != 0) {
        const auto at = static_cast<std::size_t>(m_Pos);
        __builtin_prefetch(m_Stream.data() + std::min(at + kAhead, m_Stream.size() - 1));
        m_Pos += m_Stream[at] + 1;
    }
    Attempt([&] { DecodeFrame(frame, m_CodeSize, data); });
}

// The surfaces come with their colour tables: the frame's palette, with the
// transparent entry black, and the mask's black and white.
void GifReader::MakeSurfaces(FrameRecord& frame, std::int16_t width, std::int16_t height)
{
    frame.DIBXOR = std::make_shared<cDIB>();
    frame.DIBAND = std::make_shared<cDIB>();
    const std::int64_t bytes = SurfacePairBytes(width, height);
    if (bytes > m_SurfaceBudget) return;
    PaletteBytes blackened;  // NOLINT(cppcoreguidelines-pro-type-member-init): filled before use
    std::span<const std::uint8_t> palette = frame.LocalPalette;
    if (frame.UseTransparentColor) {
        blackened = frame.LocalPalette;
        const std::size_t t = 4 * static_cast<std::size_t>(frame.TransparentColorIndex & 0xFF);
        blackened[t] = blackened[t + 1] = blackened[t + 2] = 0;
        palette = blackened;
    }
    // Decoding follows at once, and sets every byte the data does not.
    const bool cleared = !mGIFLZWDec::SetsEveryByte(width, height, frame.Interlaced);
    Attempt([&] { frame.DIBXOR->Create(width, height, 8, cleared, palette); });
    Attempt([&] { frame.DIBAND->Create(width, height, 1, !MaskPackedWhole(frame), MaskPalette()); });
    m_SurfaceBudget -= std::int64_t{frame.DIBXOR->size()} + frame.DIBAND->size();
}

// Images beyond 32767 are read into slot 32767 again.
FrameRecord& GifReader::PrepareImageSlot()
{
    if (m_nFrame < std::numeric_limits<std::int16_t>::max()) ++m_nFrame;
    m_Doc.Frames.resize(static_cast<std::size_t>(m_nFrame));
    return m_Doc.Frames[static_cast<std::size_t>(m_nFrame) - 1];
}

// A frame without a table of its own is decoded and drawn with the global one.
void GifReader::ReadImagePalette(FrameRecord& frame, std::uint8_t packed)
{
    if (frame.LocalPaletteUsed) {
        frame.LocalPaletteSorted = GetBitField(packed, 0x20) != 0;
        frame.LocalPaletteEntries = static_cast<std::int16_t>(TableEntries(packed));
        ReadColourTable(frame.LocalPalette, frame.LocalPaletteEntries);
    } else {
        frame.LocalPaletteSorted = m_Doc.GlobalPaletteSorted;
        frame.LocalPaletteEntries = m_Doc.GlobalPaletteEntries;
        frame.LocalPalette = m_Doc.GlobalPalette;
    }
}

void GifReader::DecodeFrame(FrameRecord& frame, std::uint8_t CodeSize, std::int64_t data)
{
    const bool packedWhole = MaskPackedWhole(frame);
    std::int64_t written = 0;
    try {
        written = mGIFLZWDec::DecodeToDIB(frame, frame.Interlaced, CodeSize, m_Stream, static_cast<std::size_t>(data));
    } catch (...) {
        // The packing never comes: the mask reads clear, as the image does.
        if (packedWhole && frame.DIBAND->lpBits() != nullptr)
            gdi::ZeroPixels(frame.DIBAND->lpBits(), static_cast<std::size_t>(frame.DIBAND->size()));
        throw;
    }
    if (frame.UseTransparentColor) {
        BuildFrameMask(frame, static_cast<std::uint8_t>(frame.TransparentColorIndex),
                       FreshFrame{written, frame.Interlaced, !packedWhole});
    }
}

// Gathers the payloads of the sub-blocks starting at the size byte under
// m_Pos, leaving m_Pos on the terminating zero. A block cut off by the end of
// the stream is padded with zeros; a missing size byte or terminator ends the
// gathering with what was collected and m_Pos where it stopped.
void GifReader::ReadSubBlocks()
{
    m_Data.clear();
    while (InStream(m_Pos)) {
        const std::uint8_t size = m_Stream[static_cast<std::size_t>(m_Pos)];
        if (size == 0) return;
        const auto first = static_cast<std::size_t>(m_Pos) + 1;
        const std::size_t available = std::min<std::size_t>(size, m_Stream.size() - first);
        const auto from = m_Stream.begin() + static_cast<std::ptrdiff_t>(first);
        m_Data.insert(m_Data.end(), from, from + static_cast<std::ptrdiff_t>(available));
        m_Data.resize(m_Data.size() + static_cast<std::size_t>(size - available), 0);
        m_Pos += size + 1;
    }
}

void GifReader::SkipSubBlocks()
{
    ++m_Pos;
    while (InStream(m_Pos) && m_Stream[static_cast<std::size_t>(m_Pos)] != 0) {
        m_Pos += m_Stream[static_cast<std::size_t>(m_Pos)] + 1;
    }
}

}  // namespace korvane::imaging
