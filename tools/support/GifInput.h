// A GIF file as the tools take it: refused, with the reason, unless it is
// there and starts like a GIF stream, so "not a GIF" is told apart from a
// missing or unreadable file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files/FileReading.h"

namespace korvane::tools {

// The bytes of `file` ("-": standard input). Throws FileError: the system's
// reason, "not a GIF file: it is empty" or "not a GIF file: header is ...".
platform::FileBytes ReadGifBytes(const std::string& file);

}  // namespace korvane::tools
