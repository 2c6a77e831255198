// The animated banner of the main window: the ucGIF viewer set up from the
// branding record, played tick by tick through the fake timers, on the
// offscreen platform. Captures of the banner go to the test output folder.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/BrandingRecord.h"
#include "app/fMain.h"
#include "controls/gif_viewer/ucGIFViewer.h"
#include "tests/platform/fakes/FakeServices.h"
#include "tests/support/GifBuilder.h"
#include "tests/support/QtTestApp.h"

namespace korvane::app {
namespace {

using controls::ucGIFViewer;
namespace gifs = test_support;

const QRect kBannerArea(16, 8, 375, 60);

// `text` as the record stores it, with four blanks as the key.
std::string Encoded(const std::string& text)
{
    std::string stored = "   ";
    for (const char c : text)
        stored.push_back(static_cast<char>(c + 32));
    return stored + " ";
}

// 100 x 40: red, then a green square over it, then a blue bar; 70, 80 and 90 ms.
std::vector<std::uint8_t> BannerGif()
{
    gifs::GifRecipe recipe;
    recipe.Width = 100;
    recipe.Height = 40;
    recipe.Palette = gifs::TestPalette();
    recipe.Frames = {gifs::SolidFrame(0, 0, 100, 40, 0, 1, 7), gifs::SolidFrame(10, 10, 20, 20, 1, 1, 8),
                     gifs::SolidFrame(0, 30, 100, 10, 2, 1, 9)};
    return gifs::EncodeGif(recipe);
}

class fMainBannerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        korvane::test_support::TestApp();
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        // The record is read through the fake files, the GIF from the real folder.
        ASSERT_TRUE(folder_.isValid());
        fakes_.files.programFolder = folder_.path().toStdString();
    }
    void TearDown() override
    {
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Brand(bool animation, const std::string& bannerFile)
    {
        BrandingRecord record;
        record.CompanyText = Encoded("Slim Co");
        record.TitleText = Encoded("Slim BMI");
        record.LinkTarget = Encoded("https://slim.example");
        record.ShowAnimation = animation ? 1 : 0;
        record.BannerFile = Encoded(bannerFile);
        fakes_.files.files[fakes_.files.programFolder + "\\4.dat"] = SerializeBrandingRecord(record);
    }
    void WriteBanner() { gifs::WriteBytes(folder_.filePath("banner.gif").toStdString(), BannerGif()); }
    ucGIFViewer& Open()
    {
        window_ = std::make_unique<fMain>(fakes_.services());
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        auto* viewer = window_->findChild<ucGIFViewer*>("ucGIF");
        EXPECT_NE(viewer, nullptr);
        return *viewer;
    }
    // The viewer is the window's first control, so its frame timer is the first made.
    platform::fakes::FakeTimer& FrameTimer() { return *fakes_.timers.made.at(0); }
    QImage Capture(ucGIFViewer& viewer, const char* name)
    {
        QImage shot = viewer.grab().toImage();
        QDir().mkpath(KORVANE_TEST_OUTPUT_DIR);
        shot.save(QString(KORVANE_TEST_OUTPUT_DIR) + "/" + name);
        return shot;
    }

    QTemporaryDir folder_;
    platform::fakes::FakeServices fakes_;
    std::unique_ptr<fMain> window_;
};

TEST_F(fMainBannerTest, WithoutARecordTheViewerIsMovedOverTheBannerAndStaysHidden)
{
    ucGIFViewer& viewer = Open();
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.geometry(), kBannerArea);
    EXPECT_TRUE(viewer.AutoPlay());
    EXPECT_FALSE(viewer.GIFLoaded());
}

TEST_F(fMainBannerTest, AnimationPlaysFromFrameOneFittedAndCentred)
{
    Brand(true, "banner.gif");
    WriteBanner();
    ucGIFViewer& viewer = Open();
    ASSERT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.geometry(), kBannerArea);
    EXPECT_EQ(window_->focusWidget(), &viewer);
    EXPECT_EQ(viewer.GIFFrames(), 3);
    EXPECT_TRUE(viewer.GIFIsPlaying());
    EXPECT_EQ(viewer.GIFCurrentFrame(), 1);
    ASSERT_TRUE(FrameTimer().enabled);
    EXPECT_EQ(FrameTimer().interval, 1);

    // The 100 x 40 picture at its natural size, centred in 375 x 60: (137, 10) to (236, 49).
    const QRgb face = qRgb(192, 192, 192);
    FrameTimer().Fire();
    EXPECT_EQ(FrameTimer().interval, 70);
    QImage shot = Capture(viewer, "banner-tick1.png");
    EXPECT_EQ(shot.pixel(137, 10), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(236, 49), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(136, 10), face);
    EXPECT_EQ(shot.pixel(237, 49), face);
    EXPECT_EQ(shot.pixel(137, 50), face);

    FrameTimer().Fire();
    shot = Capture(viewer, "banner-tick2.png");
    EXPECT_EQ(shot.pixel(137 + 15, 10 + 15), qRgb(0, 255, 0));
    EXPECT_EQ(shot.pixel(137 + 35, 10 + 15), qRgb(255, 0, 0));

    FrameTimer().Fire();
    EXPECT_EQ(FrameTimer().interval, 90);
    shot = Capture(viewer, "banner-tick3.png");
    EXPECT_EQ(shot.pixel(137 + 15, 10 + 15), qRgb(0, 255, 0));
    EXPECT_EQ(shot.pixel(137 + 50, 10 + 35), qRgb(0, 0, 255));
    EXPECT_EQ(viewer.GIFCurrentFrame(), 1) << "the animation loops";
    // In the window the animation lies above the banner text.
    const QImage window = window_->grab().toImage();
    window.save(QString(KORVANE_TEST_OUTPUT_DIR) + "/banner-window.png");
    EXPECT_EQ(window.pixel(kBannerArea.left() + 137 + 50, kBannerArea.top() + 10 + 35), qRgb(0, 0, 255));
    EXPECT_EQ(window.pixel(kBannerArea.left() + 5, kBannerArea.top() + 5), face);
}

TEST_F(fMainBannerTest, ClickOnTheAnimationOpensTheLink)
{
    Brand(true, "banner.gif");
    WriteBanner();
    ucGIFViewer& viewer = Open();
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(150, 20));
    EXPECT_EQ(fakes_.shell.opened, (std::vector<std::string>{"https://slim.example"}));
}

TEST_F(fMainBannerTest, MissingBannerFileShowsTheBackColourOnly)
{
    Brand(true, "missing.gif");
    ucGIFViewer& viewer = Open();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_FALSE(viewer.GIFLoaded());
    EXPECT_FALSE(viewer.GIFIsPlaying());
    const QImage shot = Capture(viewer, "banner-missing.png");
    EXPECT_EQ(shot.pixel(187, 30), qRgb(192, 192, 192));
}

// A GIF the document reads but no surface can hold (two frames on a
// 32767 x 32767 screen): the remaining steps still run one by one.
TEST_F(fMainBannerTest, ABannerTheViewerCannotShowStillTakesTheFocus)
{
    Brand(true, "huge.gif");
    gifs::GifRecipe huge;
    huge.Width = 32767;
    huge.Height = 32767;
    huge.Palette = gifs::TestPalette();
    huge.Frames = {gifs::SolidFrame(0, 0, 10, 10, 0, 1, 7), gifs::SolidFrame(0, 0, 10, 10, 1, 1, 8)};
    gifs::WriteBytes(folder_.filePath("huge.gif").toStdString(), gifs::EncodeGif(huge));
    ucGIFViewer& viewer = Open();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(window_->focusWidget(), &viewer);
    EXPECT_FALSE(viewer.GIFLoaded());
    EXPECT_FALSE(viewer.GIFIsPlaying());
}

}  // namespace
}  // namespace korvane::app
