// The handle, record and constant types of the graphics layer, on their own
// so that the units inside platform/gdi use them without the whole interface.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

namespace korvane::gdi {

template <class Tag>
struct Handle {
    std::uint32_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(Handle, Handle) = default;
};

using HDC = Handle<struct DcTag>;
using HBITMAP = Handle<struct BitmapTag>;
using HBRUSH = Handle<struct BrushTag>;
using HRGN = Handle<struct RegionTag>;

// 0x00BBGGRR, as the platform's plain RGB colour.
using COLORREF = std::uint32_t;
// The program's colour value: RGB as COLORREF, or 0x80000000 + n for system colour n.
using OLE_COLOR = std::uint32_t;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}

// Trivial, with no padding, so tables of entries are cleared, copied and
// compared as plain memory;
// value-initialised ({} or a vector's fresh entries) it is black.
struct RGBQUAD {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
    friend bool operator==(const RGBQUAD&, const RGBQUAD&) = default;
};
static_assert(sizeof(RGBQUAD) == 4 && std::is_trivial_v<RGBQUAD>);

// The 40-byte bitmap information header. A negative biHeight means rows run top-down.
struct BITMAPINFOHEADER {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;  // BI_RGB
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};

// A bitmap's description as GetObject reports it.
struct BITMAP {
    std::int32_t bmType = 0;
    std::int32_t bmWidth = 0;
    std::int32_t bmHeight = 0;  // always positive
    std::int32_t bmWidthBytes = 0;
    std::uint16_t bmPlanes = 0;
    std::uint16_t bmBitsPixel = 0;
    std::uint8_t* bmBits = nullptr;  // pixel memory of a DIB section, null otherwise
};

struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const RECT&, const RECT&) = default;
};

// Raster operations and the stretch mode the program uses.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// Object kinds as GetObjectType reports them.
constexpr int OBJ_BITMAP = 7;
constexpr int OBJ_ICON_KIND = 3;  // picture kind icon; not a bitmap

// The screen's depth, and so that of every bitmap made compatible with it.
constexpr int ScreenCompatibleBitsPerPixel = 32;

// Region combination.
constexpr int RGN_DIFF = 4;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = 0;

enum class PictureKind { None, Bitmap, Icon };

// The shared, immutable picture object. A bitmap picture owns its bitmap and
// deletes it when the last reference goes. Icons carry 32-bit pixels with
// alpha for drawing but are not bitmaps to the surface code.
class Picture {
public:
    virtual ~Picture() = default;
    virtual PictureKind Kind() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The bitmap handle behind a bitmap picture (none for other kinds).
    virtual HBITMAP Handle() const = 0;
    // Top-down 0xAARRGGBB pixels, Width() x Height(); alpha 255 for bitmaps.
    virtual std::vector<std::uint32_t> Argb32() const = 0;
};
using StdPicture = std::shared_ptr<const Picture>;

}  // namespace korvane::gdi
