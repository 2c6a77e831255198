// The program's entry: create the main window and show it.
#pragma once

#include <memory>

#include "app/fMain.h"
#include "platform/Services.h"

namespace korvane::app {

// What the program sets on its application object before any window: the
// style its design colours are drawn with and the desktop entry it belongs to.
void PrepareApplication();

// Creates fMain (which reads the branding record and fills the window) and
// shows it, not modal and without an owner. The caller runs the event loop
// and keeps the window.
std::unique_ptr<fMain> Main(const platform::Services& services);

}  // namespace korvane::app
