// Whether a path matches anything on disk.
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace korvane::app {

// True when a directory search for the path finds a match (a folder counts).
bool FileExists(const platform::FileSystem& files, const std::string& path);

}  // namespace korvane::app
