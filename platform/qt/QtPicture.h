// Picture objects backed by Qt images, and the bridge that shows any picture
// object with Qt. A QtPicture may carry a second image at twice the size, so
// that artwork stays sharp on screens scaled to 200 %.
#pragma once

#include <QImage>

#include "platform/gdi/gdi.h"

namespace korvane::platform::qt {

class QtPicture final : public gdi::Picture {
public:
    // `doubleSize`, when given, is the same picture at twice the width and height.
    explicit QtPicture(const QImage& normal, const QImage& doubleSize = {});

    gdi::PictureKind Kind() const override { return gdi::PictureKind::Icon; }
    int Width() const override { return normal_.width(); }
    int Height() const override { return normal_.height(); }
    gdi::HBITMAP Handle() const override { return {}; }
    std::vector<std::uint32_t> Argb32() const override;

    // The sharpest image for a screen with `devicePixelRatio`, tagged with its ratio.
    QImage ImageFor(qreal devicePixelRatio) const;

private:
    QImage normal_;
    QImage doubleSize_;
};

// Reads "name.png" and, when present, "name@2x.png" (Qt resource paths work).
// Empty when the 1x image cannot be read.
gdi::StdPicture LoadArtwork(const QString& name);

// `picture` as an image for a screen with `devicePixelRatio`; a null image for an empty picture.
QImage ToQImage(const gdi::StdPicture& picture, qreal devicePixelRatio);

}  // namespace korvane::platform::qt
