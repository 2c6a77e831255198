#include "platform/LinkTarget.h"

#include <cstdint>

namespace korvane::platform {
namespace {

bool IsAlpha(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHex(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsAbsolutePath(std::string_view text)
{
    if (!text.empty() && (text.front() == '/' || text.front() == '\\')) return true;
    return text.size() >= 3 && IsAlpha(text[0]) && text[1] == ':' && (text[2] == '\\' || text[2] == '/');
}

// A scheme as URLs write it, of two characters or more (one letter is a
// drive). "www.acme.example:8080" and "localhost:8080" are a host and a
// port, not a scheme: a dotted name counts as a scheme only before "//",
// and digits alone after the colon are a port.
bool HasScheme(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsAlpha(text[0])) return false;
    const std::string_view scheme = text.substr(0, colon);
    for (char c : scheme)
        if (!IsAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return false;
    const std::string_view rest = text.substr(colon + 1);
    if (rest.starts_with("//")) return true;
    if (scheme.find('.') != std::string_view::npos) return false;
    std::size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits]))
        ++digits;
    const bool port =
        digits > 0 && (digits == rest.size() || rest[digits] == '/' || rest[digits] == '?' || rest[digits] == '#');
    return !port;
}

// Characters a URL holds as they are: the unreserved and reserved sets.
bool UrlCanHold(char c)
{
    if (IsAlpha(c) || IsDigit(c)) return true;
    for (char allowed : std::string_view("-._~:/?#[]@!$&'()*+,;="))
        if (c == allowed) return true;
    return false;
}

std::string PercentEncoded(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool escape = c == '%' && i + 2 < text.size() && IsHex(text[i + 1]) && IsHex(text[i + 2]);
        if (UrlCanHold(c) || escape) {
            encoded.push_back(c);
            continue;
        }
        const auto byte = static_cast<std::uint8_t>(c);
        encoded.push_back('%');
        encoded.push_back(kHex[byte >> 4]);
        encoded.push_back(kHex[byte & 0x0F]);
    }
    return encoded;
}

}  // namespace

LinkTarget InterpretLink(std::string_view link, const std::function<bool(const std::string&)>& localPathExists)
{
    const std::string_view text = Trimmed(link);
    if (text.empty()) return {};
    const std::string given(link);
    if (localPathExists && localPathExists(given)) return {LinkTarget::Kind::LocalPath, given};
    // A missing absolute path is still a path: no web address starts that way.
    if (IsAbsolutePath(text)) return {LinkTarget::Kind::LocalPath, std::string(text)};
    const std::string address = PercentEncoded(text);
    return {LinkTarget::Kind::WebAddress, HasScheme(text) ? address : "http://" + address};
}

std::string DescribeLinkTarget(const LinkTarget& target)
{
    switch (target.kind) {
        case LinkTarget::Kind::LocalPath:
            return "local path " + target.text;
        case LinkTarget::Kind::WebAddress:
            return "web address " + target.text;
        case LinkTarget::Kind::None:
            break;
    }
    return "nothing to open";
}

}  // namespace korvane::platform
