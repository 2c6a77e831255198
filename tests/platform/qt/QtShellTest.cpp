#include <QDir>
#include <gtest/gtest.h>

#include "platform/qt/QtShell.h"

namespace korvane::platform::qt {
namespace {

TEST(QtShell, UrlForTellsAddressesFromFilePaths)
{
    EXPECT_EQ(QtShell::UrlFor("https://korvane.example/bmi?x=1"),
              QUrl(QStringLiteral("https://korvane.example/bmi?x=1")));
    EXPECT_EQ(QtShell::UrlFor("mailto:sales@korvane.example"), QUrl(QStringLiteral("mailto:sales@korvane.example")));
    EXPECT_EQ(QtShell::UrlFor("/opt/brand/offer.html"), QUrl::fromLocalFile(QStringLiteral("/opt/brand/offer.html")));
    EXPECT_EQ(QtShell::UrlFor("/opt/brand/two words.pdf").toLocalFile(), QStringLiteral("/opt/brand/two words.pdf"));
    EXPECT_EQ(QtShell::UrlFor("docs\\offer.html"),
              QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("docs/offer.html"))));
    EXPECT_TRUE(QtShell::UrlFor("C:\\brand\\offer.html").isLocalFile()) << "a drive letter is no scheme";
}

TEST(QtShell, EmptyTargetFails)
{
    QtShell shell;
    EXPECT_FALSE(shell.Open(""));
}

}  // namespace
}  // namespace korvane::platform::qt
