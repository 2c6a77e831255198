#include "platform/gdi/ObjectRegistry.h"

namespace korvane::gdi {

ObjectRegistry& ObjectRegistry::Instance()
{
    // Never destroyed: surfaces and pictures held by static objects elsewhere
    // may be released after this file's statics are gone.
    static ObjectRegistry* const registry = new ObjectRegistry;
    return *registry;
}

ObjectRegistry::ObjectRegistry()
{
    BitmapObject stock;
    const RGBQUAD blackAndWhite[] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    stock.surface = Surface::Make(1, 1, 1, true, true, blackAndWhite);
    stock.section = false;
    stock.stock = true;
    m_stockBitmap = bitmaps.Add(std::move(stock));
}

BitmapObject* ObjectRegistry::SelectedBitmap(HDC dc)
{
    const DcObject* context = dcs.Find(dc.value);
    return context ? bitmaps.Find(context->bitmap) : nullptr;
}

std::optional<SurfaceRef> ObjectRegistry::SurfaceOf(HDC dc)
{
    std::lock_guard lock(mutex);
    const BitmapObject* bitmap = SelectedBitmap(dc);
    if (!bitmap) return std::nullopt;
    return SurfaceRef{bitmap->surface, bitmap->surface->colours, bitmap->stock};
}

std::optional<SurfaceRef> ObjectRegistry::SurfaceOf(HBITMAP handle)
{
    std::lock_guard lock(mutex);
    const BitmapObject* bitmap = bitmaps.Find(handle.value);
    if (!bitmap) return std::nullopt;
    return SurfaceRef{bitmap->surface, bitmap->surface->colours, bitmap->stock};
}

}  // namespace korvane::gdi
