#include "imaging/gif/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

namespace korvane::imaging {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

fs::path NativePath(std::string name)
{
    if constexpr (fs::path::preferred_separator == '/') std::replace(name.begin(), name.end(), '\\', '/');
    return fs::path(name);
}

[[noreturn]] void ThrowErrno(int error, const std::string& what)
{
    throw std::system_error(error != 0 ? error : EIO, std::generic_category(), what);
}

// A fresh name in the target's folder, created exclusively so no other file
// is ever overwritten by the temporary.
FilePtr CreateTemporaryBeside(const fs::path& target, fs::path& tempPath)
{
    std::random_device entropy;
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = target;
        tempPath += ".tmp" + std::to_string(entropy());
        if (std::FILE* f = std::fopen(tempPath.c_str(), "wbx")) return FilePtr(f);
        if (errno != EEXIST) break;
    }
    ThrowErrno(errno, "cannot create a temporary file beside " + target.string());
}

void WriteAndClose(FilePtr file, std::span<const std::uint8_t> bytes, const fs::path& tempPath)
{
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const bool flushed = std::fflush(file.get()) == 0;
    const int error = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !flushed || !closed) ThrowErrno(error, "cannot write " + tempPath.string());
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& FileName)
{
    const fs::path path = NativePath(FileName);
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) ThrowErrno(errno, "cannot open " + FileName);
    std::error_code ec;
    const std::uintmax_t length = fs::file_size(path, ec);
    if (ec) throw std::system_error(ec, "cannot size " + FileName);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        ThrowErrno(errno, "cannot read " + FileName);
    return bytes;
}

void ReplaceFileAtomically(const std::string& FileName, std::span<const std::uint8_t> bytes)
{
    const fs::path target = NativePath(FileName);
    fs::path tempPath;
    FilePtr file = CreateTemporaryBeside(target, tempPath);
    try {
        WriteAndClose(std::move(file), bytes, tempPath);
        fs::rename(tempPath, target);
    } catch (...) {
        std::error_code ignored;
        fs::remove(tempPath, ignored);
        throw;
    }
}

}  // namespace korvane::imaging
