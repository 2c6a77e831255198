// A popup menu that records the items it was given and returns a command
// chosen in advance, running a hook while it is "open".
#pragma once

#include <functional>
#include <vector>

#include "platform/PopupMenu.h"

namespace korvane::platform::fakes {

class FakePopupMenu final : public PopupMenu {
public:
    int TrackAtPointer(const std::vector<MenuItem>& items) override
    {
        shown.push_back(items);
        if (whileOpen) whileOpen();
        return choice;
    }

    std::vector<std::vector<MenuItem>> shown;
    int choice = 0;
    std::function<void()> whileOpen;
};

}  // namespace korvane::platform::fakes
