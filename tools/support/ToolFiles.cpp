#include "tools/support/ToolFiles.h"

#include <exception>
#include <unistd.h>

#include "platform/files/FileReading.h"
#include "platform/files/FileWriting.h"

namespace korvane::tools {

FileError::FileError(const std::string& file, const std::string& reason) : std::runtime_error(file + ": " + reason) {}

std::string DisplayName(const std::string& file, bool output)
{
    if (file != "-") return file;
    return output ? "standard output" : "standard input";
}

platform::FileBytes ReadInput(const std::string& file)
{
    try {
        return file == "-" ? platform::ReadWholeDescriptor(STDIN_FILENO) : platform::ReadWholeFile(file);
    } catch (const std::exception& e) {
        throw FileError(DisplayName(file, false), e.what());
    }
}

void WriteOutput(const std::string& file, std::span<const std::uint8_t> bytes)
{
    try {
        if (file == "-") {
            platform::WriteToDescriptor(STDOUT_FILENO, bytes);
        } else {
            platform::WriteFileSafely(file, bytes);
        }
    } catch (const std::exception& e) {
        throw FileError(DisplayName(file, true), e.what());
    }
}

}  // namespace korvane::tools
