// Popup menus on QMenu, built for each call and tracked in QMenu's own event
// loop, so window events keep flowing while the menu is open.
#pragma once

#include "platform/PopupMenu.h"

namespace korvane::platform::qt {

class QtPopupMenu final : public PopupMenu {
public:
    int TrackAtPointer(const std::vector<MenuItem>& items) override;
    int TrackAt(const std::vector<MenuItem>& items, ScreenPoint point) override;
};

}  // namespace korvane::platform::qt
