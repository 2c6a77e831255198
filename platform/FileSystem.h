// The file operations the program needs. Paths are UTF-8 and may use "\" or
// "/" as separators on every system, so the application keeps the path forms
// it is written with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::platform {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The folder of the running program, without a trailing separator
    // (except at the root, where the platform gives one).
    virtual std::string ProgramFolder() const = 0;
    // Whether a directory search for `path` matches anything (a folder counts).
    virtual bool Matches(const std::string& path) const = 0;
    // Throws std::system_error when the file cannot be examined.
    virtual std::uint64_t FileLength(const std::string& path) const = 0;
    // Throws std::system_error when the file cannot be deleted.
    virtual void DeleteFile(const std::string& path) = 0;
    // Opens `path` for binary reading and writing, creating it empty when
    // missing, and returns its first `maxBytes` bytes (all of a shorter
    // file). Throws std::system_error when the file can be neither opened nor
    // created.
    virtual std::vector<std::uint8_t> OpenAndRead(const std::string& path, std::size_t maxBytes) = 0;
};

}  // namespace korvane::platform
