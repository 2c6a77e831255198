#include "tests/support/GiflibMemory.h"

#include <algorithm>
#include <cstring>

namespace korvane::test_support {

int GiflibReadMemory(GifFileType* gif, GifByteType* to, int length)
{
    auto* input = static_cast<GiflibMemoryInput*>(gif->UserData);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(length, 0)), input->bytes.size() - input->at);
    std::memcpy(to, input->bytes.data() + input->at, count);
    input->at += count;
    return static_cast<int>(count);
}

int GiflibAppendMemory(GifFileType* gif, const GifByteType* from, int length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), from, from + std::max(length, 0));
    return length;
}

}  // namespace korvane::test_support
