// Whole-file reads of files whose size is known and of pipes whose is not.
#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "FileTestFolder.h"
#include "platform/files/FileReading.h"

namespace korvane::platform {
namespace {

std::string AsText(const FileBytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(ReadWholeFile, ReadsFilesPipesAndBackslashedPaths)
{
    const std::filesystem::path folder = test_support::FreshFolder();
    const std::string large(std::size_t{300} * 1024, 'g');
    test_support::Put(folder / "large", large);
    EXPECT_EQ(AsText(ReadWholeFile((folder / "large").string())), large);
    std::string backslashed = (folder / "large").string();
    backslashed[backslashed.rfind('/')] = '\\';
    EXPECT_EQ(ReadWholeFile(backslashed).size(), large.size());

    const std::filesystem::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { test_support::Put(fifo, large); });
    EXPECT_EQ(AsText(ReadWholeFile(fifo.string())), large);
    writer.join();
}

TEST(ReadWholeFile, SaysWhyAFileCannotBeRead)
{
    const std::filesystem::path folder = test_support::FreshFolder();
    for (const auto& [path, error] : {std::pair{folder / "missing", ENOENT}, std::pair{folder, EISDIR}}) {
        try {
            ReadWholeFile(path.string());
            ADD_FAILURE() << path;
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code().value(), error) << path;
        }
    }
}

}  // namespace
}  // namespace korvane::platform
