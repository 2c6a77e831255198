// Forwards to the one home of checked arithmetic, for the units not yet moved to it.
#pragma once

#include "platform/gdi/CheckedNumbers.h"

namespace korvane::imaging {
using gdi::CheckedInt16;
using gdi::RoundToInt32;
}  // namespace korvane::imaging
