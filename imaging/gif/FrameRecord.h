// One slot of a GIF document's frame table.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "imaging/dib/cDIB.h"

namespace korvane::imaging {

// 256 entries of blue, green, red, 0: the layout cDIB::SetPalette takes.
using PaletteBytes = std::array<std::uint8_t, 1024>;

struct FrameRecord {
    std::shared_ptr<cDIB> DIBXOR;  // 8-bit indices, frame width x height
    std::shared_ptr<cDIB> DIBAND;  // 1-bit mask; entry 0 black, entry 1 white
    std::int16_t Left = 0;
    std::int16_t Top = 0;
    bool Interlaced = false;
    bool UseTransparentColor = false;
    std::uint16_t TransparentColorIndex = 0;  // 0..255
    std::int16_t Delay = 0;                   // hundredths of a second
    std::uint8_t DisposalMethod = 0;
    bool UserInput = false;
    bool LocalPaletteUsed = false;
    bool LocalPaletteSorted = false;
    std::int16_t LocalPaletteEntries = 0;
    PaletteBytes LocalPalette{};  // the palette in force for the frame
};

}  // namespace korvane::imaging
