// Every live drawing context, bitmap, brush and region, behind one lock.
// Calls look objects up once, take shared references to the surfaces they
// need and a copy of their colour tables, and do the pixel work unlocked.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/gdi/HandleTable.h"
#include "platform/gdi/Surface.h"

namespace korvane::gdi {

struct BitmapObject {
    std::shared_ptr<Surface> surface;
    bool section = true;             // a DIB section: its pixel memory is handed out
    bool stock = false;              // the 1 x 1 bitmap of fresh contexts: shared, never deleted
    std::uint32_t selectedInto = 0;  // the context holding it, 0 when none (not kept for stock)
};

struct DcObject {
    std::uint32_t bitmap = 0;
    int stretchMode = BLACKONWHITE;
    bool screen = false;
};

struct BrushObject {
    COLORREF colour = 0;
};

struct RegionObject {
    std::vector<RECT> rects;  // disjoint, none empty
};

// A surface and the colour table it had when the call looked it up.
struct SurfaceRef {
    std::shared_ptr<Surface> surface;
    ColourTable colours;
    bool stock = false;  // the shared stock bitmap: read, never drawn on
};

class ObjectRegistry {
public:
    static ObjectRegistry& Instance();

    // The lock guards the tables and every surface's colour table.
    std::mutex mutex;
    HandleTable<BitmapObject> bitmaps;
    HandleTable<DcObject> dcs;
    HandleTable<BrushObject> brushes;
    HandleTable<RegionObject> regions;

    std::uint32_t StockBitmap() const { return m_stockBitmap; }
    // Lock held: the bitmap selected into `dc`, null for a bad handle.
    BitmapObject* SelectedBitmap(HDC dc);
    // Takes the lock.
    std::optional<SurfaceRef> SurfaceOf(HDC dc);
    std::optional<SurfaceRef> SurfaceOf(HBITMAP bitmap);

private:
    ObjectRegistry();
    std::uint32_t m_stockBitmap = 0;
};

}  // namespace korvane::gdi
