// The graphics operations the imaging code and the controls draw with: memory
// drawing contexts, DIB sections, blits, stretching with raster operations,
// brushes, rectangle regions, colour tables, system colours and picture
// objects. Everything lives in plain memory, so every pixel is testable
// without a display; the screen only ever sees finished 32-bit surfaces.
//
// Handles are small typed values; a default-constructed handle (value 0) means
// "none". Stale or foreign handles are detected and make the call fail, never
// touch freed memory. All calls are safe from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace korvane::gdi {

// --- drawing contexts -------------------------------------------------------

// A new memory context; `compatibleWith` none means the screen (a bad handle
// fails). A fresh context has a 1 x 1 monochrome stock bitmap selected, one
// shared by all contexts and never drawn on; stretch mode BLACKONWHITE.
HDC CreateCompatibleDC(HDC compatibleWith);
bool DeleteDC(HDC dc);
// The screen context (32 bits per pixel); release it with ReleaseDC. Only
// finished surfaces reach the screen, so nothing can be selected into it.
HDC GetDC();
bool ReleaseDC(HDC dc);

// Selects a bitmap into a context and returns the one it displaced (none on
// failure, or when the bitmap is selected into another context already).
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
// The bitmap currently selected into `dc`.
HBITMAP GetCurrentBitmap(HDC dc);

int GetStretchBltMode(HDC dc);
// Returns the previous mode, 0 on failure.
int SetStretchBltMode(HDC dc, int mode);

// --- bitmaps ----------------------------------------------------------------

// A DIB section of the header's size and depth (1, 4, 8, 16, 24 or 32 bits,
// BI_RGB) with the given colour table (entries beyond the table's 2^bpp are
// ignored; missing ones are black). `bits` receives the pixel memory, which
// lives as long as the bitmap and reads as zero, or, when not `zeroed`, may
// hold anything until the caller writes it. Fails (none, `bits` null) for
// other depths, a zero size, compression, or more than 256 MiB of pixels.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFOHEADER& header, std::span<const RGBQUAD> colours, std::uint8_t** bits,
                         bool zeroed = true);
// A 32-bit bitmap compatible with the screen (top-down, initially black).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Loads an uncompressed BMP file (1, 4, 8, 16, 24, 32 bits; bottom-up or
// top-down; BI_BITFIELDS at 16 and 32 bits) as a DIB section keeping the
// file's row order. None on any failure. Accepts "\" and "/" separators.
// Bit fields other than 5-5-5 and 8-8-8 are converted to those on loading.
HBITMAP LoadBitmapFile(const std::string& fileName);
// The file's length in bytes, for the loader's callers. Throws
// std::system_error (no_such_file_or_directory) when there is no such file.
std::uint64_t FileLength(const std::string& fileName);

// Deletes a bitmap (refused while it is selected into a context, and for the
// stock bitmap), a brush or a region.
bool DeleteObject(HBITMAP bitmap);
bool DeleteObject(HBRUSH brush);
bool DeleteObject(HRGN region);

int GetObjectType(HBITMAP bitmap);  // OBJ_BITMAP, or 0 for none
bool GetObject(HBITMAP bitmap, BITMAP& out);

// Colour-table access of the DIB section selected into `dc`: entries from
// `start`, limited to the table's size. Returns the number of entries moved
// (0 for surfaces without a table and for bitmaps that are not DIB sections).
unsigned SetDIBColorTable(HDC dc, unsigned start, std::span<const RGBQUAD> entries);
unsigned GetDIBColorTable(HDC dc, unsigned start, std::span<RGBQUAD> entries);

// --- transfers --------------------------------------------------------------

// Rectangle copy with the raster operation; colours convert between depths
// through the source's colour table, and into a destination with a table by
// the entry equal to the colour, else the nearest (lowest index on ties).
// Source and destination tables that are equal copy indices unchanged.
// Clipped to both surfaces. Non-zero on success, also when nothing is left
// to draw; 0 for bad contexts.
int BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, std::uint32_t rop);
// Scaled transfer. COLORONCOLOR (and every mode here) takes each destination
// pixel from one source pixel, never a blend. A negative extent spans
// [origin + extent, origin); extents of opposite signs mirror. Destination
// pixels whose source pixel lies off the source surface are left alone.
// Raster operations other than SRCCOPY, SRCAND and SRCPAINT fail (0).
int StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth, int srcHeight,
               std::uint32_t rop);
// A transparent draw in one call: the same result as StretchBlt of `mask`
// with SRCAND followed by StretchBlt of `image` with SRCPAINT, both with
// these rectangles. Non-zero when both would succeed.
int MaskedStretchBlt(HDC dst, int x, int y, int width, int height, HDC mask, HDC image, int xSrc, int ySrc,
                     int srcWidth, int srcHeight);

// --- fills and regions ------------------------------------------------------

bool SetRect(RECT& rect, int left, int top, int right, int bottom);
HBRUSH CreateSolidBrush(COLORREF colour);
int FillRect(HDC dc, const RECT& rect, HBRUSH brush);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
// dst = a op b; only RGN_DIFF is supported. Returns the region kind or RGN_ERROR.
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode);
bool FillRgn(HDC dc, HRGN region, HBRUSH brush);
// The region as disjoint rectangles (for tests and painting).
std::vector<RECT> GetRegionRects(HRGN region);

// --- colours ----------------------------------------------------------------

// Program colour value to RGB: system colours (0x80000000 + n, n < 31) from a
// fixed table of the classic desktop colours (n = 15, the button face, is
// RGB(192, 192, 192); n = 5, the window, is white; n = 8, window text, is
// black); other values with the top bit set fail.
bool OleTranslateColor(OLE_COLOR colour, COLORREF& out);

// --- pictures ---------------------------------------------------------------

// Wraps a bitmap in a picture that takes ownership of it (the bitmap must not
// be selected into any context). Null on failure.
StdPicture OleCreatePictureIndirect(HBITMAP bitmap);
// The empty picture: draws nothing, 0 x 0.
StdPicture CreateEmptyPicture();
// An icon picture from top-down 0xAARRGGBB pixels; null unless the vector
// holds width x height pixels of a size of at least 1 x 1.
StdPicture CreateIconPicture(int width, int height, std::vector<std::uint32_t> argb);
// Draws a picture at its natural size with its top-left corner at (x, y);
// icon pixels are blended by alpha.
bool DrawPicture(HDC dc, const StdPicture& picture, int x, int y);

}  // namespace korvane::gdi
