// The shell's "Open" verb on QDesktopServices: a target with a URL scheme
// opens as that URL, anything else as a local file path.
#pragma once

#include <QUrl>

#include "platform/Shell.h"

namespace korvane::platform::qt {

class QtShell final : public Shell {
public:
    bool Open(const std::string& target) override;

    // What `target` opens as: a URL when it has a scheme of two or more
    // letters (a single letter is a drive, as in "C:\file.txt"), otherwise
    // the absolute form of the local path ("\" read as a separator).
    static QUrl UrlFor(const std::string& target);
};

}  // namespace korvane::platform::qt
