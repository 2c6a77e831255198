// korvane-gif frames: each frame's indices, mask and colours as netpbm files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/gif/cGIF.h"
#include "tools/gif/Commands.h"
#include "tools/support/ToolFiles.h"

namespace korvane::tools {

namespace {

using imaging::cDIB;

std::string FrameName(int n)
{
    char name[16];
    std::snprintf(name, sizeof name, "%03d", n);
    return name;
}

void WriteFile(const std::filesystem::path& path, const std::string& header, const std::vector<std::uint8_t>& body)
{
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), body.begin(), body.end());
    WriteOutput(path.string(), bytes);
}

std::string Header(const char* magic, const cDIB& dib, bool withMax)
{
    return std::string(magic) + "\n" + std::to_string(dib.Width()) + " " + std::to_string(dib.Height()) + "\n" +
           (withMax ? "255\n" : "");
}

const std::uint8_t* Row(const cDIB& dib, std::int32_t y)
{
    return dib.lpBits() + std::ptrdiff_t{y} * dib.BytesPerScanline();
}

// The indices one byte a pixel; anything but an 8-bit surface has none.
std::vector<std::uint8_t> IndexRaster(const cDIB& dib)
{
    std::vector<std::uint8_t> raster;
    if (dib.bpp() != 8) return raster;
    for (std::int32_t y = 0; y < dib.Height(); ++y)
        raster.insert(raster.end(), Row(dib, y), Row(dib, y) + dib.Width());
    return raster;
}

// PBM rows are packed like 1-bit surface rows, leftmost pixel in the top bit,
// padded to a whole byte; 1 is black there and transparent here.
std::vector<std::uint8_t> MaskRaster(const cDIB& dib)
{
    std::vector<std::uint8_t> raster;
    if (dib.bpp() != 1) return raster;
    const std::int32_t rowBytes = (dib.Width() + 7) / 8;
    for (std::int32_t y = 0; y < dib.Height(); ++y)
        raster.insert(raster.end(), Row(dib, y), Row(dib, y) + rowBytes);
    return raster;
}

std::vector<std::uint8_t> ColourRaster(const cDIB& dib, const std::vector<std::uint8_t>& indices)
{
    std::vector<std::uint8_t> table;
    dib.GetPalette(table);
    table.resize(1024, 0);
    std::vector<std::uint8_t> raster;
    raster.reserve(indices.size() * 3);
    for (const std::uint8_t i : indices) {
        const std::size_t at = std::size_t{4} * i;
        raster.insert(raster.end(), {table[at + 2], table[at + 1], table[at]});
    }
    return raster;
}

void WriteFrame(const imaging::cGIF& gif, const std::string& file, std::int16_t n, const std::filesystem::path& dir)
{
    const auto image = gif.FrameDIBXOR(n);
    const auto mask = gif.FrameDIBAND(n);
    if (!image || !mask) throw FileError(file, "frame " + std::to_string(n) + " has no surfaces");
    const std::string base = FrameName(n);
    const std::vector<std::uint8_t> indices = IndexRaster(*image);
    WriteFile(dir / (base + ".index.pgm"), Header("P5", *image, true), indices);
    WriteFile(dir / (base + ".mask.pbm"), Header("P4", *mask, false), MaskRaster(*mask));
    WriteFile(dir / (base + ".ppm"), Header("P6", *image, true), ColourRaster(*image, indices));
}

}  // namespace

int RunFrames(const FramesOptions& options)
{
    imaging::cGIF gif;
    LoadGif(options.file, gif);
    MakeOutputFolder(options.dir);
    // Counted in int: a 16-bit counter would wrap after frame 32767.
    for (int n = 1; n <= gif.FramesCount(); ++n)
        WriteFrame(gif, DisplayName(options.file, false), static_cast<std::int16_t>(n), options.dir);
    return 0;
}

}  // namespace korvane::tools
