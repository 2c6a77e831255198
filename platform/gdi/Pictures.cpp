#include "platform/gdi/Pictures.h"

#include "platform/gdi/ObjectRegistry.h"
#include "platform/gdi/Transfer.h"
#include "platform/gdi/gdi.h"

namespace korvane::gdi {

namespace {

// The whole surface as a fresh top-down 32-bit surface.
std::shared_ptr<Surface> As32(const SurfaceRef& ref)
{
    const Surface& s = *ref.surface;
    std::shared_ptr<Surface> out = Surface::Make(s.Width(), s.Height(), 32, true);
    if (!out) return nullptr;
    const Placement whole{0, 0, s.Width(), s.Height()};
    Transfer(*out, ColourTable{}, s, ref.colours, whole, whole, RasterOp::Copy);
    return out;
}

std::uint32_t Blend(std::uint32_t under, std::uint32_t argb)
{
    const std::uint32_t a = argb >> 24;
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t s = (argb >> shift) & 0xFF, d = (under >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

bool DrawBitmap(const SurfaceRef& target, const Picture& picture, int x, int y)
{
    const std::optional<SurfaceRef> source = ObjectRegistry::Instance().SurfaceOf(picture.Handle());
    if (!source) return false;
    const Placement to{x, y, picture.Width(), picture.Height()};
    const Placement from{0, 0, picture.Width(), picture.Height()};
    Transfer(*target.surface, target.colours, *source->surface, source->colours, to, from, RasterOp::Copy);
    return true;
}

// Reads what lies under the icon, blends, and writes the result back, so the
// blend works the same on every depth.
bool DrawIcon(const SurfaceRef& target, const Picture& picture, int x, int y)
{
    const int w = picture.Width(), h = picture.Height();
    std::shared_ptr<Surface> under = Surface::Make(w, h, 32, true);
    if (!under) return false;
    const Placement onTarget{x, y, w, h}, whole{0, 0, w, h};
    Transfer(*under, ColourTable{}, *target.surface, target.colours, whole, onTarget, RasterOp::Copy);
    const std::vector<std::uint32_t> argb = picture.Argb32();
    for (int row = 0; row < h; ++row) {
        std::uint32_t* p = under->Row32(row);
        for (int col = 0; col < w; ++col)
            p[col] = Blend(p[col], argb[static_cast<std::size_t>(row) * w + col]);
    }
    Transfer(*target.surface, target.colours, *under, ColourTable{}, onTarget, whole, RasterOp::Copy);
    return true;
}

}  // namespace

BitmapPicture::~BitmapPicture()
{
    DeleteObject(m_bitmap);
}

std::vector<std::uint32_t> BitmapPicture::Argb32() const
{
    const std::optional<SurfaceRef> ref = ObjectRegistry::Instance().SurfaceOf(m_bitmap);
    if (!ref) return {};
    const std::shared_ptr<Surface> pixels = As32(*ref);
    if (!pixels) return {};
    std::vector<std::uint32_t> out;
    out.reserve(static_cast<std::size_t>(m_width) * m_height);
    for (int y = 0; y < m_height; ++y) {
        const std::uint32_t* row = pixels->Row32(y);
        for (int x = 0; x < m_width; ++x)
            out.push_back(row[x] | 0xFF000000u);
    }
    return out;
}

StdPicture OleCreatePictureIndirect(HBITMAP bitmap)
{
    ObjectRegistry& objects = ObjectRegistry::Instance();
    std::lock_guard lock(objects.mutex);
    const BitmapObject* b = objects.bitmaps.Find(bitmap.value);
    if (!b || b->stock || b->selectedInto != 0) return nullptr;
    return std::make_shared<BitmapPicture>(bitmap, b->surface->Width(), b->surface->Height());
}

StdPicture CreateEmptyPicture()
{
    return std::make_shared<EmptyPicture>();
}

StdPicture CreateIconPicture(int width, int height, std::vector<std::uint32_t> argb)
{
    if (width < 1 || height < 1 || argb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return nullptr;
    return std::make_shared<IconPicture>(width, height, std::move(argb));
}

bool DrawPicture(HDC dc, const StdPicture& picture, int x, int y)
{
    if (!picture) return false;
    const std::optional<SurfaceRef> target = ObjectRegistry::Instance().SurfaceOf(dc);
    if (!target) return false;
    if (target->stock) return true;
    switch (picture->Kind()) {
        case PictureKind::Bitmap:
            return DrawBitmap(*target, *picture, x, y);
        case PictureKind::Icon:
            return DrawIcon(*target, *picture, x, y);
        case PictureKind::None:
            return true;
    }
    return false;
}

}  // namespace korvane::gdi
