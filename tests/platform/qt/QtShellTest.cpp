#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
    EXPECT_TRUE(QtShell::UrlFor("C:\\brand\\offer.html").isLocalFile()) << "a drive letter is no scheme";
}

// A distributor's link without a scheme, or with a space, is a web address
// unless it names a file that is there.
TEST(QtShell, UrlForOpensTheWebUnlessTheFileExists)
{
    EXPECT_EQ(QtShell::UrlFor("www.acme.example"), QUrl(QStringLiteral("http://www.acme.example")));
    EXPECT_EQ(QtShell::UrlFor("https://acme.example/bmi calculator").toEncoded(),
              QByteArray("https://acme.example/bmi%20calculator"));

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir("docs"));
    QFile offer(folder.filePath("docs/offer.html"));
    ASSERT_TRUE(offer.open(QIODevice::WriteOnly));
    offer.close();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const QUrl url = QtShell::UrlFor("docs\\offer.html");
    QDir::setCurrent(before);
    EXPECT_EQ(url, QUrl::fromLocalFile(QDir(folder.path()).absoluteFilePath(QStringLiteral("docs/offer.html"))));
}

TEST(QtShell, EmptyTargetFails)
{
    QtShell shell;
    EXPECT_FALSE(shell.Open(""));
    EXPECT_FALSE(shell.Open("   "));
}

}  // namespace
}  // namespace korvane::platform::qt
