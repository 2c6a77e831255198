// Whole-file reads for the loaders and the tools. Regular files, pipes and
// character devices are all read to their end, so a file whose size is not
// known in advance (a pipe, /dev/stdin) reads like any other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::platform {

// The bytes of FileName. Throws std::system_error carrying the system's
// reason ("No such file or directory", "Is a directory", ...).
std::vector<std::uint8_t> ReadWholeFile(const std::string& FileName);

// Everything left to read on an open descriptor (standard input, say).
std::vector<std::uint8_t> ReadWholeDescriptor(int fd);

}  // namespace korvane::platform
