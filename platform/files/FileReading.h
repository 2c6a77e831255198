// Whole-file reads for the loaders and the tools. Regular files, pipes and
// character devices are all read to their end, so a file whose size is not
// known in advance (a pipe, /dev/stdin) reads like any other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace korvane::platform {

// A file's bytes. The buffer is never filled before the read fills it, so a
// large file costs one pass over its memory, not two.
class FileBytes {
public:
    FileBytes() = default;
    FileBytes(std::unique_ptr<std::uint8_t[]> bytes, std::size_t size) : m_Bytes(std::move(bytes)), m_Size(size) {}

    const std::uint8_t* data() const { return m_Bytes.get(); }
    std::size_t size() const { return m_Size; }
    bool empty() const { return m_Size == 0; }
    const std::uint8_t* begin() const { return data(); }
    const std::uint8_t* end() const { return data() + m_Size; }
    std::span<const std::uint8_t> span() const { return {data(), m_Size}; }

private:
    std::unique_ptr<std::uint8_t[]> m_Bytes;
    std::size_t m_Size = 0;
};

// The bytes of FileName. Throws std::system_error carrying the system's
// reason ("No such file or directory", "Is a directory", ...).
FileBytes ReadWholeFile(const std::string& FileName);

// Everything left to read on an open descriptor (standard input, say).
FileBytes ReadWholeDescriptor(int fd);

}  // namespace korvane::platform
