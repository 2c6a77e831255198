// Zeroed memory for surfaces' pixels. Large blocks that are freed are kept,
// up to a bound, for the next surface of about their size: a program that
// loads pictures one after another then clears memory it already has,
// instead of having the system map and clear fresh pages for every picture,
// which costs several times more.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvane::gdi {

// `bytes` (a multiple of 4) of memory that reads as zero, or, when not
// `zeroed`, may hold anything; null when it cannot be had.
std::uint32_t* AllocatePixelBlock(std::size_t bytes, bool zeroed = true);
// Gives back a block AllocatePixelBlock returned for `bytes`.
void FreePixelBlock(std::uint32_t* block, std::size_t bytes);

// Sets `bytes` of pixel memory to zero. Whole pages of a large run are handed
// back to the system instead of written, so they read as zero again without
// being held: memory no pixel was decoded into costs nothing.
void ZeroPixels(std::uint8_t* pixels, std::size_t bytes);

}  // namespace korvane::gdi
