// Popup menus that are built for one click, shown at the mouse pointer and
// tracked until the user chooses an item or dismisses the menu.
#pragma once

#include <string>
#include <vector>

#include "platform/Pointer.h"

namespace korvane::platform {

struct MenuItem {
    std::string text;
    int command = 0;
};

class PopupMenu {
public:
    virtual ~PopupMenu() = default;
    // Shows `items` in order with the menu's right edge at the pointer and
    // returns the chosen item's command, or 0 when the menu was dismissed.
    // Either mouse button chooses. Window events keep being dispatched while
    // the menu is open; the call returns only once it has closed.
    virtual int TrackAtPointer(const std::vector<MenuItem>& items) = 0;
    // The same with the menu's right edge at `point` (screen coordinates),
    // for a menu opened from the keyboard, where the pointer may be anywhere.
    virtual int TrackAt(const std::vector<MenuItem>& items, ScreenPoint point) = 0;
};

}  // namespace korvane::platform
