// Pixel memory of one bitmap in the DIB layout: rows padded to 32-bit words,
// top-down or bottom-up, with a colour table for depths of 8 bits and less.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdi/CheckedNumbers.h"
#include "platform/gdi/GdiTypes.h"

namespace korvane::gdi {

// The colour table of an indexed surface: 2^bpp entries (a 1-bit surface,
// every frame's mask, carries two), none for deeper surfaces. A table is
// never changed once made, only replaced, so surfaces of the same colours
// share one, and a copy taken under the object registry's lock stays as it
// was while a transfer reads it unlocked.
class ColourTable {
public:
    ColourTable() = default;
    // `count` (2, 16 or 256) entries that start with `first`, black where it
    // runs out.
    ColourTable(unsigned count, std::span<const RGBQUAD> first);

    unsigned Count() const { return m_entries ? static_cast<unsigned>(m_entries->size()) : 0; }
    const RGBQUAD& operator[](std::size_t i) const { return (*m_entries)[i]; }
    std::span<const RGBQUAD> Entries() const { return m_entries ? std::span(*m_entries) : std::span<const RGBQUAD>(); }
    // Puts `entries` from `start` on, in a table of its own; entries beyond
    // the count are left out.
    void Replace(unsigned start, std::span<const RGBQUAD> entries);

    friend bool operator==(const ColourTable& a, const ColourTable& b);

private:
    std::shared_ptr<const std::vector<RGBQUAD>> m_entries;
};

bool IsSupportedDepth(int bpp);
// ((width * bpp + 31) / 32) * 4, in 64 bits so no argument can overflow it.
std::int64_t RowBytes(std::int64_t width, int bpp);

class Surface {
public:
    // Memory that reads as zero (when not `zeroed`, memory that may hold
    // anything, for a caller that writes every byte); null for an unsupported
    // depth or size, more than MaxPixelBytes, or when the memory cannot be had.
    // The colour table starts with `colours`, black where they run out.
    static std::shared_ptr<Surface> Make(int width, int height, int bpp, bool topDown, bool zeroed = true,
                                         std::span<const RGBQUAD> colours = {});

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Bpp() const { return m_bpp; }
    bool TopDown() const { return m_topDown; }
    std::size_t Stride() const { return m_stride; }
    std::size_t ByteSize() const { return m_stride * static_cast<std::size_t>(m_height); }
    std::uint8_t* Bits() { return reinterpret_cast<std::uint8_t*>(m_words.get()); }
    const std::uint8_t* Bits() const { return reinterpret_cast<const std::uint8_t*>(m_words.get()); }
    // Row y counted from the top, whatever the memory order.
    std::uint8_t* Row(int y) { return Bits() + RowOffset(y); }
    const std::uint8_t* Row(int y) const { return Bits() + RowOffset(y); }
    // Rows are whole 32-bit words, so 32-bit pixels can be addressed as such.
    std::uint32_t* Row32(int y) { return m_words.get() + RowOffset(y) / 4; }
    const std::uint32_t* Row32(int y) const { return m_words.get() + RowOffset(y) / 4; }

    // Guarded by the object registry's lock: transfers work on a copy.
    ColourTable colours;

    // Only Make has one: a surface and its count live in one allocation.
    class MadeByMake {
        MadeByMake() = default;
        friend class Surface;
    };
    explicit Surface(MadeByMake) {}

private:
    std::size_t RowOffset(int y) const
    {
        const int memoryRow = m_topDown ? y : m_height - 1 - y;
        return static_cast<std::size_t>(memoryRow) * m_stride;
    }

    struct FreeWords {
        FreeWords() : bytes(0) {}
        explicit FreeWords(std::size_t n) : bytes(n) {}
        void operator()(std::uint32_t* words) const;
        std::size_t bytes;
    };
    // From the pixel blocks: memory fresh from the system is not filled
    // again, so pixels never written cost address space, not memory.
    std::unique_ptr<std::uint32_t[], FreeWords> m_words;
    int m_width = 0;
    int m_height = 0;
    int m_bpp = 0;
    bool m_topDown = true;
    std::size_t m_stride = 0;
};

}  // namespace korvane::gdi
