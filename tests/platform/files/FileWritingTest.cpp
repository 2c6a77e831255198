// The one file writer, against every kind of thing a path can name.
#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <span>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "FileTestFolder.h"
#include "platform/files/FileWriting.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;
using test_support::Contents;
using test_support::FreshFolder;
using test_support::Put;

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::size_t EntriesIn(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

int ErrorOf(const std::string& path, const std::string& text)
{
    try {
        WriteFileSafely(path, Bytes(text));
    } catch (const std::system_error& e) {
        return e.code().value();
    }
    return 0;
}

TEST(WriteFileSafely, ReplacesAFileKeepingItsModeAndLeavesNothingElse)
{
    const fs::path folder = FreshFolder();
    for (const mode_t mode : {0600, 0640, 0755}) {
        const fs::path file = folder / ("kept-" + std::to_string(mode));
        Put(file, "old contents that are longer");
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        WriteFileSafely(file.string(), Bytes("new"));
        EXPECT_EQ(Contents(file), "new");
        EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(mode)) << std::oct << mode;
    }
    WriteFileSafely((folder / "fresh").string(), Bytes("made"));
    EXPECT_EQ(Contents(folder / "fresh"), "made");
    EXPECT_EQ(EntriesIn(folder), 4U);  // no temporary file stays behind
}

TEST(WriteFileSafely, FollowsLinksAndReplacesWhatTheyPointTo)
{
    const fs::path folder = FreshFolder();
    fs::create_directory(folder / "sub");
    Put(folder / "sub" / "target", "old");
    fs::create_symlink("sub/target", folder / "link");
    fs::create_symlink("link", folder / "link-to-link");
    fs::create_symlink("sub/not-yet", folder / "dangling");

    WriteFileSafely((folder / "link-to-link").string(), Bytes("through two links"));
    EXPECT_TRUE(fs::is_symlink(folder / "link"));
    EXPECT_TRUE(fs::is_symlink(folder / "link-to-link"));
    EXPECT_EQ(Contents(folder / "sub" / "target"), "through two links");

    WriteFileSafely((folder / "dangling").string(), Bytes("created"));
    EXPECT_TRUE(fs::is_symlink(folder / "dangling"));
    EXPECT_EQ(Contents(folder / "sub" / "not-yet"), "created");
}

TEST(WriteFileSafely, WritesPipesAndTerminalsWithoutReplacingThem)
{
    const fs::path folder = FreshFolder();
    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Contents(fifo); });
    WriteFileSafely(fifo.string(), Bytes("down the pipe"));
    reader.join();
    EXPECT_EQ(received, "down the pipe");
    EXPECT_TRUE(fs::is_fifo(fifo));

    // /dev/stdout of a program whose output goes down a pipe.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    WriteFileSafely("/dev/fd/" + std::to_string(ends[1]), Bytes("open descriptor"));
    ::close(ends[1]);
    std::array<char, 64> piped{};
    const ssize_t n = ::read(ends[0], piped.data(), piped.size());
    ::close(ends[0]);
    EXPECT_EQ(std::string(piped.data(), static_cast<std::size_t>(std::max<ssize_t>(n, 0))), "open descriptor");

    // A pseudo-terminal stands for any character device, /dev/stdout among them.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string terminal = ::ptsname(master);
    WriteFileSafely(terminal, Bytes("to the terminal"));
    std::array<char, 64> echoed{};
    const ssize_t got = ::read(master, echoed.data(), echoed.size());
    ::close(master);
    EXPECT_EQ(std::string(echoed.data(), static_cast<std::size_t>(std::max<ssize_t>(got, 0))), "to the terminal");
    EXPECT_EQ(EntriesIn(folder), 1U);
}

TEST(WriteFileSafely, RefusesFoldersAndReportsDeviceErrors)
{
    const fs::path folder = FreshFolder();
    fs::create_directory(folder / "dir");
    EXPECT_EQ(ErrorOf((folder / "dir").string(), "x"), EISDIR);
    EXPECT_TRUE(fs::is_directory(folder / "dir"));
    EXPECT_EQ(ErrorOf((folder / "missing-folder" / "x").string(), "x"), ENOENT);
    EXPECT_EQ(ErrorOf("/dev/full", "x"), ENOSPC);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// A disk that fills up halfway through: the file size limit makes the write
// fail the way a full disk does, after some bytes went out.
TEST(WriteFileSafely, AFailedWriteLeavesTheOldFileAndNoTemporary)
{
    const fs::path folder = FreshFolder();
    Put(folder / "record", "old");
    const std::string big(std::size_t{64} * 1024, 'x');
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int error = ErrorOf((folder / "record").string(), big);
    const int errorNew = ErrorOf((folder / "new").string(), big);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(errorNew, EFBIG);
    EXPECT_EQ(Contents(folder / "record"), "old");
    EXPECT_EQ(EntriesIn(folder), 1U);
}

// Run as an ordinary user (root is exempt from permission bits): a read-only
// file is not replaced even in a folder the user may write, and nothing is
// written into a read-only folder.
TEST(WriteFileSafely, WhatTheUserMayNotWriteIsLeftAlone)
{
    const fs::path folder = FreshFolder();
    fs::create_directory(folder / "open");
    fs::create_directory(folder / "closed");
    Put(folder / "open" / "read-only", "kept");
    Put(folder / "closed" / "writable", "kept");
    ASSERT_EQ(::chmod((folder / "open").c_str(), 0777), 0);
    ASSERT_EQ(::chmod((folder / "open" / "read-only").c_str(), 0444), 0);
    ASSERT_EQ(::chmod((folder / "closed").c_str(), 0555), 0);
    ASSERT_EQ(::chmod((folder / "closed" / "writable").c_str(), 0666), 0);
    ::chmod(folder.c_str(), 0755);
    ::chmod(folder.parent_path().c_str(), 0755);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(10);
        const int readOnly = ErrorOf((folder / "open" / "read-only").string(), "new");
        const int closedFolder = ErrorOf((folder / "closed" / "writable").string(), "new");
        ::_exit(readOnly == EACCES && closedFolder == EACCES ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Contents(folder / "open" / "read-only"), "kept");
    EXPECT_EQ(Contents(folder / "closed" / "writable"), "kept");
    EXPECT_EQ(EntriesIn(folder / "open"), 1U);
    EXPECT_EQ(EntriesIn(folder / "closed"), 1U);
    ::chmod((folder / "closed").c_str(), 0755);
}

}  // namespace
}  // namespace korvane::platform
