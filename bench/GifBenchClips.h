// Deterministic GIF content for the GIF benchmarks: a photo-like still, noise,
// a full-frame animation, a flat image, a screencast of small updates and
// an animation of many small frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::bench {

struct ClipFrame {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint8_t> Indices;  // Width x Height, row by row
    std::uint8_t Disposal = 0;
    bool Transparent = false;
    std::uint8_t TransparentIndex = 0;
    std::int16_t Delay = 0;
    std::vector<std::uint8_t> LocalPalette;  // 256 entries of red, green, blue; empty for the global one
};

struct Clip {
    std::string Name;
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    std::vector<std::uint8_t> Palette;  // 256 entries of red, green, blue
    std::vector<ClipFrame> Frames;

    std::uint64_t PixelCount() const;
};

Clip PhotoClip();        // 1920 x 1080, 256 colours, smooth shading with grain
Clip NoiseClip();        // 1000 x 1000, uniform random indices
Clip AnimationClip();    // 500 x 500, 80 full frames of moving rings
Clip FlatClip();         // 10000 x 1000, one index
Clip ScreencastClip();   // 500 x 500, a desktop then 79 small transparent updates
Clip SmallFramesClip();  // 32 x 24, 200 frames each with a palette of its own

}  // namespace korvane::bench
