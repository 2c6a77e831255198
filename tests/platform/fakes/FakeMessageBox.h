// A message box that records what it was asked to show instead of blocking.
#pragma once

#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace korvane::platform::fakes {

class FakeMessageBox final : public MessageBox {
public:
    struct Shown {
        std::string text;
        std::string title;
        MessageIcon icon;
    };

    void Show(const std::string& text, const std::string& title, MessageIcon icon) override
    {
        shown.push_back({text, title, icon});
    }

    std::vector<Shown> shown;
};

}  // namespace korvane::platform::fakes
