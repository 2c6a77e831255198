// A GIF image or animation in memory: the logical screen, the global palette,
// the loop count and a 1-based table of frames, each holding its settings, the
// palette in force and two surfaces (indices and transparency mask).
//
// Accessor convention: a property `X` is read with `X(...)` and written with
// `SetX(..., New_X)`, e.g. `FrameDelay(nFrame)` / `SetFrameDelay(nFrame, New_Delay)`.
//
// Frame numbers address the slots of the table (1 up to SlotsCount()), never
// FramesCount: outside them a call throws std::out_of_range and changes
// nothing. Values that do not fit their field throw std::overflow_error and
// store nothing. Loaders and Save catch everything and return false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/dib/cDIB.h"
#include "imaging/gif/FrameRecord.h"
#include "imaging/gif/GifDocument.h"
#include "platform/gdi/gdi.h"

namespace korvane::imaging {

class cGIF {
public:
    cGIF();
    ~cGIF();
    cGIF(const cGIF&) = delete;
    cGIF& operator=(const cGIF&) = delete;

    // True when the file was read and LoadFromStream accepted it; false (the
    // document reset) for a missing, empty or unreadable file.
    bool LoadFromFile(const std::string& FileName);
    // False when the 6-byte header is not "GIF87a" or "GIF89a"; true otherwise,
    // whatever follows (damaged data loads as far as it goes). A stream too
    // short to hold the signature or the version throws std::out_of_range,
    // the document already reset.
    bool LoadFromStream(std::span<const std::uint8_t> stream);
    // Writes the document as a GIF stream to FileName: a file is replaced
    // atomically (its permissions kept, a link followed), a pipe or device
    // written directly. False, the file untouched, on any failure (no frame
    // slot, a frame without pixels, a palette size or a disposal that does not
    // fit, a pixel index the code size cannot express, an I/O error).
    bool Save(const std::string& FileName);
    // The stream Save writes, into `stream`; false (and `stream` empty) when
    // the document cannot be written.
    bool SaveToStream(std::vector<std::uint8_t>& stream);
    // Resets to empty: zero screen and palette, one empty slot, no frames.
    void Destroy();

    // Draws the frame with its top-left corner of the logical screen at
    // (Left, Top), scaled; with ScreenCrop the frame is clipped to the screen's
    // right and bottom edges. Transparent frames are laid over what hDC shows.
    void FrameDraw(gdi::HDC hDC, std::int16_t nFrame, std::int16_t Left = 0, std::int16_t Top = 0,
                   float ScaleFactor = 1, bool ScreenCrop = false);
    // Rebuilds the frame's mask (1 where the index is TransparentColorIndex,
    // when the frame uses transparency) and its image colour table.
    void FrameMask(std::int16_t nFrame, std::uint8_t TransparentColorIndex);
    // Inserts an empty Width x Height frame at nFrame (appended when nFrame is
    // past the last frame). nFrame below 1 on a document with frames throws
    // std::out_of_range.
    void FrameInsert(std::int16_t nFrame, std::int16_t Width, std::int16_t Height);
    // nFrame must be a frame (1..FramesCount), else std::out_of_range.
    void FrameRemove(std::int16_t nFrame);
    // Exchanges slots nFrame - 1 and nFrame.
    void FrameMoveUp(std::int16_t nFrame);
    // Exchanges slots nFrame and nFrame + 1.
    void FrameMoveDown(std::int16_t nFrame);

    std::int16_t AnimationLoops() const { return m_Doc.AnimationLoops; }
    void SetAnimationLoops(std::int16_t New_AnimationLoops) { m_Doc.AnimationLoops = New_AnimationLoops; }
    std::int16_t ScreenWidth() const { return m_Doc.LogicalScreen.ScreenWidth; }
    void SetScreenWidth(std::int16_t New_ScreenWidth) { m_Doc.LogicalScreen.ScreenWidth = New_ScreenWidth; }
    std::int16_t ScreenHeight() const { return m_Doc.LogicalScreen.ScreenHeight; }
    void SetScreenHeight(std::int16_t New_ScreenHeight) { m_Doc.LogicalScreen.ScreenHeight = New_ScreenHeight; }
    std::uint8_t ScreenBackgroundColorIndex() const { return m_Doc.LogicalScreen.ScreenBackgroundColorIndex; }
    void SetScreenBackgroundColorIndex(std::uint8_t New_ScreenBackgroundColorIndex)
    {
        m_Doc.LogicalScreen.ScreenBackgroundColorIndex = New_ScreenBackgroundColorIndex;
    }
    // (PixelAspect + 15) / 64; the write stores value x 64 - 15 rounded half
    // to even, std::overflow_error outside 0..255.
    float ScreenPixelAspectRatio() const;
    void SetScreenPixelAspectRatio(float New_ScreenPixelAspectRatio);
    // The 1024 bytes of the global palette (blue, green, red, 0 per entry),
    // written in place by callers; valid for the document's life.
    std::span<std::uint8_t, 1024> lpGlobalPalette() { return m_Doc.GlobalPalette; }
    // red + green x 256 + blue x 65536 of the entry; 0 without a global table.
    gdi::OLE_COLOR GlobalPaletteRGBEntry(std::uint8_t nEntry) const;
    bool GlobalPaletteExists() const { return m_Doc.GlobalPaletteExists; }
    void SetGlobalPaletteExists(bool New_GlobalPaletteExists) { m_Doc.GlobalPaletteExists = New_GlobalPaletteExists; }
    bool GlobalPaletteSorted() const { return m_Doc.GlobalPaletteSorted; }
    void SetGlobalPaletteSorted(bool New_GlobalPaletteSorted) { m_Doc.GlobalPaletteSorted = New_GlobalPaletteSorted; }
    std::int16_t GlobalPaletteEntries() const { return m_Doc.GlobalPaletteEntries; }
    void SetGlobalPaletteEntries(std::int16_t New_GlobalPaletteEntries)
    {
        m_Doc.GlobalPaletteEntries = New_GlobalPaletteEntries;
    }
    std::int16_t FramesCount() const { return m_Doc.FramesCount; }

    // The slot's surfaces themselves (null for an empty slot), never copies.
    std::shared_ptr<cDIB> FrameDIBXOR(std::int16_t nFrame) const { return Slot(nFrame).DIBXOR; }
    std::shared_ptr<cDIB> FrameDIBAND(std::int16_t nFrame) const { return Slot(nFrame).DIBAND; }
    std::int16_t FrameDelay(std::int16_t nFrame) const { return Slot(nFrame).Delay; }
    void SetFrameDelay(std::int16_t nFrame, std::int16_t New_Delay) { Slot(nFrame).Delay = New_Delay; }
    bool FrameInterlaced(std::int16_t nFrame) const { return Slot(nFrame).Interlaced; }
    void SetFrameInterlaced(std::int16_t nFrame, bool New_Interlaced) { Slot(nFrame).Interlaced = New_Interlaced; }
    std::int16_t FrameLeft(std::int16_t nFrame) const { return Slot(nFrame).Left; }
    void SetFrameLeft(std::int16_t nFrame, std::int16_t New_FrameLeft) { Slot(nFrame).Left = New_FrameLeft; }
    std::int16_t FrameTop(std::int16_t nFrame) const { return Slot(nFrame).Top; }
    void SetFrameTop(std::int16_t nFrame, std::int16_t New_FrameTop) { Slot(nFrame).Top = New_FrameTop; }
    std::int32_t FrameDisposalMethod(std::int16_t nFrame) const { return Slot(nFrame).DisposalMethod; }
    // std::overflow_error outside 0..255.
    void SetFrameDisposalMethod(std::int16_t nFrame, std::int32_t New_DisposalMethod);
    bool FrameUseTransparentColor(std::int16_t nFrame) const { return Slot(nFrame).UseTransparentColor; }
    void SetFrameUseTransparentColor(std::int16_t nFrame, bool New_UseTransparentColor)
    {
        Slot(nFrame).UseTransparentColor = New_UseTransparentColor;
    }
    std::uint8_t FrameTransparentColorIndex(std::int16_t nFrame) const;
    void SetFrameTransparentColorIndex(std::int16_t nFrame, std::uint8_t New_TransparentColorIndex)
    {
        Slot(nFrame).TransparentColorIndex = New_TransparentColorIndex;
    }
    bool FrameUserInput(std::int16_t nFrame) const { return Slot(nFrame).UserInput; }
    void SetFrameUserInput(std::int16_t nFrame, bool New_FrameUserInput)
    {
        Slot(nFrame).UserInput = New_FrameUserInput;
    }
    // The slot's 1024 palette bytes; valid until the table is resized or reset.
    std::span<std::uint8_t, 1024> lpLocalPalette(std::int16_t nFrame) { return Slot(nFrame).LocalPalette; }
    // Same colour rule as GlobalPaletteRGBEntry, whatever LocalPaletteUsed says.
    gdi::OLE_COLOR LocalPaletteRGBEntry(std::int16_t nFrame, std::uint8_t nEntry) const;
    bool LocalPaletteUsed(std::int16_t nFrame) const { return Slot(nFrame).LocalPaletteUsed; }
    void SetLocalPaletteUsed(std::int16_t nFrame, bool New_LocalPaletteUsed)
    {
        Slot(nFrame).LocalPaletteUsed = New_LocalPaletteUsed;
    }
    bool LocalPaletteSorted(std::int16_t nFrame) const { return Slot(nFrame).LocalPaletteSorted; }
    void SetLocalPaletteSorted(std::int16_t nFrame, bool New_LocalPaletteSorted)
    {
        Slot(nFrame).LocalPaletteSorted = New_LocalPaletteSorted;
    }
    std::int16_t LocalPaletteEntries(std::int16_t nFrame) const { return Slot(nFrame).LocalPaletteEntries; }
    void SetLocalPaletteEntries(std::int16_t nFrame, std::int16_t New_LocalPaletteEntries)
    {
        Slot(nFrame).LocalPaletteEntries = New_LocalPaletteEntries;
    }

    // Read-only views for tools and tests: the raw screen descriptor (packed
    // byte and aspect byte included), the number of slots (FramesCount, or
    // one more when a trailing control extension prepared a spare slot, or 1
    // for a reset document) and a slot's whole record.
    const LogicalScreenDescriptor& LogicalScreen() const { return m_Doc.LogicalScreen; }
    std::size_t SlotsCount() const { return m_Doc.Frames.size(); }
    const FrameRecord& Frame(std::int16_t nFrame) const { return Slot(nFrame); }

private:
    FrameRecord& Slot(std::int16_t nFrame);
    const FrameRecord& Slot(std::int16_t nFrame) const;

    GifDocument m_Doc;
};

}  // namespace korvane::imaging
