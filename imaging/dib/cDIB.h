// An off-screen bitmap of 1 to 32 bits per pixel whose pixel memory the
// program addresses directly, paired with a memory drawing context through
// which it is copied, stretched and filled.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

namespace korvane::imaging {

class cDIB {
public:
    cDIB() = default;
    ~cDIB();
    cDIB(const cDIB&) = delete;
    cDIB& operator=(const cDIB&) = delete;

    // Makes a top-down surface with an all-black colour table (depths <= 8).
    // False, object empty, when the size is below 1, the depth unsupported or
    // the pixel memory would exceed 256 MiB. Size arithmetic that overflows 32
    // bits throws std::overflow_error, object empty.
    // With `zeroed` false the pixels may hold anything: for a caller that
    // writes every byte itself. A `palette` (as SetPaletteBytes takes it)
    // starts the colour table instead of black.
    bool Create(std::int32_t NewWidth, std::int32_t NewHeight, std::int32_t Newbpp, bool zeroed = true,
                std::span<const std::uint8_t> palette = {});
    // The picture's bits per pixel, 0 when nothing was made. Icons and empty
    // pictures leave the surface unchanged.
    std::uint8_t CreateFromStdPicture(const gdi::StdPicture& Image, bool Force32bpp = false);
    // The bitmap's bits per pixel, 0 when nothing was loaded. Throws
    // std::system_error (no_such_file_or_directory) for a missing file.
    std::uint8_t CreateFromBitmapFile(const std::string& FileName);
    // Copies size, depth, colour table and pixel bytes into `oDIB` (top-down).
    void CloneTo(cDIB& oDIB) const;
    void Destroy();

    std::int32_t LoadBlt(gdi::HDC hSrcDC, std::int32_t x = 0, std::int32_t y = 0, std::int32_t nWidth = 0,
                         std::int32_t nHeight = 0);
    std::int32_t Stretch(gdi::HDC hDstDC, std::int32_t x, std::int32_t y, std::int32_t nWidth, std::int32_t nHeight,
                         std::int32_t xSrc = 0, std::int32_t ySrc = 0, std::int32_t nSrcWidth = 0,
                         std::int32_t nSrcHeight = 0, std::uint32_t lROP = gdi::SRCCOPY,
                         std::int32_t StretchMode = gdi::COLORONCOLOR) const;
    void Cls(gdi::OLE_COLOR BackColor = 0);
    // Throws std::out_of_range for an empty array (no element 0).
    void SetPalette(const std::vector<std::uint8_t>& palette) { SetPaletteBytes(palette); }
    // The same, from palette bytes held anywhere.
    void SetPaletteBytes(std::span<const std::uint8_t> palette);
    void GetPalette(std::vector<std::uint8_t>& palette) const;
    void GetBestFitInfo(std::int32_t DstW, std::int32_t DstH, std::int32_t& bfx, std::int32_t& bfy, std::int32_t& bfW,
                        std::int32_t& bfH, bool StretchFit = false) const;

    gdi::HDC hDC() const { return m_hDC; }
    gdi::HBITMAP hDIB() const { return m_hDIB; }
    std::uint8_t* lpBits() const { return m_lpBits; }
    std::int32_t Width() const { return m_Width; }
    std::int32_t Height() const { return m_Height; }
    std::int32_t bpp() const { return m_bpp; }
    std::int32_t BytesPerScanline() const { return m_BytesPerScanline; }
    std::int32_t size() const { return m_size; }
    const gdi::BITMAPINFOHEADER& BitmapHeader() const { return m_BitmapHeader; }
    // A snapshot of the surface as a new bitmap picture; null when empty.
    gdi::StdPicture Image() const;

private:
    gdi::HDC m_hDC;
    gdi::HBITMAP m_hDIB;
    std::uint8_t* m_lpBits = nullptr;
    std::int32_t m_Width = 0;
    std::int32_t m_Height = 0;
    std::int32_t m_bpp = 0;
    std::int32_t m_BytesPerScanline = 0;
    std::int32_t m_size = 0;
    gdi::BITMAPINFOHEADER m_BitmapHeader{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    gdi::HBITMAP m_hOldBitmap;
};

}  // namespace korvane::imaging
