#include "platform/files/MemoryPages.h"

#include <unistd.h>

namespace korvane::platform {

WholePages WholePagesOf(const std::uint8_t* bytes, std::size_t size)
{
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(bytes);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t last = (start + size) / page * page;
    if (last <= first) return {};
    return {first - start, last - first};
}

}  // namespace korvane::platform
