#include "imaging/gif/GifDocument.h"

namespace korvane::imaging {

void GifDocument::Reset()
{
    LogicalScreen = {};
    AnimationLoops = 0;
    GlobalPaletteExists = false;
    GlobalPaletteSorted = false;
    GlobalPaletteEntries = 0;
    GlobalPalette.fill(0);
    Frames.assign(1, FrameRecord{});
    FramesCount = 0;
}

}  // namespace korvane::imaging
