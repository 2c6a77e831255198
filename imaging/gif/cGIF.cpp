#include "imaging/gif/cGIF.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <stdexcept>

#include "imaging/gif/FrameRendering.h"
#include "imaging/gif/GifReader.h"
#include "imaging/gif/GifWriter.h"
#include "imaging/gif/mGIFLZWDec.h"
#include "imaging/gif/mGIFLZWEnc.h"
#include "platform/files/FileReading.h"
#include "platform/files/FileWriting.h"
#include "platform/gdi/CheckedNumbers.h"

namespace korvane::imaging {

namespace {

gdi::OLE_COLOR RGBEntry(const PaletteBytes& palette, std::uint8_t nEntry)
{
    const std::size_t at = 4 * static_cast<std::size_t>(nEntry);
    return gdi::RGB(palette[at + 2], palette[at + 1], palette[at]);
}

// An empty frame's surface pair: indices all 0, mask all 0 with its
// black-and-white table. Sizes the surfaces cannot take leave them empty.
void GiveEmptySurfaces(FrameRecord& slot, std::int16_t Width, std::int16_t Height)
{
    slot.DIBXOR = std::make_shared<cDIB>();
    slot.DIBXOR->Create(Width, Height, 8);
    slot.DIBXOR->Cls(0);
    slot.DIBAND = std::make_shared<cDIB>();
    slot.DIBAND->Create(Width, Height, 1);
    slot.DIBAND->SetPalette(MaskPalette());
    slot.DIBAND->Cls(0);
}

// Frame numbers address the slots, never FramesCount.
template <class Frames>
auto& SlotOf(Frames& frames, std::int16_t nFrame)
{
    if (nFrame < 1 || static_cast<std::size_t>(nFrame) > frames.size()) {
        throw std::out_of_range("frame number out of range");
    }
    return frames[static_cast<std::size_t>(nFrame) - 1];
}

}  // namespace

cGIF::cGIF()
{
    mGIFLZWDec::InitDecoderTables();
    mGIFLZWEnc::InitEncoderTables();
}

// Releasing the table releases every frame's surfaces.
cGIF::~cGIF() = default;

bool cGIF::LoadFromFile(const std::string& FileName)
{
    try {
        const platform::FileBytes bytes = platform::ReadWholeFile(FileName);
        if (!bytes.empty() && LoadFromStream(bytes.span())) return true;
    } catch (const std::exception&) {
    }
    Destroy();
    return false;
}

bool cGIF::LoadFromStream(std::span<const std::uint8_t> stream)
{
    Destroy();
    return GifReader(m_Doc, stream).Read();
}

bool cGIF::Save(const std::string& FileName)
{
    std::vector<std::uint8_t> bytes;
    if (!SaveToStream(bytes)) return false;
    try {
        platform::WriteFileSafely(FileName, bytes);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool cGIF::SaveToStream(std::vector<std::uint8_t>& stream)
{
    try {
        stream = GifWriter(m_Doc).Write();
        return true;
    } catch (const std::exception&) {
        stream.clear();
        return false;
    }
}

void cGIF::Destroy()
{
    m_Doc.Reset();
}

void cGIF::FrameDraw(gdi::HDC hDC, std::int16_t nFrame, std::int16_t Left, std::int16_t Top, float ScaleFactor,
                     bool ScreenCrop)
{
    DrawFrame(Slot(nFrame), m_Doc.LogicalScreen, hDC, Left, Top, ScaleFactor, ScreenCrop);
}

void cGIF::FrameMask(std::int16_t nFrame, std::uint8_t TransparentColorIndex)
{
    BuildFrameMask(Slot(nFrame), TransparentColorIndex);
}

void cGIF::FrameInsert(std::int16_t nFrame, std::int16_t Width, std::int16_t Height)
{
    const std::int16_t old = m_Doc.FramesCount;
    if (old == std::numeric_limits<std::int16_t>::max()) throw std::overflow_error("too many frames");
    if (old > 0 && nFrame < 1) throw std::out_of_range("frame number out of range");
    const auto count = static_cast<std::int16_t>(old + 1);
    // A spare slot left by a trailing control extension becomes the new slot,
    // which starts empty all the same.
    m_Doc.Frames.resize(static_cast<std::size_t>(count));
    m_Doc.Frames.back() = FrameRecord{};
    m_Doc.FramesCount = count;
    std::int16_t position = count;
    if (nFrame <= old && old > 0) {
        // The frames from nFrame on move one place back.
        std::rotate(m_Doc.Frames.begin() + (nFrame - 1), m_Doc.Frames.end() - 1, m_Doc.Frames.end());
        position = nFrame;
    }
    GiveEmptySurfaces(m_Doc.Frames[static_cast<std::size_t>(position) - 1], Width, Height);
    if (count == 1) {
        m_Doc.LogicalScreen.ScreenWidth = Width;
        m_Doc.LogicalScreen.ScreenHeight = Height;
    }
}

void cGIF::FrameRemove(std::int16_t nFrame)
{
    if (nFrame < 1 || nFrame > m_Doc.FramesCount) throw std::out_of_range("frame number out of range");
    m_Doc.Frames.erase(m_Doc.Frames.begin() + (nFrame - 1));
    --m_Doc.FramesCount;
    // The table keeps exactly the frames (a spare slot goes too), or one
    // empty slot when none is left.
    m_Doc.Frames.resize(std::max<std::size_t>(static_cast<std::size_t>(m_Doc.FramesCount), 1));
    if (m_Doc.FramesCount == 0) m_Doc.Frames.front() = FrameRecord{};
}

void cGIF::FrameMoveUp(std::int16_t nFrame)
{
    const std::int16_t above = gdi::CheckedInt16(std::int32_t{nFrame} - 1);
    std::swap(Slot(above), Slot(nFrame));
}

void cGIF::FrameMoveDown(std::int16_t nFrame)
{
    const std::int16_t below = gdi::CheckedInt16(std::int32_t{nFrame} + 1);
    std::swap(Slot(below), Slot(nFrame));
}

float cGIF::ScreenPixelAspectRatio() const
{
    return (m_Doc.LogicalScreen.PixelAspect + 15) / 64.0F;
}

void cGIF::SetScreenPixelAspectRatio(float New_ScreenPixelAspectRatio)
{
    const double stored = std::nearbyint(double{New_ScreenPixelAspectRatio} * 64 - 15);
    if (!(stored >= 0 && stored <= 255)) throw std::overflow_error("pixel aspect ratio does not fit a byte");
    m_Doc.LogicalScreen.PixelAspect = static_cast<std::uint8_t>(stored);
}

gdi::OLE_COLOR cGIF::GlobalPaletteRGBEntry(std::uint8_t nEntry) const
{
    return m_Doc.GlobalPaletteExists ? RGBEntry(m_Doc.GlobalPalette, nEntry) : 0;
}

void cGIF::SetFrameDisposalMethod(std::int16_t nFrame, std::int32_t New_DisposalMethod)
{
    FrameRecord& slot = Slot(nFrame);
    if (New_DisposalMethod < 0 || New_DisposalMethod > 255)
        throw std::overflow_error("disposal method does not fit a byte");
    slot.DisposalMethod = static_cast<std::uint8_t>(New_DisposalMethod);
}

std::uint8_t cGIF::FrameTransparentColorIndex(std::int16_t nFrame) const
{
    return static_cast<std::uint8_t>(Slot(nFrame).TransparentColorIndex);
}

gdi::OLE_COLOR cGIF::LocalPaletteRGBEntry(std::int16_t nFrame, std::uint8_t nEntry) const
{
    return RGBEntry(Slot(nFrame).LocalPalette, nEntry);
}

FrameRecord& cGIF::Slot(std::int16_t nFrame)
{
    return SlotOf(m_Doc.Frames, nFrame);
}

const FrameRecord& cGIF::Slot(std::int16_t nFrame) const
{
    return SlotOf(m_Doc.Frames, nFrame);
}

}  // namespace korvane::imaging
