// Message boxes on QMessageBox, owned by the active window.
#pragma once

#include "platform/MessageBox.h"

namespace korvane::platform::qt {

class QtMessageBox final : public MessageBox {
public:
    void Show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

}  // namespace korvane::platform::qt
