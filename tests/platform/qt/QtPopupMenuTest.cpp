#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt/QtPopupMenu.h"
#include "tests/support/QtTestApp.h"

namespace korvane::platform::qt {
namespace {

using korvane::test_support::TestApp;

// Runs `act` on the menu once it is open; `seen` gets its geometry. It has to
// live until the menu is closed.
class WhenOpen {
public:
    WhenOpen(std::function<void(QMenu&)> act, QRect& seen)
    {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [act = std::move(act), &seen] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            seen = menu->geometry();
            act(*menu);
        });
        timer_.start(50);
    }

private:
    QTimer timer_;
};

const std::vector<MenuItem> kItems = {{"Quick Help", 1001}, {"About", 1000}};

TEST(QtPopupMenu, ReturnsTheChosenCommand)
{
    TestApp();
    QtPopupMenu menus;
    struct Case {
        std::vector<Qt::Key> keys;
        int command;
    };
    for (const Case& c : {Case{{Qt::Key_Down, Qt::Key_Return}, 1001},
                          Case{{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, 1000}, Case{{Qt::Key_Escape}, 0}}) {
        QRect seen;
        const WhenOpen open(
            [&c](QMenu& menu) {
                for (const Qt::Key key : c.keys)
                    QTest::keyClick(&menu, key);
            },
            seen);
        EXPECT_EQ(menus.TrackAtPointer(kItems), c.command);
    }
}

TEST(QtPopupMenu, EitherMouseButtonChooses)
{
    TestApp();
    QtPopupMenu menus;
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QRect seen;
        const WhenOpen open(
            [button](QMenu& menu) {
                const QRect about = menu.actionGeometry(menu.actions().at(1));
                QTest::mouseMove(&menu, about.center());
                QTest::mouseClick(&menu, button, {}, about.center());
            },
            seen);
        EXPECT_EQ(menus.TrackAtPointer(kItems), 1000) << button;
    }
}

TEST(QtPopupMenu, ShowsTheItemsWithItsRightEdgeAtThePointer)
{
    TestApp();
    QCursor::setPos(600, 300);
    const QPoint pointer = QCursor::pos();
    QtPopupMenu menus;
    QRect seen;
    QStringList texts;
    const WhenOpen open(
        [&texts](QMenu& menu) {
            for (const QAction* action : menu.actions())
                texts << action->text();
            QTest::keyClick(&menu, Qt::Key_Escape);
        },
        seen);
    EXPECT_EQ(menus.TrackAtPointer(kItems), 0);
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Quick Help"), QStringLiteral("About")}));
    EXPECT_EQ(seen.right() + 1, pointer.x());
    EXPECT_EQ(seen.top(), pointer.y());
}

// A menu opened from the keyboard goes to the point it is given, wherever
// the pointer is.
TEST(QtPopupMenu, TrackAtPlacesItsRightEdgeAtThePoint)
{
    TestApp();
    QCursor::setPos(600, 300);
    QtPopupMenu menus;
    QRect seen;
    const WhenOpen open([](QMenu& menu) { QTest::keyClick(&menu, Qt::Key_Escape); }, seen);
    EXPECT_EQ(menus.TrackAt(kItems, {400, 120}), 0);
    EXPECT_EQ(seen.right() + 1, 400);
    EXPECT_EQ(seen.top(), 120);
}

}  // namespace
}  // namespace korvane::platform::qt
