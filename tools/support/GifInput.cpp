#include "tools/support/GifInput.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "tools/support/ToolFiles.h"

namespace korvane::tools {

namespace {

// The first bytes as they would be typed: printable ASCII as is, the rest as \xNN.
std::string Printable(std::span<const std::uint8_t> bytes, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < std::min(count, bytes.size()); ++i) {
        const std::uint8_t b = bytes[i];
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            text.push_back(static_cast<char>(b));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            text += escaped;
        }
    }
    return text;
}

bool HasGifHeader(std::span<const std::uint8_t> bytes)
{
    const std::string header(bytes.begin(),
                             bytes.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(6, bytes.size())));
    return header == "GIF87a" || header == "GIF89a";
}

}  // namespace

platform::FileBytes ReadGifBytes(const std::string& file)
{
    platform::FileBytes bytes = ReadInput(file);
    if (bytes.empty()) throw FileError(DisplayName(file, false), "not a GIF file: it is empty");
    if (!HasGifHeader(bytes.span()))
        throw FileError(DisplayName(file, false), "not a GIF file: header is \"" + Printable(bytes.span(), 6) + "\"");
    return bytes;
}

}  // namespace korvane::tools
