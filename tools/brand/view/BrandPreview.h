// The main window as the program shows it on first start, drawn off screen.
#pragma once

#include <QImage>

#include "app/fMain.h"

namespace korvane::brand {

// Steps the animated banner (when it plays) to frame `frame` (1-based) and
// draws the whole window at the application's scale.
QImage DrawMainWindow(app::fMain& window, int frame);

}  // namespace korvane::brand
