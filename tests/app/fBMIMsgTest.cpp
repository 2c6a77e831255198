#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "app/fBMIMsg.h"
#include "tests/app/NavTestSupport.h"
#include "tests/platform/fakes/FakeShell.h"

namespace korvane::app {
namespace {

using test_support::TestApp;

TEST(fBMIMsg, BuiltAsDesigned)
{
    TestApp();
    platform::fakes::FakeShell shell;
    fBMIMsg message(nullptr, "(Your company name && link or small banner here)", shell);
    EXPECT_EQ(message.windowTitle(), QStringLiteral("(Your company name && link or small banner here)"));
    EXPECT_EQ(message.size(), QSize(431, 88));
    EXPECT_TRUE(message.windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(
        message.Label1->text(),
        QStringLiteral("If you have a body mass index of 26 of higher then                 to learn how to reduce "
                       "your calorie intake by as much as 1000 calories a day safely with no side effects...."));
    EXPECT_EQ(message.Label2->text(), QStringLiteral("Click Here"));
    EXPECT_EQ(message.Label2->pos(), QPoint(338, 7));
    EXPECT_EQ(message.Label2->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    EXPECT_EQ(message.palette().color(QPalette::Window), QColor(88, 134, 165));
}

TEST(fBMIMsg, TheCaptionShowsTheBannerTextAsGiven)
{
    TestApp();
    platform::fakes::FakeShell shell;
    fBMIMsg message(nullptr, "Slim[*]Co", shell);
    message.show();
    ASSERT_NE(message.windowHandle(), nullptr);
    EXPECT_EQ(message.windowHandle()->title().toStdString(), "Slim[*]Co");
}

TEST(fBMIMsg, ClickHereOpensTheUnassignedPromoLink)
{
    TestApp();
    platform::fakes::FakeShell shell;
    fBMIMsg message(nullptr, "Korvane", shell);
    message.show();
    QTest::mouseClick(message.Label2, Qt::LeftButton);
    QTest::mouseClick(message.Label1, Qt::LeftButton);
    EXPECT_EQ(shell.opened, std::vector<std::string>{""});
    EXPECT_TRUE(test_support::SavePng(message, QStringLiteral("fBMIMsg")));
}

}  // namespace
}  // namespace korvane::app
