// The fixed colour scheme the windows were designed in. Every window sets it
// whole, so a dark desktop theme cannot leave a design-coloured background
// behind a theme-coloured text, or the other way round.
#pragma once

#include <QPalette>

namespace korvane::app {

// Black text on light grey faces and white fields, for every colour group
// and role; all text roles keep at least 4.5:1 against their backgrounds.
QPalette WindowPalette();

}  // namespace korvane::app
