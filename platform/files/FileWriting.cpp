#include "platform/files/FileWriting.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/files/NativePath.h"

namespace korvane::platform {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinkHops = 40;  // as the kernel allows when it resolves a path

[[noreturn]] void ThrowErrno(int error, const char* what)
{
    throw std::system_error(error, std::generic_category(), what);
}

[[noreturn]] void ThrowErrno(int error)
{
    throw std::system_error(error, std::generic_category());
}

// Follows symbolic links one at a time, so a link to a file that does not
// exist yet still leads to the path that file will have.
fs::path FollowLinks(fs::path path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) ThrowErrno(ec.value());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    ThrowErrno(ELOOP);
}

void WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(errno, "cannot write");
        }
        bytes = bytes.subspan(static_cast<std::size_t>(put));
    }
}

// A temporary file beside the target that no one else can have made: created
// exclusively, under a random name.
class TemporaryFile {
public:
    TemporaryFile(const fs::path& target, mode_t mode)
    {
        std::random_device entropy;
        std::uniform_int_distribution<unsigned long long> draw;
        const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
        for (int attempt = 0; attempt < 16; ++attempt) {
            char name[40];
            std::snprintf(name, sizeof name, ".%016llx.tmp", draw(entropy));
            m_Path = folder / (target.filename().string() + name);
            m_Fd = ::open(m_Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
            if (m_Fd >= 0 || errno != EEXIST) break;
        }
        if (m_Fd < 0) ThrowErrno(errno, "cannot write");
    }
    ~TemporaryFile()
    {
        if (m_Fd >= 0) ::close(m_Fd);
        if (!m_Renamed) ::unlink(m_Path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_Fd; }

    // Flushes, closes and moves the file over `target`.
    void Commit(const fs::path& target)
    {
        if (::fsync(m_Fd) != 0) ThrowErrno(errno, "cannot write");
        const int fd = m_Fd;
        m_Fd = -1;
        if (::close(fd) != 0) ThrowErrno(errno, "cannot write");
        if (::rename(m_Path.c_str(), target.c_str()) != 0) ThrowErrno(errno, "cannot write");
        m_Renamed = true;
    }

private:
    fs::path m_Path;
    int m_Fd = -1;
    bool m_Renamed = false;
};

void ReplaceAtomically(const fs::path& target, const struct stat* old, std::span<const std::uint8_t> bytes)
{
    // A new file gets what any new file gets (0666 less the umask); a replaced
    // one keeps its permissions and, where the system lets us, its owner.
    TemporaryFile temporary(target, old ? S_IRUSR | S_IWUSR : 0666);
    if (old) {
        // An ordinary user cannot give files away but may keep the group;
        // failing both, the file is simply the writer's own.
        [[maybe_unused]] const bool ownerKept = ::fchown(temporary.fd(), old->st_uid, old->st_gid) == 0 ||
                                                ::fchown(temporary.fd(), static_cast<uid_t>(-1), old->st_gid) == 0;
        if (::fchmod(temporary.fd(), old->st_mode & 07777) != 0) ThrowErrno(errno, "cannot write");
    }
    WriteAll(temporary.fd(), bytes);
    temporary.Commit(target);
}

void WriteInPlace(const fs::path& target, std::span<const std::uint8_t> bytes, int flags = 0)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | flags);
    if (fd < 0) ThrowErrno(errno);
    try {
        WriteAll(fd, bytes);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0 && errno != EINTR) ThrowErrno(errno, "cannot write");
}

// Names of a descriptor this process already has open (/dev/stdout, say):
// whatever it leads to, a pipe or a file the shell opened, it is written as
// it stands, as `cp` writes it, never replaced.
bool NamesAnOpenDescriptor(const std::string& name)
{
    return name == "/dev/stdout" || name == "/dev/stderr" || name.starts_with("/dev/fd/") ||
           name.starts_with("/proc/self/fd/");
}

}  // namespace

void WriteFileSafely(const std::string& FileName, std::span<const std::uint8_t> bytes)
{
    const fs::path path = NativePath(FileName);
    if (NamesAnOpenDescriptor(path.string())) {
        WriteInPlace(path, bytes, O_TRUNC);
        return;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) ThrowErrno(errno);
        // A new file, or one a dangling link points to: made where the link leads.
        ReplaceAtomically(FollowLinks(path), nullptr, bytes);
        return;
    }
    if (S_ISREG(info.st_mode)) {
        const fs::path target = FollowLinks(path);
        // Replacing needs only the folder's permission; the file's own decides.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) ThrowErrno(errno);
        ReplaceAtomically(target, &info, bytes);
    } else if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
        WriteInPlace(path, bytes);
    } else if (S_ISDIR(info.st_mode)) {
        ThrowErrno(EISDIR);
    } else {
        throw NotWritableKind("not a regular file, pipe or character device");
    }
}

void WriteToDescriptor(int fd, std::span<const std::uint8_t> bytes)
{
    WriteAll(fd, bytes);
}

}  // namespace korvane::platform
