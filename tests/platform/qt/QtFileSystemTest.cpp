#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/qt/QtFileSystem.h"

namespace korvane::platform::qt {
namespace {

class QtFileSystemTest : public ::testing::Test {
protected:
    std::string Folder() const { return QDir::toNativeSeparators(dir_.path()).toStdString(); }
    std::string Windows(const std::string& name) const { return Folder() + "\\" + name; }
    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir_;
};

TEST_F(QtFileSystemTest, BackslashesAreSeparators)
{
    Write("4.dat", "abc");
    QtFileSystem files(Folder());
    EXPECT_EQ(files.ProgramFolder(), Folder());
    EXPECT_TRUE(files.Matches(Windows("4.dat")));
    EXPECT_EQ(files.FileLength(Windows("4.dat")), 3u);
    EXPECT_EQ(files.OpenAndRead(Windows("4.dat"), 10), (std::vector<std::uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(files.OpenAndRead(Windows("4.dat"), 2), (std::vector<std::uint8_t>{'a', 'b'}));
    // The root folder's form: two separators in a row still name the file.
    EXPECT_TRUE(files.Matches(Folder() + "\\\\4.dat"));
}

TEST_F(QtFileSystemTest, OpeningCreatesAMissingFileEmpty)
{
    QtFileSystem files(Folder());
    EXPECT_FALSE(files.Matches(Windows("new.dat")));
    EXPECT_TRUE(files.OpenAndRead(Windows("new.dat"), 10).empty());
    EXPECT_TRUE(QFile::exists(dir_.filePath("new.dat")));
    files.DeleteFile(Windows("new.dat"));
    EXPECT_FALSE(QFile::exists(dir_.filePath("new.dat")));
}

TEST_F(QtFileSystemTest, FoldersMatchButCannotBeRead)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir("4.dat"));
    QtFileSystem files(Folder());
    EXPECT_TRUE(files.Matches(Windows("4.dat")));
    EXPECT_THROW(files.OpenAndRead(Windows("4.dat"), 10), std::system_error);
}

TEST_F(QtFileSystemTest, MissingFilesRaiseSystemErrors)
{
    QtFileSystem files(Folder());
    EXPECT_THROW(files.FileLength(Windows("none")), std::system_error);
    EXPECT_THROW(files.DeleteFile(Windows("none")), std::system_error);
    EXPECT_THROW(files.OpenAndRead(Windows("no folder\\4.dat"), 10), std::system_error);
}

}  // namespace
}  // namespace korvane::platform::qt
