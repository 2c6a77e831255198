// The shell's "Open" verb: whatever the desktop opens for a web address or a
// document, shown at normal size.
#pragma once

#include <string>

namespace korvane::platform {

class Shell {
public:
    virtual ~Shell() = default;
    // False when the shell cannot open `target` (an empty one never opens).
    virtual bool Open(const std::string& target) = 0;
};

}  // namespace korvane::platform
