// The classic desktop colour scheme, fixed so that drawing is the same on
// every machine and in every test.
#pragma once

#include <optional>

#include "platform/gdi/GdiTypes.h"

namespace korvane::gdi {

constexpr unsigned SystemColourCount = 31;

// System colour n (0 scroll bar, 5 window, 8 window text, 15 button face,
// ...); nothing for n >= SystemColourCount.
std::optional<COLORREF> SystemColour(unsigned n);

}  // namespace korvane::gdi
