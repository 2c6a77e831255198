// korvane-gif resave: a load and a save through the program's own engine.
#include <string>

#include "imaging/gif/cGIF.h"
#include "tools/gif/Commands.h"
#include "tools/support/ToolFiles.h"

namespace korvane::tools {

namespace {

// A frame the load could not make surfaces for cannot be written; the engine
// only says the save failed, so the tool finds which frame it was.
void RequirePixels(const imaging::cGIF& gif, const std::string& file)
{
    for (int n = 1; n <= gif.FramesCount(); ++n) {
        const auto image = gif.FrameDIBXOR(static_cast<std::int16_t>(n));
        if (!image || !image->lpBits())
            throw FileError(DisplayName(file, false), "frame " + std::to_string(n) +
                                                          " has no pixels (there was no memory for them, or its size "
                                                          "is 0); not saved");
    }
}

}  // namespace

int RunResave(const ResaveOptions& options)
{
    imaging::cGIF gif;
    LoadGif(options.in, gif);
    RequirePixels(gif, options.in);
    std::vector<std::uint8_t> bytes;
    if (!gif.SaveToStream(bytes)) throw FileError(DisplayName(options.in, false), "cannot be written as a GIF");
    WriteOutput(options.out, bytes);
    return 0;
}

}  // namespace korvane::tools
