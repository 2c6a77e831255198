// Reading bitmap (.bmp) files into surfaces. Only uncompressed files are
// read: BI_RGB at 1, 4, 8, 16, 24 and 32 bits, BI_BITFIELDS at 16 and 32.
// No header field is trusted: every offset and size is checked against the
// file's length before anything is read.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi/Surface.h"

namespace korvane::gdi {

// The surface in the file's own row order with its colour table; null when
// the file is missing, damaged, compressed or too large. Bit-field pixels
// with other masks than the surface's 5-5-5 or 8-8-8 are converted to those.
std::shared_ptr<Surface> ReadBitmapFile(const std::string& fileName);

}  // namespace korvane::gdi
