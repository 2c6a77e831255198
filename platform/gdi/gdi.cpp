#include "platform/gdi/gdi.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <new>
#include <system_error>

#include "platform/files/NativePath.h"
#include "platform/gdi/BitmapFile.h"
#include "platform/gdi/ColourConversion.h"
#include "platform/gdi/ObjectRegistry.h"
#include "platform/gdi/RectRegion.h"
#include "platform/gdi/SystemColours.h"
#include "platform/gdi/Transfer.h"

namespace korvane::gdi {

namespace {

ObjectRegistry& Objects()
{
    return ObjectRegistry::Instance();
}

// A context of the caller's choosing is optional; a bad one is an error.
bool IsNoneOrValid(ObjectRegistry& objects, HDC dc)
{
    return !dc || objects.dcs.Find(dc.value) != nullptr;
}

// None, and the surface dropped, when `dc` is neither none nor a live context:
// checked under the one lock that adds the bitmap.
HBITMAP AddBitmap(HDC dc, std::shared_ptr<Surface> surface, bool section)
{
    if (!surface) return {};
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    if (!IsNoneOrValid(objects, dc)) return {};
    BitmapObject bitmap;
    bitmap.surface = std::move(surface);
    bitmap.section = section;
    return HBITMAP{objects.bitmaps.Add(std::move(bitmap))};
}

void Unselect(ObjectRegistry& objects, std::uint32_t bitmap)
{
    BitmapObject* b = objects.bitmaps.Find(bitmap);
    if (b && !b->stock) b->selectedInto = 0;
}

// Only DIB sections have tables to read and write.
ColourTable* SelectedColourTable(HDC dc)
{
    BitmapObject* bitmap = Objects().SelectedBitmap(dc);
    if (!bitmap || !bitmap->section || bitmap->surface->colours.Count() == 0) return nullptr;
    return &bitmap->surface->colours;
}

int Blit(HDC dst, const Placement& to, HDC src, const Placement& from, std::uint32_t rop)
{
    const std::optional<RasterOp> op = RasterOpFromCode(rop);
    if (!op) return 0;
    std::optional<SurfaceRef> target = Objects().SurfaceOf(dst);
    std::optional<SurfaceRef> source = Objects().SurfaceOf(src);
    if (!target || !source) return 0;
    if (target->stock) return 1;  // every fresh context shares it
    Transfer(*target->surface, target->colours, *source->surface, source->colours, to, from, *op);
    return 1;
}

std::optional<COLORREF> BrushColour(HBRUSH brush)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    const BrushObject* b = objects.brushes.Find(brush.value);
    if (!b) return std::nullopt;
    return b->colour;
}

// The region's rectangles, or nothing for a bad handle.
std::optional<std::vector<RECT>> RegionRects(HRGN region)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    const RegionObject* r = objects.regions.Find(region.value);
    if (!r) return std::nullopt;
    return r->rects;
}

bool FillRects(HDC dc, const std::vector<RECT>& rects, HBRUSH brush)
{
    const std::optional<COLORREF> colour = BrushColour(brush);
    std::optional<SurfaceRef> target = Objects().SurfaceOf(dc);
    if (!colour || !target) return false;
    if (target->stock) return true;
    const std::uint32_t value = PixelValueFor(target->surface->Bpp(), target->colours, ColourOf(*colour));
    for (const RECT& rect : rects)
        Fill(*target->surface, rect, value);
    return true;
}

}  // namespace

// --- drawing contexts -------------------------------------------------------

HDC CreateCompatibleDC(HDC compatibleWith)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    if (!IsNoneOrValid(objects, compatibleWith)) return {};
    return HDC{objects.dcs.Add(DcObject{objects.StockBitmap(), BLACKONWHITE, false})};
}

bool DeleteDC(HDC dc)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    const DcObject* context = objects.dcs.Find(dc.value);
    if (!context || context->screen) return false;
    Unselect(objects, context->bitmap);
    return objects.dcs.Remove(dc.value);
}

HDC GetDC()
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    return HDC{objects.dcs.Add(DcObject{objects.StockBitmap(), BLACKONWHITE, true})};
}

bool ReleaseDC(HDC dc)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    const DcObject* context = objects.dcs.Find(dc.value);
    if (!context || !context->screen) return false;
    return objects.dcs.Remove(dc.value);
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    DcObject* context = objects.dcs.Find(dc.value);
    BitmapObject* b = objects.bitmaps.Find(bitmap.value);
    if (!context || !b || context->screen) return {};
    const HBITMAP previous{context->bitmap};
    if (previous == bitmap) return previous;
    if (!b->stock && b->selectedInto != 0) return {};
    Unselect(objects, context->bitmap);
    if (!b->stock) b->selectedInto = dc.value;
    context->bitmap = bitmap.value;
    return previous;
}

HBITMAP GetCurrentBitmap(HDC dc)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    const DcObject* context = objects.dcs.Find(dc.value);
    return context ? HBITMAP{context->bitmap} : HBITMAP{};
}

int GetStretchBltMode(HDC dc)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    const DcObject* context = objects.dcs.Find(dc.value);
    return context ? context->stretchMode : 0;
}

int SetStretchBltMode(HDC dc, int mode)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    DcObject* context = objects.dcs.Find(dc.value);
    if (!context || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return std::exchange(context->stretchMode, mode);
}

// --- bitmaps ----------------------------------------------------------------

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFOHEADER& header, std::span<const RGBQUAD> colours, std::uint8_t** bits,
                         bool zeroed)
{
    if (bits) *bits = nullptr;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biCompression != 0 ||
        header.biHeight == 0 || header.biHeight == INT_MIN)
        return {};
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    std::shared_ptr<Surface> surface =
        Surface::Make(header.biWidth, height, header.biBitCount, header.biHeight < 0, zeroed, colours);
    if (!surface) return {};
    std::uint8_t* memory = surface->Bits();
    const HBITMAP bitmap = AddBitmap(dc, std::move(surface), true);
    if (bitmap && bits) *bits = memory;
    return bitmap;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    return AddBitmap(dc, Surface::Make(width, height, ScreenCompatibleBitsPerPixel, true), false);
}

HBITMAP LoadBitmapFile(const std::string& fileName)
{
    return AddBitmap({}, ReadBitmapFile(fileName), true);
}

std::uint64_t FileLength(const std::string& fileName)
{
    std::error_code error;
    const std::uintmax_t length = std::filesystem::file_size(platform::NativePath(fileName), error);
    if (error) throw std::system_error(std::make_error_code(std::errc::no_such_file_or_directory), fileName);
    return length;
}

bool DeleteObject(HBITMAP bitmap)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    const BitmapObject* b = objects.bitmaps.Find(bitmap.value);
    if (!b || b->stock || b->selectedInto != 0) return false;
    return objects.bitmaps.Remove(bitmap.value);
}

bool DeleteObject(HBRUSH brush)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    return objects.brushes.Remove(brush.value);
}

bool DeleteObject(HRGN region)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    return objects.regions.Remove(region.value);
}

int GetObjectType(HBITMAP bitmap)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    return objects.bitmaps.Find(bitmap.value) ? OBJ_BITMAP : 0;
}

bool GetObject(HBITMAP bitmap, BITMAP& out)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    const BitmapObject* b = objects.bitmaps.Find(bitmap.value);
    if (!b) return false;
    const Surface& s = *b->surface;
    out = BITMAP{0,
                 s.Width(),
                 s.Height(),
                 static_cast<std::int32_t>(s.Stride()),
                 1,
                 static_cast<std::uint16_t>(s.Bpp()),
                 b->section ? b->surface->Bits() : nullptr};
    return true;
}

unsigned SetDIBColorTable(HDC dc, unsigned start, std::span<const RGBQUAD> entries)
{
    std::lock_guard lock(Objects().mutex);
    ColourTable* table = SelectedColourTable(dc);
    if (!table || start >= table->Count()) return 0;
    const unsigned n = std::min<std::size_t>(entries.size(), table->Count() - start);
    try {
        table->Replace(start, entries.first(n));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return n;
}

unsigned GetDIBColorTable(HDC dc, unsigned start, std::span<RGBQUAD> entries)
{
    std::lock_guard lock(Objects().mutex);
    const ColourTable* table = SelectedColourTable(dc);
    if (!table || start >= table->Count()) return 0;
    const unsigned n = std::min<std::size_t>(entries.size(), table->Count() - start);
    std::copy_n(table->Entries().begin() + start, n, entries.begin());
    return n;
}

// --- transfers --------------------------------------------------------------

int BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, std::uint32_t rop)
{
    return Blit(dst, {x, y, width, height}, src, {xSrc, ySrc, width, height}, rop);
}

int StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth, int srcHeight,
               std::uint32_t rop)
{
    return Blit(dst, {x, y, width, height}, src, {xSrc, ySrc, srcWidth, srcHeight}, rop);
}

int MaskedStretchBlt(HDC dst, int x, int y, int width, int height, HDC mask, HDC image, int xSrc, int ySrc,
                     int srcWidth, int srcHeight)
{
    const Placement to{x, y, width, height}, from{xSrc, ySrc, srcWidth, srcHeight};
    std::optional<SurfaceRef> target = Objects().SurfaceOf(dst);
    std::optional<SurfaceRef> maskSource = Objects().SurfaceOf(mask);
    std::optional<SurfaceRef> imageSource = Objects().SurfaceOf(image);
    if (!target || !maskSource || !imageSource) {
        // A pass without its contexts fails alone; the other one still draws.
        const int masked = Blit(dst, to, mask, from, SRCAND);
        const int painted = Blit(dst, to, image, from, SRCPAINT);
        return masked != 0 && painted != 0 ? 1 : 0;
    }
    if (target->stock) return 1;
    TransferMasked(*target->surface, target->colours, *maskSource->surface, maskSource->colours, *imageSource->surface,
                   imageSource->colours, to, from);
    return 1;
}

// --- fills and regions ------------------------------------------------------

bool SetRect(RECT& rect, int left, int top, int right, int bottom)
{
    rect = RECT{left, top, right, bottom};
    return true;
}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    return HBRUSH{objects.brushes.Add(BrushObject{colour & 0x00FFFFFFu})};
}

int FillRect(HDC dc, const RECT& rect, HBRUSH brush)
{
    return FillRects(dc, {rect}, brush) ? 1 : 0;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    return HRGN{objects.regions.Add(RegionObject{RectRegion(left, top, right, bottom)})};
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode)
{
    if (mode != RGN_DIFF) return RGN_ERROR;
    const std::optional<std::vector<RECT>> first = RegionRects(a);
    const std::optional<std::vector<RECT>> second = RegionRects(b);
    if (!first || !second) return RGN_ERROR;
    std::vector<RECT> result = SubtractRegion(*first, *second);
    const int kind = RegionKind(result);
    ObjectRegistry& objects = Objects();
    std::lock_guard lock(objects.mutex);
    RegionObject* target = objects.regions.Find(dst.value);
    if (!target) return RGN_ERROR;
    target->rects = std::move(result);
    return kind;
}

bool FillRgn(HDC dc, HRGN region, HBRUSH brush)
{
    const std::optional<std::vector<RECT>> rects = RegionRects(region);
    return rects && FillRects(dc, *rects, brush);
}

std::vector<RECT> GetRegionRects(HRGN region)
{
    return RegionRects(region).value_or(std::vector<RECT>{});
}

// --- colours ----------------------------------------------------------------

bool OleTranslateColor(OLE_COLOR colour, COLORREF& out)
{
    if ((colour & 0x80000000u) == 0) {
        out = colour & 0x00FFFFFFu;
        return true;
    }
    const std::optional<COLORREF> system = SystemColour(colour & 0x7FFFFFFFu);
    if (!system) return false;
    out = *system;
    return true;
}

}  // namespace korvane::gdi
