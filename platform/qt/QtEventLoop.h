// Pending events through QCoreApplication.
#pragma once

#include "platform/EventLoop.h"

namespace korvane::platform::qt {

class QtEventLoop final : public EventLoop {
public:
    void ProcessEvents() override;
};

}  // namespace korvane::platform::qt
