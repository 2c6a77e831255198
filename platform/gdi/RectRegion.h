// Regions as lists of disjoint rectangles: all the program ever does with
// regions is subtract one rectangle from another and fill what is left.
#pragma once

#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace korvane::gdi {

// The rectangles of a rectangle region: none when it is empty, corners put
// in order otherwise.
std::vector<RECT> RectRegion(int left, int top, int right, int bottom);

// The parts of `a` outside `b`, as disjoint rectangles.
std::vector<RECT> SubtractRegion(const std::vector<RECT>& a, const std::vector<RECT>& b);

int RegionKind(const std::vector<RECT>& rects);

}  // namespace korvane::gdi
