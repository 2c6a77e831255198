// Handing links to the shell.
#pragma once

#include <string>

#include "platform/Shell.h"

namespace korvane::app {

// Asks the shell to open `Target` with its "Open" verb. A target the shell
// cannot open (an empty one, one with no program for it) is ignored.
void OpenLink(platform::Shell& shell, const std::string& Target);

}  // namespace korvane::app
