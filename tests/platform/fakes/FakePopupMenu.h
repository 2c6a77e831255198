// A popup menu that records the items it was given and returns a command
// chosen in advance, running a hook while it is "open".
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/PopupMenu.h"

namespace korvane::platform::fakes {

class FakePopupMenu final : public PopupMenu {
public:
    int TrackAtPointer(const std::vector<MenuItem>& items) override
    {
        shown.push_back(items);
        places.emplace_back(std::nullopt);
        if (whileOpen) whileOpen();
        return choice;
    }
    int TrackAt(const std::vector<MenuItem>& items, ScreenPoint point) override
    {
        shown.push_back(items);
        places.emplace_back(point);
        if (whileOpen) whileOpen();
        return choice;
    }

    std::vector<std::vector<MenuItem>> shown;
    // Where each menu was shown: nothing for the pointer, else the point.
    std::vector<std::optional<ScreenPoint>> places;
    int choice = 0;
    std::function<void()> whileOpen;
};

}  // namespace korvane::platform::fakes
