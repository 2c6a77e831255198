#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/qt/QtPicture.h"
#include "platform/qt/QtPictureLoader.h"
#include "tests/support/QtTestApp.h"

namespace korvane::platform::qt {
namespace {

class QtPictureLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { korvane::test_support::TestApp(); }
    std::string Save(const QImage& image, const QString& name)
    {
        EXPECT_TRUE(image.save(dir_.filePath(name)));
        return QDir::toNativeSeparators(dir_.path()).toStdString() + "\\" + name.toStdString();
    }

    QTemporaryDir dir_;
    QtPictureLoader loader_;
};

TEST_F(QtPictureLoaderTest, OpaqueImagesBecomeBitmapPictures)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    image.setPixel(2, 1, qRgb(200, 100, 50));
    const gdi::StdPicture picture = loader_.LoadPicture(Save(image, "opaque.bmp"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Kind(), gdi::PictureKind::Bitmap);
    EXPECT_TRUE(picture->Handle());
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(picture->Height(), 2);
    const auto pixels = picture->Argb32();
    ASSERT_EQ(pixels.size(), 6u);
    EXPECT_EQ(pixels[0] & 0xFFFFFFu, 0x0A141Eu);
    EXPECT_EQ(pixels[5] & 0xFFFFFFu, 0xC86432u);
    EXPECT_EQ(ToQImage(picture, 1.0).pixel(2, 1) & 0xFFFFFFu, 0xC86432u);
}

TEST_F(QtPictureLoaderTest, TransparentImagesKeepTheirAlpha)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(1, 1, qRgba(255, 0, 0, 255));
    const gdi::StdPicture picture = loader_.LoadPicture(Save(image, "alpha.png"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Kind(), gdi::PictureKind::Icon);
    const auto pixels = picture->Argb32();
    EXPECT_EQ(pixels[0] >> 24, 0u);
    EXPECT_EQ(pixels[5], 0xFFFF0000u);
}

TEST_F(QtPictureLoaderTest, NothingForMissingOrBrokenFiles)
{
    EXPECT_FALSE(loader_.LoadPicture("C:\\nowhere\\banner.bmp"));
    QFile broken(dir_.filePath("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG not really");
    broken.close();
    EXPECT_FALSE(loader_.LoadPicture(dir_.filePath("broken.png").toStdString()));
}

TEST(QtPicture, ServesTheSharperImageOnScaledScreens)
{
    QImage normal(2, 2, QImage::Format_ARGB32);
    normal.fill(Qt::red);
    QImage twice(4, 4, QImage::Format_ARGB32);
    twice.fill(Qt::blue);
    const auto picture = std::make_shared<QtPicture>(normal, twice);
    EXPECT_EQ(picture->Width(), 2);
    EXPECT_EQ(picture->ImageFor(1.0).size(), QSize(2, 2));
    EXPECT_EQ(picture->ImageFor(2.0).size(), QSize(4, 4));
    EXPECT_EQ(picture->ImageFor(2.0).devicePixelRatio(), 2.0);
    EXPECT_EQ(picture->Argb32(), std::vector<std::uint32_t>(4, 0xFFFF0000u));
    // A second image of the wrong size is not taken for the 2x one.
    EXPECT_EQ(QtPicture(normal, normal).ImageFor(2.0).size(), QSize(2, 2));
}

}  // namespace
}  // namespace korvane::platform::qt
