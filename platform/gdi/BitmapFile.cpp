#include "platform/gdi/BitmapFile.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/files/NativePath.h"
#include "platform/gdi/ColourConversion.h"

namespace korvane::gdi {

namespace {

constexpr std::size_t FileHeaderBytes = 14;
constexpr std::uint32_t MinInfoBytes = 40;
constexpr std::uint32_t MaxInfoBytes = 124;  // the version 5 header
constexpr std::size_t MaskBytes = 12;
constexpr std::uint32_t BiRgb = 0;
constexpr std::uint32_t BiBitfields = 3;
// Everything before the pixels that is ever read: both headers, masks, table.
constexpr std::size_t MaxPrefixBytes = FileHeaderBytes + MaxInfoBytes + MaskBytes + std::size_t{256} * 4;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
           (std::uint32_t{b[at + 3]} << 24);
}

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::int32_t I32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::int32_t>(U32(b, at));
}

struct Header {
    std::uint32_t pixelOffset = 0;
    std::uint32_t infoBytes = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bpp = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

std::optional<Header> ParseHeader(const std::vector<std::uint8_t>& b)
{
    if (b.size() < FileHeaderBytes + MinInfoBytes || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    Header h;
    h.pixelOffset = U32(b, 10);
    h.infoBytes = U32(b, 14);
    h.width = I32(b, 18);
    h.height = I32(b, 22);
    h.planes = U16(b, 26);
    h.bpp = U16(b, 28);
    h.compression = U32(b, 30);
    h.coloursUsed = U32(b, 46);
    return h;
}

bool IsAcceptable(const Header& h)
{
    if (h.infoBytes < MinInfoBytes || h.infoBytes > MaxInfoBytes || h.planes != 1) return false;
    if (h.width < 1 || h.height == 0 || h.height == INT_MIN || !IsSupportedDepth(h.bpp)) return false;
    if (h.compression == BiRgb) return true;
    return h.compression == BiBitfields && (h.bpp == 16 || h.bpp == 32);
}

// One colour channel of a bit-field pixel.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    std::uint32_t Value8(std::uint32_t pixel) const
    {
        if (max == 0) return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        return static_cast<std::uint32_t>((v * 255 + max / 2) / max);
    }
};

std::optional<Channel> ChannelOf(std::uint32_t mask)
{
    if (mask == 0) return Channel{};
    const int shift = std::countr_zero(mask);
    const std::uint32_t max = mask >> shift;
    if ((max & (max + 1)) != 0) return std::nullopt;  // bits not contiguous
    return Channel{mask, shift, max};
}

// Rewrites bit-field pixels into the surface's own layout, unless they are in it.
bool ConvertBitfields(Surface& s, const std::vector<std::uint8_t>& b, std::size_t masksAt)
{
    const std::uint32_t masks[3] = {U32(b, masksAt), U32(b, masksAt + 4), U32(b, masksAt + 8)};
    const bool is16 = s.Bpp() == 16;
    const std::uint32_t native[3] = {is16 ? 0x7C00u : 0xFF0000u, is16 ? 0x03E0u : 0xFF00u, is16 ? 0x001Fu : 0xFFu};
    if (std::equal(masks, masks + 3, native)) return true;
    std::optional<Channel> channels[3];
    for (int i = 0; i < 3; ++i) {
        if (is16 && masks[i] > 0xFFFF) return false;
        channels[i] = ChannelOf(masks[i]);
        if (!channels[i]) return false;
    }
    const std::size_t bytesPerPixel = is16 ? 2 : 4;
    for (int y = 0; y < s.Height(); ++y) {
        std::uint8_t* p = s.Row(y);
        for (int x = 0; x < s.Width(); ++x, p += bytesPerPixel) {
            std::uint32_t v = 0;
            std::memcpy(&v, p, bytesPerPixel);
            std::uint32_t colour =
                (channels[0]->Value8(v) << 16) | (channels[1]->Value8(v) << 8) | channels[2]->Value8(v);
            if (is16) colour = Pack555(colour);
            std::memcpy(p, &colour, bytesPerPixel);
        }
    }
    return true;
}

}  // namespace

std::shared_ptr<Surface> ReadBitmapFile(const std::string& fileName)
{
    std::ifstream in(platform::NativePath(fileName), std::ios::binary);
    if (!in) return nullptr;
    in.seekg(0, std::ios::end);
    const std::streamoff fileLength = in.tellg();
    if (fileLength <= 0) return nullptr;
    in.seekg(0);
    std::vector<std::uint8_t> prefix(std::min<std::size_t>(static_cast<std::size_t>(fileLength), MaxPrefixBytes));
    if (!in.read(reinterpret_cast<char*>(prefix.data()), static_cast<std::streamsize>(prefix.size()))) return nullptr;

    const std::optional<Header> h = ParseHeader(prefix);
    if (!h || !IsAcceptable(*h)) return nullptr;
    const bool bitfields = h->compression == BiBitfields;
    const std::size_t masksAt = FileHeaderBytes + MinInfoBytes;
    // A 40-byte header is followed by the masks; later headers hold them.
    const std::size_t tableAt = FileHeaderBytes + h->infoBytes + (bitfields && h->infoBytes < 52 ? MaskBytes : 0);
    const unsigned tableSize = h->bpp <= 8 ? 1u << h->bpp : 0u;
    const unsigned colours = h->coloursUsed == 0 ? tableSize : std::min<std::uint32_t>(h->coloursUsed, tableSize);
    if (tableAt + std::size_t{colours} * 4 > prefix.size()) return nullptr;

    const std::int64_t rows = h->height < 0 ? -std::int64_t{h->height} : h->height;
    const std::int64_t pixelBytes = RowBytes(h->width, h->bpp) * rows;
    if (pixelBytes > MaxPixelBytes || h->pixelOffset < FileHeaderBytes + MinInfoBytes ||
        h->pixelOffset + pixelBytes > fileLength)
        return nullptr;

    std::vector<RGBQUAD> table(colours);
    for (unsigned i = 0; i < colours; ++i) {
        const std::size_t at = tableAt + 4 * std::size_t{i};
        table[i] = RGBQUAD{prefix[at], prefix[at + 1], prefix[at + 2], 0};
    }
    std::shared_ptr<Surface> surface =
        Surface::Make(h->width, static_cast<int>(rows), h->bpp, h->height < 0, true, table);
    if (!surface) return nullptr;
    in.seekg(h->pixelOffset);
    if (!in.read(reinterpret_cast<char*>(surface->Bits()), static_cast<std::streamsize>(pixelBytes))) return nullptr;
    if (bitfields && !ConvertBitfields(*surface, prefix, masksAt)) return nullptr;
    return surface;
}

}  // namespace korvane::gdi
