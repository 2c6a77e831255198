#include "tests/support/GifTestSupport.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace korvane::test_support {

namespace {

const std::uint8_t* Row(const imaging::cDIB& dib, int y)
{
    return dib.lpBits() + static_cast<std::ptrdiff_t>(y) * dib.BytesPerScanline();
}

std::uint8_t* At32(const imaging::cDIB& dib, int x, int y)
{
    return dib.lpBits() + static_cast<std::ptrdiff_t>(y) * dib.BytesPerScanline() + std::ptrdiff_t{4} * x;
}

}  // namespace

Bytes ReadIndices(const imaging::cDIB& dib)
{
    Bytes out;
    for (int y = 0; y < dib.Height(); ++y)
        out.insert(out.end(), Row(dib, y), Row(dib, y) + dib.Width());
    return out;
}

void WriteIndices(imaging::cDIB& dib, std::span<const std::uint8_t> indices)
{
    for (int y = 0; y < dib.Height(); ++y) {
        std::copy_n(indices.begin() + static_cast<std::ptrdiff_t>(y) * dib.Width(), dib.Width(),
                    dib.lpBits() + static_cast<std::ptrdiff_t>(y) * dib.BytesPerScanline());
    }
}

Bytes ReadMaskBits(const imaging::cDIB& dib)
{
    Bytes out;
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x)
            out.push_back((Row(dib, y)[x / 8] >> (7 - x % 8)) & 1);
    }
    return out;
}

Bytes ReadColourTable(const imaging::cDIB& dib)
{
    Bytes table;
    dib.GetPalette(table);
    return table;
}

std::uint32_t Pixel32(const imaging::cDIB& dib, int x, int y)
{
    std::uint32_t value = 0;
    std::memcpy(&value, At32(dib, x, y), sizeof value);
    return value;
}

void SetPixel32(const imaging::cDIB& dib, int x, int y, std::uint32_t value)
{
    std::memcpy(At32(dib, x, y), &value, sizeof value);
}

std::string TestPath(const std::string& name)
{
    const std::filesystem::path dir = std::filesystem::path(KORVANE_TEST_OUTPUT_DIR) / "gif";
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / name;
    std::filesystem::remove_all(path);
    return path.string();
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes NoiseIndices(std::size_t count, unsigned limit, std::uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes out(count);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(random() % limit);
    return out;
}

}  // namespace korvane::test_support
