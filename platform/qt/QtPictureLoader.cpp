#include "platform/qt/QtPictureLoader.h"

#include <cstring>

#include <QImage>
#include <QImageReader>

#include "platform/qt/QtFileSystem.h"

namespace korvane::platform::qt {
namespace {

std::vector<std::uint32_t> PixelsOf(const QImage& argb)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(argb.width()) * static_cast<std::size_t>(argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(argb.width()),
                    argb.constScanLine(y), static_cast<std::size_t>(argb.width()) * sizeof(std::uint32_t));
    }
    return pixels;
}

gdi::StdPicture BitmapPicture(const QImage& rgb)
{
    gdi::BITMAPINFOHEADER header;
    header.biWidth = rgb.width();
    header.biHeight = -rgb.height();
    header.biBitCount = 32;
    std::uint8_t* bits = nullptr;
    const gdi::HBITMAP bitmap = gdi::CreateDIBSection({}, header, {}, &bits);
    if (!bitmap || bits == nullptr) return {};
    // A top-down 32-bit DIB row is blue, green, red, 0 per pixel: QImage's RGB32 in memory.
    const auto rowBytes = static_cast<std::size_t>(rgb.width()) * 4;
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(bits + static_cast<std::size_t>(y) * rowBytes, rgb.constScanLine(y), rowBytes);
    }
    gdi::StdPicture picture = gdi::OleCreatePictureIndirect(bitmap);
    if (!picture) gdi::DeleteObject(bitmap);
    return picture;
}

}  // namespace

gdi::StdPicture QtPictureLoader::LoadPicture(const std::string& path)
{
    QImageReader reader(QtFileSystem::NativePath(path));
    const QImage image = reader.read();
    if (image.isNull()) return {};
    if (image.hasAlphaChannel()) {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        return gdi::CreateIconPicture(argb.width(), argb.height(), PixelsOf(argb));
    }
    return BitmapPicture(image.convertToFormat(QImage::Format_RGB32));
}

}  // namespace korvane::platform::qt
