// The inverse of the program's DecodeText: a plain code-page string stored
// as three key bytes, the body with the cyclic key added, and the fourth key
// byte last.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korvane::brand {

using Key = std::array<std::uint8_t, 4>;

// The key used unless the distributor names one, so the same input always
// gives the same bytes. Small codes leave room for every plain byte up to 251.
inline constexpr Key kDefaultKey{3, 1, 4, 1};

class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The stored form of `plain`; empty for an empty text (which the program
// decodes as empty). Throws EncodingError when a byte plus its key byte
// exceeds 255.
std::string EncodeText(std::string_view plain, const Key& key);

}  // namespace korvane::brand
