// The 8-bit code page of stored texts (the branding record's strings).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::platform {

class TextEncoding {
public:
    virtual ~TextEncoding() = default;
    // Code-page bytes to UTF-8; every byte yields a character.
    virtual std::string ToUtf8(std::span<const std::uint8_t> bytes) const = 0;
    // UTF-8 to code-page bytes; nothing when a character has no code, or the
    // input is not valid UTF-8.
    virtual std::optional<std::vector<std::uint8_t>> FromUtf8(const std::string& text) const = 0;
};

}  // namespace korvane::platform
