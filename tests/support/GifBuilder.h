// GIF streams for the viewer's tests and benchmark, encoded with giflib so
// that they do not depend on our own writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test_support {

struct GifFrameRecipe {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Indices;  // Width x Height, rows top to bottom
    int Delay = 0;                      // hundredths of a second, as stored (0..65535)
    int Disposal = 0;                   // 0..7
    int Transparent = -1;               // transparent index, or -1 for none
};

struct GifRecipe {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Palette;  // 0xRRGGBB, padded to 256 entries with black
    int BackgroundIndex = 0;
    std::vector<GifFrameRecipe> Frames;
};

// The palette of the tests: index 0 red, 1 green, 2 blue, 3 white, 4 yellow,
// 5 black, 9 magenta (the usual transparent index, never expected on screen).
std::vector<std::uint32_t> TestPalette();
// Colour of a palette index of TestPalette().
std::uint32_t TestColour(std::uint8_t index);
// Indices from rows of digits, e.g. "01/10" for a 2 x 2 frame.
std::vector<std::uint8_t> Indices(const std::string& rows);

// A frame of one colour index.
GifFrameRecipe SolidFrame(int left, int top, int width, int height, std::uint8_t index, int disposal = 0,
                          int delay = 10);

// GIF89a bytes of the recipe; throws std::runtime_error when giflib refuses it.
std::vector<std::uint8_t> EncodeGif(const GifRecipe& recipe);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace korvane::test_support
