// Any bytes through LoadFromStream, then every frame drawn onto a small
// canvas: loading and drawing must stay inside every buffer whatever the
// stream holds. The only error a load may raise is the short-header one.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "imaging/dib/cDIB.h"
#include "imaging/gif/GifReader.h"
#include "imaging/gif/cGIF.h"

using korvane::imaging::cDIB;
using korvane::imaging::cGIF;

namespace {

void DrawEveryFrame(cGIF& gif)
{
    cDIB canvas;
    if (!canvas.Create(64, 64, 32)) return;
    // Counted in int: a 16-bit counter would wrap after frame 32767.
    for (int f = 1; f <= gif.FramesCount(); ++f) {
        try {
            gif.FrameDraw(canvas.hDC(), static_cast<std::int16_t>(f), -3, 2, 0.75F, f % 2 == 0);
        } catch (const std::overflow_error&) {
            // Frame positions and sizes that do not fit 16 or 32 bits.
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A few bytes can declare frames of hundreds of megabytes, which the
    // sanitizers make slow to map and release; a small budget keeps every
    // input cheap, and frames past it take the path of frames that get no
    // surfaces.
    korvane::imaging::GifReader::CapSurfaceBudget(std::int64_t{2} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    cGIF gif;
    try {
        if (!gif.LoadFromStream(std::span<const std::uint8_t>(data, size))) return 0;
    } catch (const std::out_of_range&) {
        return 0;
    }
    DrawEveryFrame(gif);
    return 0;
}
