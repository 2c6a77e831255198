// What a link text means to the user: an existing local file or folder, or a
// web address. Kept free of any toolkit so that the branding tool can report
// how each link will be opened, with the very rule the program uses.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace korvane::platform {

struct LinkTarget {
    enum class Kind { None, LocalPath, WebAddress };
    Kind kind = Kind::None;
    // The path as given, or the address ready for a URL parser.
    std::string text;
    friend bool operator==(const LinkTarget&, const LinkTarget&) = default;
};

// Reads `link` (UTF-8) as the user means it:
// - blank: nothing to open;
// - a path that `localPathExists` confirms, or an absolute one ("/...",
//   "\...", "C:\..."): that local path, unchanged;
// - anything else: a web address, "http://" put in front when it has no
//   scheme ("www.acme.example", "acme.example:8080/x"), and every byte a URL
//   cannot hold (spaces, quotes, non-ASCII, a "%" that starts no escape)
//   percent-encoded. Blanks around the text are dropped.
LinkTarget InterpretLink(std::string_view link, const std::function<bool(const std::string&)>& localPathExists);

// The interpretation as one line for people: "web address <text>",
// "local path <text>" or "nothing to open".
std::string DescribeLinkTarget(const LinkTarget& target);

}  // namespace korvane::platform
