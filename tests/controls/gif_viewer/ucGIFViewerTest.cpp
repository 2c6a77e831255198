// The viewer widget on Qt's offscreen platform: input forwarding, Qt
// resources, painting and playback on a real QTimer.
#include <string>
#include <system_error>
#include <vector>

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include "controls/gif_viewer/ucGIFViewer.h"
#include "platform/qt/QtResourceLookup.h"
#include "platform/qt/QtTimer.h"
#include "tests/support/QtTestApp.h"

namespace korvane::controls {
namespace {

void SendMouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

void SendKey(QWidget& widget, int key, const QString& text)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &event);
}

class ucGIFViewerTest : public ::testing::Test {
protected:
    ucGIFViewerTest()
    {
        viewer.resize(12, 6);
        auto record = [this](const char* name) {
            return [this, name](std::int16_t Button, std::int16_t Shift, float x, float y) {
                events.push_back(std::string(name) + " " + std::to_string(Button) + " " + std::to_string(Shift) + " " +
                                 std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
            };
        };
        QObject::connect(&viewer, &ucGIFViewer::MouseDown, record("down"));
        QObject::connect(&viewer, &ucGIFViewer::MouseMove, record("move"));
        QObject::connect(&viewer, &ucGIFViewer::MouseUp, record("up"));
        QObject::connect(&viewer, &ucGIFViewer::Click, [this] { events.push_back("click"); });
        QObject::connect(&viewer, &ucGIFViewer::DblClick, [this] { events.push_back("dblclick"); });
        QObject::connect(&viewer, &ucGIFViewer::KeyPress,
                         [this](std::int16_t KeyAscii) { events.push_back("key " + std::to_string(KeyAscii)); });
    }

    QApplication& app = korvane::test_support::TestApp();
    platform::qt::QtTimerFactory timers;
    platform::qt::QtResourceLookup resources;
    ucGIFViewer viewer{timers, resources};
    std::vector<std::string> events;
};

TEST_F(ucGIFViewerTest, ForwardsMouseInputInClientPixels)
{
    viewer.SetBorderStyle(1);
    SendMouse(viewer, QEvent::MouseButtonPress, {5, 4}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    SendMouse(viewer, QEvent::MouseMove, {6, 4}, Qt::NoButton, Qt::LeftButton | Qt::RightButton, Qt::ControlModifier);
    SendMouse(viewer, QEvent::MouseButtonRelease, {6, 4}, Qt::LeftButton, Qt::NoButton, Qt::AltModifier);
    EXPECT_EQ(events, (std::vector<std::string>{"down 1 1 4,3", "move 3 2 5,3", "up 1 4 5,3", "click"}));
}

TEST_F(ucGIFViewerTest, DoubleClickRaisesDblClickInsteadOfASecondPress)
{
    SendMouse(viewer, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewer, QEvent::MouseButtonRelease, {1, 1}, Qt::LeftButton, Qt::NoButton);
    SendMouse(viewer, QEvent::MouseButtonDblClick, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewer, QEvent::MouseButtonRelease, {1, 1}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(events, (std::vector<std::string>{"down 1 0 1,1", "up 1 0 1,1", "click", "dblclick", "up 1 0 1,1"}));
}

TEST_F(ucGIFViewerTest, OnlyALeftClickOnTheControlIsAClick)
{
    SendMouse(viewer, QEvent::MouseButtonPress, {1, 1}, Qt::RightButton, Qt::RightButton);
    SendMouse(viewer, QEvent::MouseButtonRelease, {1, 1}, Qt::RightButton, Qt::NoButton);
    SendMouse(viewer, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewer, QEvent::MouseButtonRelease, {40, 1}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(events, (std::vector<std::string>{"down 2 0 1,1", "up 2 0 1,1", "down 1 0 1,1", "up 1 0 40,1"}));
}

TEST_F(ucGIFViewerTest, ForwardsCharacterKeysOnly)
{
    SendKey(viewer, Qt::Key_A, "a");
    SendKey(viewer, Qt::Key_Return, "\r");
    SendKey(viewer, Qt::Key_Left, "");
    EXPECT_EQ(events, (std::vector<std::string>{"key 97", "key 13"}));
}

TEST_F(ucGIFViewerTest, DisabledControlRaisesNoInputEvents)
{
    viewer.SetEnabled(false);
    EXPECT_FALSE(viewer.Enabled());
    SendMouse(viewer, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(viewer, QEvent::MouseButtonRelease, {1, 1}, Qt::LeftButton, Qt::NoButton);
    SendKey(viewer, Qt::Key_A, "a");
    EXPECT_TRUE(events.empty());
    viewer.SetEnabled(true);
    EXPECT_TRUE(viewer.Enabled());
}

TEST_F(ucGIFViewerTest, LoadsQtResourcesByTypeAndIdentifier)
{
    EXPECT_EQ(platform::qt::QtResourceLookup::ResourcePath("TWOFRAMES", "GIF"), ":/GIF/TWOFRAMES");
    ASSERT_TRUE(viewer.LoadFromResource("TWOFRAMES", "GIF"));
    EXPECT_EQ(viewer.GIFFrames(), 2);
    EXPECT_EQ(viewer.GIFWidth(), 4);
    EXPECT_THROW(viewer.LoadFromResource("NONE", "GIF"), platform::ResourceNotFoundError);
    EXPECT_THROW(viewer.LoadFromResource("", "GIF"), std::system_error);
    EXPECT_FALSE(viewer.GIFLoaded());
}

TEST_F(ucGIFViewerTest, PaintsThePictureCentredWithItsBorderAndMargins)
{
    viewer.SetBackColor(0xFF0000);  // blue
    viewer.SetBorderStyle(1);
    ASSERT_TRUE(viewer.LoadFromResource("TWOFRAMES", "GIF"));
    const QImage shot = viewer.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(12, 6));
    EXPECT_EQ(shot.pixel(0, 0), qRgb(0, 0, 0)) << "border";
    EXPECT_EQ(shot.pixel(1, 1), qRgb(0, 0, 255)) << "margin";
    // Client 10 x 4: the 4 x 2 picture at (3, 1) in it, so (4, 2) in the widget.
    EXPECT_EQ(shot.pixel(4, 2), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(7, 3), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(8, 3), qRgb(0, 0, 255));
}

TEST_F(ucGIFViewerTest, PlaysOnItsTimer)
{
    std::vector<std::int16_t> frames;
    QEventLoop loop;
    QObject::connect(&viewer, &ucGIFViewer::GIFFrameRendered, [&](std::int16_t Frame) {
        frames.push_back(Frame);
        if (frames.size() == 3) loop.quit();
    });
    viewer.SetAutoPlay(true);
    ASSERT_TRUE(viewer.LoadFromResource("TWOFRAMES", "GIF"));
    EXPECT_TRUE(viewer.GIFIsPlaying());
    QTimer timeout;  // a player that stops fails the test instead of hanging it
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(5000);
    loop.exec();
    EXPECT_EQ(frames, (std::vector<std::int16_t>{1, 2, 1}));
    viewer.Pause();
    EXPECT_FALSE(viewer.GIFIsPlaying());
}

}  // namespace
}  // namespace korvane::controls
