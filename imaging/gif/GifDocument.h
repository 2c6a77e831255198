// The fields of one GIF document, shared by the model, the reader, the writer
// and frame rendering. cGIF wraps it with the checked public interface.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/gif/FrameRecord.h"

namespace korvane::imaging {

// The logical screen descriptor as it follows the 6-byte header of a stream.
struct LogicalScreenDescriptor {
    std::int16_t ScreenWidth = 0;
    std::int16_t ScreenHeight = 0;
    std::uint8_t PackedFields = 0;  // kept raw
    std::uint8_t ScreenBackgroundColorIndex = 0;
    std::uint8_t PixelAspect = 0;  // kept raw
};

struct GifDocument {
    LogicalScreenDescriptor LogicalScreen;
    std::int16_t AnimationLoops = 0;
    bool GlobalPaletteExists = false;
    bool GlobalPaletteSorted = false;
    std::int16_t GlobalPaletteEntries = 0;
    PaletteBytes GlobalPalette{};
    // Slot n of the 1-based table is Frames[n - 1]. A new document has no
    // slots; once reset it always has at least one.
    std::vector<FrameRecord> Frames;
    std::int16_t FramesCount = 0;

    // Back to empty with exactly one empty slot. The palette array stays in
    // place, so addresses handed out for it remain valid.
    void Reset();
};

}  // namespace korvane::imaging
