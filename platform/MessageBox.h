// Modal message boxes with a single OK button.
#pragma once

#include <string>

namespace korvane::platform {

enum class MessageIcon { None, Critical };

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows `text` under `title` and returns once the user has closed the box.
    virtual void Show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace korvane::platform
