// Counts the requests to let pending events run, and runs what the test asks.
#pragma once

#include <functional>
#include <utility>

#include "platform/EventLoop.h"

namespace korvane::platform::fakes {

class FakeEventLoop final : public EventLoop {
public:
    void ProcessEvents() override
    {
        ++calls;
        if (pending) std::exchange(pending, {})();
    }

    int calls = 0;
    // Runs once, inside the next ProcessEvents.
    std::function<void()> pending;
};

}  // namespace korvane::platform::fakes
