// Letting pending window events run inside a handler.
#pragma once

namespace korvane::platform {

class EventLoop {
public:
    virtual ~EventLoop() = default;
    virtual void ProcessEvents() = 0;
};

}  // namespace korvane::platform
