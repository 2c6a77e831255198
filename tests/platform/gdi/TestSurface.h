// A DIB section in its own memory context, with pixel access by the DIB
// layout, so tests state expectations as colours and indices.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"

namespace korvane::gdi::testing {

class TestSurface {
public:
    TestSurface(int width, int height, int bpp, std::vector<RGBQUAD> colours = {}, bool topDown = true)
        : m_width(width), m_height(height), m_bpp(bpp), m_topDown(topDown)
    {
        BITMAPINFOHEADER header;
        header.biWidth = width;
        header.biHeight = topDown ? -height : height;
        header.biBitCount = static_cast<std::uint16_t>(bpp);
        m_dc = CreateCompatibleDC({});
        m_bitmap = CreateDIBSection(m_dc, header, colours, &m_bits);
        m_old = SelectObject(m_dc, m_bitmap);
        m_stride = ((width * bpp + 31) / 32) * 4;
    }
    ~TestSurface()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    std::uint8_t* bits() const { return m_bits; }
    int stride() const { return m_stride; }

    std::uint8_t* Row(int y) const { return m_bits + std::ptrdiff_t{m_topDown ? y : m_height - 1 - y} * m_stride; }

    // The stored value: an index, a 5-5-5 word, or 0x00RRGGBB.
    std::uint32_t Get(int column, int y) const
    {
        const std::uint8_t* r = Row(y);
        const std::ptrdiff_t x = column;
        switch (m_bpp) {
            case 1:
                return (r[x / 8] >> (7 - x % 8)) & 1;
            case 4:
                return (r[x / 2] >> (x % 2 ? 0 : 4)) & 15;
            case 8:
                return r[x];
            case 16:
                return r[2 * x] | (r[2 * x + 1] << 8);
            case 24:
                return r[3 * x] | (r[3 * x + 1] << 8) | (r[3 * x + 2] << 16);
            default: {
                std::uint32_t v = 0;
                std::memcpy(&v, r + 4 * x, 4);
                return v;
            }
        }
    }

    void Set(int column, int y, std::uint32_t v) const
    {
        std::uint8_t* r = Row(y);
        const std::ptrdiff_t x = column;
        switch (m_bpp) {
            case 1:
                r[x / 8] = static_cast<std::uint8_t>((r[x / 8] & ~(1 << (7 - x % 8))) | ((v & 1) << (7 - x % 8)));
                break;
            case 4: {
                const int shift = x % 2 ? 0 : 4;
                r[x / 2] = static_cast<std::uint8_t>((r[x / 2] & ~(15 << shift)) | ((v & 15) << shift));
                break;
            }
            case 8:
                r[x] = static_cast<std::uint8_t>(v);
                break;
            case 16:
                r[2 * x] = static_cast<std::uint8_t>(v);
                r[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                break;
            case 24:
                r[3 * x] = static_cast<std::uint8_t>(v);
                r[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                r[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
                break;
            default:
                std::memcpy(r + 4 * x, &v, 4);
        }
    }

    void FillWith(std::uint32_t v) const
    {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, v);
    }

private:
    int m_width, m_height, m_bpp;
    bool m_topDown;
    int m_stride = 0;
    HDC m_dc;
    HBITMAP m_bitmap;
    HBITMAP m_old;
    std::uint8_t* m_bits = nullptr;
};

constexpr RGBQUAD Quad(std::uint32_t rgb)
{
    return RGBQUAD{static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8),
                   static_cast<std::uint8_t>(rgb >> 16), 0};
}

}  // namespace korvane::gdi::testing
