// The shell's "Open" verb on QDesktopServices: an existing local file or
// folder opens as that path, anything else as a web address (InterpretLink).
#pragma once

#include <QUrl>

#include "platform/Shell.h"

namespace korvane::platform::qt {

class QtShell final : public Shell {
public:
    bool Open(const std::string& target) override;

    // What `target` opens as: a local path in its absolute form ("\" read
    // as a separator), or the web address; empty for a blank target.
    static QUrl UrlFor(const std::string& target);
};

}  // namespace korvane::platform::qt
