// Pixel and file helpers shared by the GIF tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/dib/cDIB.h"
#include "tests/support/GifBytes.h"

namespace korvane::test_support {

// The surface's indices row by row, Width bytes a row (padding left out).
Bytes ReadIndices(const imaging::cDIB& dib);
void WriteIndices(imaging::cDIB& dib, std::span<const std::uint8_t> indices);
// The mask's bits as one byte (0 or 1) a pixel, row by row.
Bytes ReadMaskBits(const imaging::cDIB& dib);
Bytes ReadColourTable(const imaging::cDIB& dib);
// Pixel (x, y) of a 32-bit surface as stored: 0x00RRGGBB.
std::uint32_t Pixel32(const imaging::cDIB& dib, int x, int y);
void SetPixel32(const imaging::cDIB& dib, int x, int y, std::uint32_t value);

// A fresh path under the test output folder; any file there is removed.
std::string TestPath(const std::string& name);
Bytes ReadFile(const std::string& path);
void WriteFile(const std::string& path, const Bytes& bytes);

// Deterministic pseudo-random indices below `limit`.
Bytes NoiseIndices(std::size_t count, unsigned limit, std::uint32_t seed);

}  // namespace korvane::test_support
