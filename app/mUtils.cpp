#include "app/mUtils.h"

#include <array>

namespace korvane::app {

std::string DecodeText(std::string_view stored)
{
    if (stored.size() < 3) return {};
    const auto code = [](char c) { return static_cast<int>(static_cast<unsigned char>(c)); };
    const std::array<int, 4> key{code(stored[0]), code(stored[1]), code(stored[2]), code(stored.back())};
    const std::string_view body = stored.size() > 4 ? stored.substr(3, stored.size() - 4) : std::string_view{};
    std::string plain;
    plain.reserve(body.size());
    for (std::size_t k = 0; k < body.size(); ++k) {
        const int value = code(body[k]) - key[k % key.size()];
        if (value < 0) return {};
        plain.push_back(static_cast<char>(value));
    }
    return plain;
}

std::string& AddBackslash(std::string& path)
{
    if (path.empty() || path.back() != '\\') path.push_back('\\');
    return path;
}

void OpenLink(platform::Shell& shell, const std::string& Target)
{
    // Failure is deliberately silent: a missing link is the default branding.
    static_cast<void>(shell.Open(Target));
}

}  // namespace korvane::app
