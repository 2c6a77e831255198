// Paths as the program writes them: UTF-8, with "\" or "/" as separators on
// every system, so the application keeps the path forms it is written with.
#pragma once

#include <filesystem>
#include <string>

namespace korvane::platform {

// The path the system understands for `name`.
std::filesystem::path NativePath(std::string name);

}  // namespace korvane::platform
