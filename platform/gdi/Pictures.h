// The kinds of picture object: a bitmap the picture owns, an icon of
// alpha-blended 32-bit pixels, and the empty picture.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace korvane::gdi {

class BitmapPicture final : public Picture {
public:
    BitmapPicture(HBITMAP bitmap, int width, int height) : m_bitmap(bitmap), m_width(width), m_height(height) {}
    ~BitmapPicture() override;
    BitmapPicture(const BitmapPicture&) = delete;
    BitmapPicture& operator=(const BitmapPicture&) = delete;

    PictureKind Kind() const override { return PictureKind::Bitmap; }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    HBITMAP Handle() const override { return m_bitmap; }
    std::vector<std::uint32_t> Argb32() const override;

private:
    HBITMAP m_bitmap;
    int m_width;
    int m_height;
};

class EmptyPicture final : public Picture {
public:
    PictureKind Kind() const override { return PictureKind::None; }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    HBITMAP Handle() const override { return {}; }
    std::vector<std::uint32_t> Argb32() const override { return {}; }
};

class IconPicture final : public Picture {
public:
    IconPicture(int width, int height, std::vector<std::uint32_t> argb)
        : m_width(width), m_height(height), m_argb(std::move(argb))
    {
    }

    PictureKind Kind() const override { return PictureKind::Icon; }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    HBITMAP Handle() const override { return {}; }
    std::vector<std::uint32_t> Argb32() const override { return m_argb; }

private:
    int m_width;
    int m_height;
    std::vector<std::uint32_t> m_argb;
};

}  // namespace korvane::gdi
