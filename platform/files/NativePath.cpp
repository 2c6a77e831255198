#include "platform/files/NativePath.h"

#include <algorithm>

namespace korvane::platform {

std::filesystem::path NativePath(std::string name)
{
    if constexpr (std::filesystem::path::preferred_separator == '/') std::replace(name.begin(), name.end(), '\\', '/');
    return std::filesystem::path(name);
}

}  // namespace korvane::platform
