#include "platform/gdi/ObjectRegistry.h"

namespace korvane::gdi {

ObjectRegistry& ObjectRegistry::Instance()
{
    static ObjectRegistry registry;
    return registry;
}

ObjectRegistry::ObjectRegistry()
{
    BitmapObject stock;
    stock.surface = Surface::Make(1, 1, 1, true);
    stock.surface->colours.entries[1] = RGBQUAD{255, 255, 255, 0};
    stock.section = false;
    stock.stock = true;
    m_stockBitmap = bitmaps.Add(std::move(stock));
}

Surface* ObjectRegistry::SelectedSurface(HDC dc)
{
    const DcObject* context = dcs.Find(dc.value);
    if (!context) return nullptr;
    BitmapObject* bitmap = bitmaps.Find(context->bitmap);
    return bitmap ? bitmap->surface.get() : nullptr;
}

std::optional<SurfaceRef> ObjectRegistry::SurfaceOf(HDC dc)
{
    std::lock_guard lock(mutex);
    const DcObject* context = dcs.Find(dc.value);
    if (!context) return std::nullopt;
    BitmapObject* bitmap = bitmaps.Find(context->bitmap);
    if (!bitmap) return std::nullopt;
    return SurfaceRef{bitmap->surface, bitmap->surface->colours};
}

std::optional<SurfaceRef> ObjectRegistry::SurfaceOf(HBITMAP handle)
{
    std::lock_guard lock(mutex);
    BitmapObject* bitmap = bitmaps.Find(handle.value);
    if (!bitmap) return std::nullopt;
    return SurfaceRef{bitmap->surface, bitmap->surface->colours};
}

}  // namespace korvane::gdi
