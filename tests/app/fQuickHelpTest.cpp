#include <gtest/gtest.h>

#include "app/fQuickHelp.h"
#include "tests/app/NavTestSupport.h"

namespace korvane::app {
namespace {

using test_support::TestApp;

const std::string kKorvaneHelp =
    "\rKorvane is very easy to use. Simply enter your weight in the left pane, and select either Pounds or "
    "Kilograms. Next, select your height in feet and inches from the list on the right. Finally, click the "
    "\"Calculate BMI button\". Your BMI Index number is displayed, and the result is color-coded  to correspond "
    "with the legend below. Match the colors to determine the range in which your BMI Index falls.\r\n\r\n The "
    "Body mass index (BMI) or Quetelet Index is a statistical measure of the weight of a person scaled according to "
    "height. It is most often used to determine the overall risk of poor health.";

TEST(fQuickHelp, HelpTextMatchesToTheCharacter)
{
    EXPECT_EQ(fQuickHelp::HelpText("Korvane"), kKorvaneHelp);
    const std::string text = fQuickHelp::HelpText("Slim && Co");
    EXPECT_EQ(text.substr(0, 12), "\rSlim && Co ");
    EXPECT_NE(text.find("color-coded  to correspond"), std::string::npos);
    EXPECT_EQ(text.find("   "), std::string::npos);
}

TEST(fQuickHelp, LoadSetsTheTextAndLabelShowsItsLineBreaks)
{
    TestApp();
    fQuickHelp window(nullptr, "Korvane");
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Quick Help"));
    EXPECT_EQ(window.Caption(), kKorvaneHelp);
    const QString shown = window.lblQuickHelp->text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("\nKorvane is very easy")));
    EXPECT_TRUE(shown.contains(QStringLiteral("falls.\n\n The Body")));
    EXPECT_FALSE(shown.contains('\r'));
    EXPECT_EQ(shown.size(), static_cast<qsizetype>(kKorvaneHelp.size()) - 2);
}

TEST(fQuickHelp, LabelShowsDoubledAmpersandsOnce)
{
    TestApp();
    fQuickHelp window(nullptr, "Slim && Co");
    EXPECT_EQ(window.Caption().substr(0, 11), "\rSlim && Co");
    EXPECT_TRUE(window.lblQuickHelp->text().startsWith(QStringLiteral("\nSlim & Co is very easy")));
}

TEST(fQuickHelp, LabelFillsTheFixedClientArea)
{
    TestApp();
    QWidget owner;
    owner.setGeometry(100, 100, 488, 405);
    fQuickHelp window(&owner, "Korvane");
    window.show();
    EXPECT_EQ(window.size(), QSize(312, 231));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.lblQuickHelp->geometry(), QRect(0, 0, 312, 231));
    EXPECT_EQ(window.lblQuickHelp->palette().color(QPalette::Window), QColor(0, 0, 128));
    EXPECT_TRUE(window.lblQuickHelp->wordWrap());
    EXPECT_TRUE(test_support::SavePng(window, QStringLiteral("fQuickHelp")));
}

}  // namespace
}  // namespace korvane::app
