#include "imaging/dib/cDIB.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "platform/gdi/CheckedNumbers.h"
#include "platform/gdi/ScopedObject.h"

namespace korvane::imaging {

namespace {

constexpr const char* kOverflow = "cDIB: 32-bit overflow";

// ((width * bpp + 31) \ 32) * 4, every step checked as 32-bit arithmetic.
std::int32_t ScanlineBytes(std::int32_t width, std::int32_t bpp)
{
    const std::int32_t bits =
        gdi::CheckedInt32(gdi::CheckedInt32(std::int64_t{width} * bpp, kOverflow) + std::int64_t{31}, kOverflow);
    return gdi::CheckedInt32(std::int64_t{bits / 32} * 4, kOverflow);
}

unsigned TableSize(std::int32_t bpp)
{
    return 1u << bpp;
}

// Palette bytes as colour table entries; no table holds more than 256, so
// the rest would go unused.
struct PaletteEntries {
    // Only the first `count` entries are set, and only they are read.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-member-init)
    explicit PaletteEntries(std::span<const std::uint8_t> palette) : count(std::min(palette.size() / 4, entries.size()))
    {
        // The bytes are laid out as the entries are: blue, green, red, reserved.
        static_assert(sizeof(gdi::RGBQUAD) == 4);
        if (count > 0) std::memcpy(entries.data(), palette.data(), count * sizeof(gdi::RGBQUAD));
    }
    std::span<const gdi::RGBQUAD> Used() const { return std::span(entries).first(count); }

    std::array<gdi::RGBQUAD, 256> entries;
    std::size_t count;
};

}  // namespace

cDIB::~cDIB()
{
    Destroy();
}

bool cDIB::Create(std::int32_t NewWidth, std::int32_t NewHeight, std::int32_t Newbpp, bool zeroed,
                  std::span<const std::uint8_t> palette)
{
    Destroy();
    if (NewWidth < 1 || NewHeight < 1) return false;
    gdi::CheckedInt16(Newbpp, "cDIB: bit count does not fit 16 bits");
    m_BitmapHeader = gdi::BITMAPINFOHEADER{};
    m_BitmapHeader.biWidth = NewWidth;
    m_BitmapHeader.biHeight = -NewHeight;
    m_BitmapHeader.biBitCount = static_cast<std::uint16_t>(Newbpp);
    const std::int32_t scanline = ScanlineBytes(NewWidth, Newbpp);
    const std::int32_t bytes = gdi::CheckedInt32(std::int64_t{scanline} * NewHeight, kOverflow);
    if (bytes > gdi::MaxPixelBytes) return false;

    m_hDC = gdi::CreateCompatibleDC({});
    if (!m_hDC) return false;
    // The platform fills the entries the palette lacks with black.
    const PaletteEntries colours(palette);
    m_hDIB = gdi::CreateDIBSection(m_hDC, m_BitmapHeader, colours.Used(), &m_lpBits, zeroed);
    if (!m_hDIB) {
        Destroy();
        return false;
    }
    m_hOldBitmap = gdi::SelectObject(m_hDC, m_hDIB);
    m_Width = NewWidth;
    m_Height = NewHeight;
    m_bpp = Newbpp;
    m_BytesPerScanline = scanline;
    m_size = bytes;
    return true;
}

std::uint8_t cDIB::CreateFromStdPicture(const gdi::StdPicture& Image, bool Force32bpp)
{
    if (!Image || gdi::GetObjectType(Image->Handle()) != gdi::OBJ_BITMAP) return 0;
    gdi::BITMAP info;
    if (!gdi::GetObject(Image->Handle(), info)) return 0;
    if (!Create(info.bmWidth, info.bmHeight, Force32bpp ? 32 : info.bmBitsPixel)) return 0;
    const gdi::ScopedObject<gdi::HDC> temp(gdi::CreateCompatibleDC(m_hDC));
    if (!temp.get()) return 0;
    const gdi::HBITMAP displaced = gdi::SelectObject(temp.get(), Image->Handle());
    if (!displaced) return 0;
    if (info.bmBitsPixel <= 8 && !Force32bpp) {
        std::vector<gdi::RGBQUAD> table(TableSize(info.bmBitsPixel));
        gdi::GetDIBColorTable(temp.get(), 0, table);
        gdi::SetDIBColorTable(m_hDC, 0, table);
    }
    gdi::BitBlt(m_hDC, 0, 0, info.bmWidth, info.bmHeight, temp.get(), 0, 0, gdi::SRCCOPY);
    gdi::SelectObject(temp.get(), displaced);
    return static_cast<std::uint8_t>(info.bmBitsPixel);
}

std::uint8_t cDIB::CreateFromBitmapFile(const std::string& FileName)
{
    if (gdi::FileLength(FileName) == 0) return 0;
    Destroy();
    m_hDC = gdi::CreateCompatibleDC({});
    if (!m_hDC) return 0;
    m_hDIB = gdi::LoadBitmapFile(FileName);
    if (!m_hDIB) {
        Destroy();
        return 0;
    }
    m_hOldBitmap = gdi::SelectObject(m_hDC, m_hDIB);
    gdi::BITMAP info;
    gdi::GetObject(m_hDIB, info);
    try {
        m_BytesPerScanline = ScanlineBytes(info.bmWidth, info.bmBitsPixel);
        m_size = gdi::CheckedInt32(std::int64_t{m_BytesPerScanline} * info.bmHeight, kOverflow);
    } catch (const std::overflow_error&) {
        Destroy();
        throw;
    }
    m_Width = info.bmWidth;
    m_Height = info.bmHeight;
    m_bpp = info.bmBitsPixel;
    m_lpBits = info.bmBits;
    return static_cast<std::uint8_t>(m_bpp);
}

void cDIB::CloneTo(cDIB& oDIB) const
{
    if (&oDIB == this) return;  // Create would destroy the very pixels to copy
    if (!oDIB.Create(m_Width, m_Height, m_bpp) || !m_lpBits || !oDIB.m_lpBits) return;
    if (m_bpp <= 8) {
        std::vector<std::uint8_t> palette;
        GetPalette(palette);
        oDIB.SetPalette(palette);
    }
    std::memcpy(oDIB.m_lpBits, m_lpBits, static_cast<std::size_t>(m_size));
}

void cDIB::Destroy()
{
    if (m_hDC) {
        if (m_hDIB) {
            gdi::SelectObject(m_hDC, m_hOldBitmap);
            gdi::DeleteObject(m_hDIB);
        }
        gdi::DeleteDC(m_hDC);
    }
    m_hDC = {};
    m_hDIB = {};
    m_hOldBitmap = {};
    m_lpBits = nullptr;
    m_Width = 0;
    m_Height = 0;
    m_bpp = 0;
    m_BytesPerScanline = 0;
    m_size = 0;
}

std::int32_t cDIB::LoadBlt(gdi::HDC hSrcDC, std::int32_t x, std::int32_t y, std::int32_t nWidth, std::int32_t nHeight)
{
    if (!m_hDIB) return 0;
    if (nWidth < 1) nWidth = m_Width;
    if (nHeight < 1) nHeight = m_Height;
    return gdi::BitBlt(m_hDC, 0, 0, nWidth, nHeight, hSrcDC, x, y, gdi::SRCCOPY);
}

std::int32_t cDIB::Stretch(gdi::HDC hDstDC, std::int32_t x, std::int32_t y, std::int32_t nWidth, std::int32_t nHeight,
                           std::int32_t xSrc, std::int32_t ySrc, std::int32_t nSrcWidth, std::int32_t nSrcHeight,
                           std::uint32_t lROP, std::int32_t StretchMode) const
{
    if (!m_hDIB) return 0;
    if (nSrcWidth < 1) nSrcWidth = m_Width;
    if (nSrcHeight < 1) nSrcHeight = m_Height;
    const int previousMode = gdi::GetStretchBltMode(hDstDC);
    gdi::SetStretchBltMode(hDstDC, StretchMode);
    const int result = gdi::StretchBlt(hDstDC, x, y, nWidth, nHeight, m_hDC, xSrc, ySrc, nSrcWidth, nSrcHeight, lROP);
    if (previousMode != 0) gdi::SetStretchBltMode(hDstDC, previousMode);
    return result;
}

void cDIB::Cls(gdi::OLE_COLOR BackColor)
{
    if (!m_hDIB) return;
    gdi::COLORREF colour = 0;
    if (!gdi::OleTranslateColor(BackColor, colour)) return;  // not a colour: nothing to fill with
    gdi::RECT whole;
    gdi::SetRect(whole, 0, 0, m_Width, m_Height);
    const gdi::ScopedObject<gdi::HBRUSH> brush(gdi::CreateSolidBrush(colour));
    gdi::FillRect(m_hDC, whole, brush.get());
}

void cDIB::SetPaletteBytes(std::span<const std::uint8_t> palette)
{
    if (!m_hDIB || m_bpp > 8) return;
    if (palette.empty()) throw std::out_of_range("cDIB::SetPalette: empty palette array");
    gdi::SetDIBColorTable(m_hDC, 0, PaletteEntries(palette).Used());
}

void cDIB::GetPalette(std::vector<std::uint8_t>& palette) const
{
    if (!m_hDIB || m_bpp > 8) return;
    std::vector<gdi::RGBQUAD> entries(TableSize(m_bpp));
    gdi::GetDIBColorTable(m_hDC, 0, entries);
    palette.resize(entries.size() * 4);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        palette[4 * i] = entries[i].rgbBlue;
        palette[4 * i + 1] = entries[i].rgbGreen;
        palette[4 * i + 2] = entries[i].rgbRed;
        palette[4 * i + 3] = entries[i].rgbReserved;
    }
}

void cDIB::GetBestFitInfo(std::int32_t DstW, std::int32_t DstH, std::int32_t& bfx, std::int32_t& bfy, std::int32_t& bfW,
                          std::int32_t& bfH, bool StretchFit) const
{
    if (!m_hDIB) return;
    std::int32_t width = m_Width, height = m_Height;
    if (m_Width > DstW || m_Height > DstH || StretchFit) {
        const auto xRatio = static_cast<float>(static_cast<double>(DstW) / m_Width);
        const auto yRatio = static_cast<float>(static_cast<double>(DstH) / m_Height);
        if (xRatio >= yRatio) {
            height = DstH;
            width = gdi::RoundToInt32(static_cast<double>(yRatio) * m_Width, kOverflow);
        } else {
            width = DstW;
            height = gdi::RoundToInt32(static_cast<double>(xRatio) * m_Height, kOverflow);
        }
    }
    // The spare room is a 32-bit difference of its own, checked before it is halved.
    const std::int32_t x = gdi::CheckedInt32(std::int64_t{DstW} - width, kOverflow) / 2;
    const std::int32_t y = gdi::CheckedInt32(std::int64_t{DstH} - height, kOverflow) / 2;
    bfW = width;
    bfH = height;
    bfx = x;
    bfy = y;
}

gdi::StdPicture cDIB::Image() const
{
    if (!m_hDIB) return nullptr;
    const gdi::HDC screen = gdi::GetDC();
    gdi::ScopedObject<gdi::HBITMAP> bitmap(gdi::CreateCompatibleBitmap(screen, m_Width, m_Height));
    {
        const gdi::ScopedObject<gdi::HDC> temp(gdi::CreateCompatibleDC(screen));
        gdi::ReleaseDC(screen);
        if (!bitmap.get() || !temp.get()) return nullptr;
        const gdi::HBITMAP displaced = gdi::SelectObject(temp.get(), bitmap.get());
        Stretch(temp.get(), 0, 0, m_Width, m_Height, 0, 0, m_Width, m_Height, gdi::SRCCOPY, gdi::COLORONCOLOR);
        gdi::SelectObject(temp.get(), displaced);
    }
    // The picture owns the bitmap once it is made; before, it is still ours.
    gdi::StdPicture picture = gdi::OleCreatePictureIndirect(bitmap.get());
    if (picture) bitmap.release();
    return picture;
}

}  // namespace korvane::imaging
