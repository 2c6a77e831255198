#include "tests/support/GifBuilder.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <stdexcept>

#include <gif_lib.h>

#include "tests/support/GiflibMemory.h"

namespace korvane::test_support {
namespace {

void Check(int result, const char* what)
{
    if (result != GIF_OK) throw std::runtime_error(std::string("giflib: ") + what);
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

std::unique_ptr<ColorMapObject, MapDeleter> MakeColourMap(const std::vector<std::uint32_t>& palette)
{
    GifColorType colours[256] = {};
    for (std::size_t i = 0; i < std::min<std::size_t>(palette.size(), 256); ++i) {
        colours[i].Red = static_cast<GifByteType>(palette[i] >> 16);
        colours[i].Green = static_cast<GifByteType>(palette[i] >> 8);
        colours[i].Blue = static_cast<GifByteType>(palette[i]);
    }
    return std::unique_ptr<ColorMapObject, MapDeleter>(GifMakeMapObject(256, colours));
}

void PutFrame(GifFileType* gif, const GifFrameRecipe& frame)
{
    GraphicsControlBlock control{};
    control.DisposalMode = frame.Disposal;
    control.UserInputFlag = false;
    control.DelayTime = frame.Delay;
    control.TransparentColor = frame.Transparent < 0 ? NO_TRANSPARENT_COLOR : frame.Transparent;
    GifByteType extension[4];
    const auto size = EGifGCBToExtension(&control, extension);
    Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(size), extension), "extension");
    Check(EGifPutImageDesc(gif, frame.Left, frame.Top, frame.Width, frame.Height, false, nullptr), "image");
    if (frame.Indices.size() != static_cast<std::size_t>(frame.Width) * static_cast<std::size_t>(frame.Height))
        throw std::runtime_error("frame indices do not match its size");
    std::vector<GifPixelType> row(static_cast<std::size_t>(frame.Width));
    for (int y = 0; y < frame.Height; ++y) {
        const auto start = frame.Indices.begin() + static_cast<std::ptrdiff_t>(y) * frame.Width;
        std::copy(start, start + frame.Width, row.begin());
        Check(EGifPutLine(gif, row.data(), frame.Width), "line");
    }
}

}  // namespace

std::vector<std::uint32_t> TestPalette()
{
    std::vector<std::uint32_t> palette(256, 0);
    palette[0] = 0xFF0000;
    palette[1] = 0x00FF00;
    palette[2] = 0x0000FF;
    palette[3] = 0xFFFFFF;
    palette[4] = 0xFFFF00;
    palette[5] = 0x000000;
    palette[9] = 0xFF00FF;
    return palette;
}

std::uint32_t TestColour(std::uint8_t index)
{
    return TestPalette()[index];
}

std::vector<std::uint8_t> Indices(const std::string& rows)
{
    std::vector<std::uint8_t> indices;
    for (const char c : rows) {
        if (c >= '0' && c <= '9') indices.push_back(static_cast<std::uint8_t>(c - '0'));
    }
    return indices;
}

GifFrameRecipe SolidFrame(int left, int top, int width, int height, std::uint8_t index, int disposal, int delay)
{
    GifFrameRecipe frame;
    frame.Left = left;
    frame.Top = top;
    frame.Width = width;
    frame.Height = height;
    frame.Indices.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), index);
    frame.Disposal = disposal;
    frame.Delay = delay;
    return frame;
}

std::vector<std::uint8_t> EncodeGif(const GifRecipe& recipe)
{
    std::vector<std::uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, korvane::test_support::GiflibAppendMemory, &error);
    if (gif == nullptr) throw std::runtime_error("giflib: open");
    EGifSetGifVersion(gif, true);
    const auto map = MakeColourMap(recipe.Palette);
    try {
        Check(EGifPutScreenDesc(gif, recipe.Width, recipe.Height, 8, recipe.BackgroundIndex, map.get()), "screen");
        for (const GifFrameRecipe& frame : recipe.Frames)
            PutFrame(gif, frame);
    } catch (...) {
        EGifCloseFile(gif, &error);
        throw;
    }
    Check(EGifCloseFile(gif, &error), "close");
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace korvane::test_support
