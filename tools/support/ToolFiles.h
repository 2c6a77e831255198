// Files as the tools take them: a path, or "-" for standard input (when
// reading) and standard output (when writing). Failures carry the file's name
// and the system's reason.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/files/FileReading.h"

namespace korvane::tools {

// A failure of one file: printed as "FILE: reason", exit status 1.
class FileError : public std::runtime_error {
public:
    FileError(const std::string& file, const std::string& reason);
};

// The name a file goes by in messages: "-" is standard input or output.
std::string DisplayName(const std::string& file, bool output);

platform::FileBytes ReadInput(const std::string& file);
void WriteOutput(const std::string& file, std::span<const std::uint8_t> bytes);

}  // namespace korvane::tools
