#include "platform/qt/QtPicture.h"

#include <cstring>

namespace korvane::platform::qt {

QtPicture::QtPicture(const QImage& normal, const QImage& doubleSize)
    : normal_(normal.convertToFormat(QImage::Format_ARGB32)),
      doubleSize_(doubleSize.size() == normal_.size() * 2 ? doubleSize.convertToFormat(QImage::Format_ARGB32)
                                                          : QImage())
{
    normal_.setDevicePixelRatio(1.0);
    if (!doubleSize_.isNull()) doubleSize_.setDevicePixelRatio(2.0);
}

std::vector<std::uint32_t> QtPicture::Argb32() const
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(Width()) * static_cast<std::size_t>(Height()));
    for (int y = 0; y < Height(); ++y) {
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width()),
                    normal_.constScanLine(y), static_cast<std::size_t>(Width()) * sizeof(std::uint32_t));
    }
    return pixels;
}

QImage QtPicture::ImageFor(qreal devicePixelRatio) const
{
    return devicePixelRatio > 1.0 && !doubleSize_.isNull() ? doubleSize_ : normal_;
}

gdi::StdPicture LoadArtwork(const QString& name)
{
    const QImage normal(name + ".png");
    if (normal.isNull()) return {};
    return std::make_shared<QtPicture>(normal, QImage(name + "@2x.png"));
}

QImage ToQImage(const gdi::StdPicture& picture, qreal devicePixelRatio)
{
    if (!picture || picture->Width() <= 0 || picture->Height() <= 0) return {};
    if (const auto* own = dynamic_cast<const QtPicture*>(picture.get())) return own->ImageFor(devicePixelRatio);
    const std::vector<std::uint32_t> pixels = picture->Argb32();
    const auto expected = static_cast<std::size_t>(picture->Width()) * static_cast<std::size_t>(picture->Height());
    if (pixels.size() != expected) return {};
    QImage image(picture->Width(), picture->Height(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(image.scanLine(y),
                    pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width()),
                    static_cast<std::size_t>(image.width()) * sizeof(std::uint32_t));
    }
    return image;
}

}  // namespace korvane::platform::qt
