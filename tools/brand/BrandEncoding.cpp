#include "tools/brand/BrandEncoding.h"

namespace korvane::brand {

std::string EncodeText(std::string_view plain, const Key& key)
{
    if (plain.empty()) return {};
    std::string stored{static_cast<char>(key[0]), static_cast<char>(key[1]), static_cast<char>(key[2])};
    for (std::size_t k = 0; k < plain.size(); ++k) {
        const int code = static_cast<unsigned char>(plain[k]) + key[k % key.size()];
        if (code > 255) {
            throw EncodingError("character " + std::to_string(k + 1) +
                                " does not fit the key (its code plus the key code exceeds 255)");
        }
        stored.push_back(static_cast<char>(code));
    }
    stored.push_back(static_cast<char>(key[3]));
    return stored;
}

}  // namespace korvane::brand
