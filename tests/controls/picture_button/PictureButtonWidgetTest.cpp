#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "controls/picture_button/PictureButton.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/QtPointer.h"
#include "platform/qt/QtTimer.h"
#include "tests/support/QtTestApp.h"

namespace korvane::controls {
namespace {

gdi::StdPicture Solid(QColor colour, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return std::make_shared<platform::qt::QtPicture>(image);
}

// The real widget on the offscreen platform, with the Qt pointer and timers.
class PictureButtonWidgetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        korvane::test_support::TestApp();
        host_.resize(300, 200);
        button_ = new PictureButton(pointer_, timers_, &host_);
        button_->move(50, 50);
        button_->Core().SetPicture(Solid(Qt::red, {40, 20}));
        button_->Core().SetPictureHover(Solid(Qt::green, {40, 20}));
        button_->Core().SetPictureDown(Solid(Qt::blue, {44, 24}));
        PictureButtonEvents& events = button_->Events();
        events.Click = [this] { log_.push_back("Click"); };
        events.MouseEnter = [this] { log_.push_back("MouseEnter"); };
        events.MouseLeave = [this] { log_.push_back("MouseLeave"); };
        events.MouseDown = [this](std::int16_t& b, std::int16_t&, float& x, float& y) {
            log_.push_back("MouseDown " + std::to_string(b) + " " + std::to_string(int(x)) + "," +
                           std::to_string(int(y)));
        };
        events.MouseUp = [this](std::int16_t& b, std::int16_t&, float&, float&) {
            log_.push_back("MouseUp " + std::to_string(b));
        };
        host_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host_));
    }

    void PointerAt(QPoint inButton)
    {
        QCursor::setPos(button_->mapToGlobal(inButton));
        QTest::mouseMove(button_, inButton);
    }
    QRgb ShownColour() { return button_->grab().toImage().pixel(2, 2) & 0xFFFFFFu; }

    QWidget host_;
    PictureButton* button_ = nullptr;
    platform::qt::QtPointer pointer_;
    platform::qt::QtTimerFactory timers_;
    std::vector<std::string> log_;
};

TEST_F(PictureButtonWidgetTest, RealMouseInputDrivesTheStates)
{
    EXPECT_EQ(button_->size(), QSize(40, 20));
    EXPECT_EQ(ShownColour(), 0xFF0000u);

    PointerAt({10, 10});
    EXPECT_EQ(button_->Core().State(), ButtonState::Hover);
    EXPECT_EQ(ShownColour(), 0x00FF00u);

    QTest::mousePress(button_, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(button_->Core().State(), ButtonState::Down);
    EXPECT_EQ(button_->size(), QSize(44, 24)) << "the down picture is larger";
    EXPECT_EQ(ShownColour(), 0x0000FFu);
    QTest::mouseRelease(button_, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(button_->Core().State(), ButtonState::Hover);

    QCursor::setPos(host_.mapToGlobal(QPoint(250, 150)));
    // The hover poll notices on its next tick; a loaded machine may delay it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return button_->Core().State() == ButtonState::Normal; }, 5000));
    EXPECT_FALSE(button_->Core().Polling());
    EXPECT_EQ(log_,
              (std::vector<std::string>{"MouseEnter", "MouseDown 1 150,150", "MouseUp 1", "Click", "MouseLeave"}));
}

TEST_F(PictureButtonWidgetTest, ReleasingOutsideIsNoClick)
{
    PointerAt({10, 10});
    QTest::mousePress(button_, Qt::LeftButton, {}, {10, 10});
    QCursor::setPos(host_.mapToGlobal(QPoint(250, 150)));
    QTest::mouseRelease(button_, Qt::LeftButton, {}, {200, 100});
    EXPECT_EQ(button_->Core().State(), ButtonState::Normal);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "Click"), 0);
}

TEST_F(PictureButtonWidgetTest, DoubleClicksAsQtDeliversThem)
{
    button_->Events().DblClick = [this] { log_.push_back("DblClick"); };
    PointerAt({10, 10});
    log_.clear();
    // Qt turns the second press of a double click into a double-click event.
    const auto send = [this](QEvent::Type type, Qt::MouseButton button) {
        const QPointF at(10, 10);
        QMouseEvent event(type, at, button_->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(button_, &event);
    };
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        send(QEvent::MouseButtonPress, button);
        send(QEvent::MouseButtonRelease, button);
        send(QEvent::MouseButtonDblClick, button);
        send(QEvent::MouseButtonRelease, button);
    }
    EXPECT_EQ(log_, (std::vector<std::string>{"MouseDown 1 150,150", "MouseUp 1", "Click", "DblClick", "MouseUp 1",
                                              "MouseDown 2 150,150", "MouseUp 2", "MouseDown 2 150,150", "MouseUp 2"}));
    EXPECT_EQ(button_->Core().State(), ButtonState::Hover);
}

TEST_F(PictureButtonWidgetTest, TheHostCannotResizeIt)
{
    button_->resize(200, 100);
    EXPECT_EQ(button_->size(), QSize(40, 20));
}

TEST_F(PictureButtonWidgetTest, SpaceAndEnterClickTheFocusedButton)
{
    button_->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button_, Qt::Key_Space);
    QTest::keyClick(button_, Qt::Key_Return);
    QTest::keyClick(button_, Qt::Key_A);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "Click"), 2);
    EXPECT_EQ(button_->focusPolicy(), Qt::StrongFocus);
}

}  // namespace
}  // namespace korvane::controls
