// Whole-file reads and atomic whole-file replacement for the GIF loaders and
// the writer. Paths may use "\" or "/" as separators.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvane::imaging {

// The file's bytes. Throws std::system_error when it cannot be opened or read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& FileName);

// Writes `bytes` to a new file beside FileName and renames it over FileName
// once it is complete and closed. On failure FileName is untouched, no
// partial file remains, and std::system_error is thrown.
void ReplaceFileAtomically(const std::string& FileName, std::span<const std::uint8_t> bytes);

}  // namespace korvane::imaging
