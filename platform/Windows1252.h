// The Windows-1252 code page through the C library's iconv. Its five
// unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control
// characters of the same value, as Windows itself converts them, so every
// byte string survives a round trip.
#pragma once

#include "platform/TextEncoding.h"

namespace korvane::platform {

class Windows1252 final : public TextEncoding {
public:
    std::string ToUtf8(std::span<const std::uint8_t> bytes) const override;
    std::optional<std::vector<std::uint8_t>> FromUtf8(const std::string& text) const override;
};

}  // namespace korvane::platform
