#include "platform/gdi/RectRegion.h"

#include <algorithm>

namespace korvane::gdi {

namespace {

bool IsEmpty(const RECT& r)
{
    return r.left >= r.right || r.top >= r.bottom;
}

void AddIfNotEmpty(std::vector<RECT>& out, const RECT& r)
{
    if (!IsEmpty(r)) out.push_back(r);
}

// Up to four pieces: the bands above and below `b`, then left and right of it.
void SubtractOne(const RECT& a, const RECT& b, std::vector<RECT>& out)
{
    if (b.left >= a.right || b.right <= a.left || b.top >= a.bottom || b.bottom <= a.top) {
        out.push_back(a);
        return;
    }
    const int midTop = std::max(a.top, b.top), midBottom = std::min(a.bottom, b.bottom);
    AddIfNotEmpty(out, RECT{a.left, a.top, a.right, midTop});
    AddIfNotEmpty(out, RECT{a.left, midBottom, a.right, a.bottom});
    AddIfNotEmpty(out, RECT{a.left, midTop, std::max(a.left, b.left), midBottom});
    AddIfNotEmpty(out, RECT{std::min(a.right, b.right), midTop, a.right, midBottom});
}

}  // namespace

std::vector<RECT> RectRegion(int left, int top, int right, int bottom)
{
    const RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    if (IsEmpty(r)) return {};
    return {r};
}

std::vector<RECT> SubtractRegion(const std::vector<RECT>& a, const std::vector<RECT>& b)
{
    std::vector<RECT> pieces = a;
    for (const RECT& cut : b) {
        std::vector<RECT> next;
        for (const RECT& piece : pieces)
            SubtractOne(piece, cut, next);
        pieces = std::move(next);
    }
    return pieces;
}

int RegionKind(const std::vector<RECT>& rects)
{
    if (rects.empty()) return NULLREGION;
    return rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace korvane::gdi
