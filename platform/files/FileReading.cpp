#include "platform/files/FileReading.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/files/MemoryPages.h"
#include "platform/files/NativePath.h"

namespace korvane::platform {

namespace {

[[noreturn]] void ThrowErrno()
{
    throw std::system_error(errno, std::generic_category());
}

// Has the system map the whole pages of a buffer the read is about to fill,
// in one call: a read that faults them in one at a time costs about twice
// as much. Where the system cannot, the read faults them in as before.
void MapForReading(std::uint8_t* bytes, std::size_t size)
{
#if defined(MADV_POPULATE_WRITE)
    const WholePages pages = WholePagesOf(bytes, size);
    if (pages.Length > 0) (void)madvise(bytes + pages.Offset, pages.Length, MADV_POPULATE_WRITE);
#else
    (void)bytes;
    (void)size;
#endif
}

// Reads until the end, growing geometrically; `expected` (the size a regular
// file reports) lets most files arrive in one read.
FileBytes ReadToEnd(int fd, std::size_t expected)
{
    std::size_t capacity = expected > 0 ? expected + 1 : std::size_t{64} * 1024;
    // new[] of bytes leaves them unfilled: the read is their first write.
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[capacity]);
    // A size known in advance is what the read brings, so no page is mapped in vain.
    if (expected > 0) MapForReading(bytes.get(), capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == capacity) {
            std::unique_ptr<std::uint8_t[]> larger(new std::uint8_t[capacity * 2]);
            std::memcpy(larger.get(), bytes.get(), used);
            bytes = std::move(larger);
            capacity *= 2;
        }
        const ssize_t got = ::read(fd, bytes.get() + used, capacity - used);
        if (got < 0) {
            if (errno == EINTR) continue;
            ThrowErrno();
        }
        if (got == 0) break;
        used += static_cast<std::size_t>(got);
    }
    return FileBytes(std::move(bytes), used);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_Fd(fd) {}
    ~Descriptor() { ::close(m_Fd); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_Fd; }

private:
    int m_Fd;
};

}  // namespace

FileBytes ReadWholeFile(const std::string& FileName)
{
    const int fd = ::open(NativePath(FileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowErrno();
    const Descriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0) ThrowErrno();
    if (S_ISDIR(info.st_mode)) throw std::system_error(EISDIR, std::generic_category());
    return ReadToEnd(fd, S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0);
}

FileBytes ReadWholeDescriptor(int fd)
{
    return ReadToEnd(fd, 0);
}

}  // namespace korvane::platform
