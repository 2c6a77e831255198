#include "app/mLinks.h"

namespace korvane::app {

void OpenLink(platform::Shell& shell, const std::string& Target)
{
    // Failure is deliberately silent: a missing link is the default branding.
    static_cast<void>(shell.Open(Target));
}

}  // namespace korvane::app
