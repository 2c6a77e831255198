// The one place that writes files. What a path names decides how:
// - a regular file, or a path that does not exist yet, is replaced
//   atomically: the bytes go to an exclusive temporary file with an
//   unpredictable name in the same folder, are flushed to disk, take the
//   replaced file's permissions (and owner, where allowed) and are renamed
//   over the target;
// - a symbolic link is followed and the file it points to is replaced so;
// - a named pipe or a character device (a terminal) is written directly, in
//   one pass, and never replaced, and so is whatever /dev/stdout, /dev/fd/N
//   or /proc/self/fd/N lead to (a descriptor this process already has open);
// - a folder or anything else is refused.
// On failure nothing outside the target has changed, no temporary file is
// left behind, and a replaced file is still the old one.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace korvane::platform {

// A path that names something a file cannot be written over.
class NotWritableKind : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws std::system_error with the system's reason ("cannot write: No space
// left on device", "Is a directory", "Permission denied", ...) or
// NotWritableKind.
void WriteFileSafely(const std::string& FileName, std::span<const std::uint8_t> bytes);

// Writes all of `bytes` to an open descriptor (standard output, say).
void WriteToDescriptor(int fd, std::span<const std::uint8_t> bytes);

}  // namespace korvane::platform
