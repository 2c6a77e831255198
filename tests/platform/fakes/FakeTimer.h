// Timers that tick only when the test says so.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Timer.h"

namespace korvane::platform::fakes {

class FakeTimer final : public Timer {
public:
    void SetInterval(int milliseconds) override { interval = milliseconds; }
    int Interval() const override { return interval; }
    void SetEnabled(bool on) override { enabled = on; }
    bool Enabled() const override { return enabled; }
    void OnTick(std::function<void()> callback) override { tick = std::move(callback); }

    // One tick, as the platform delivers it: only while enabled.
    void Fire()
    {
        if (enabled && tick) tick();
    }

    int interval = 0;
    bool enabled = false;
    std::function<void()> tick;
};

// Keeps a pointer to every timer it made, in order; they live as long as their owners.
class FakeTimerFactory final : public TimerFactory {
public:
    std::unique_ptr<Timer> CreateTimer() override
    {
        auto timer = std::make_unique<FakeTimer>();
        made.push_back(timer.get());
        return timer;
    }

    std::vector<FakeTimer*> made;
};

}  // namespace korvane::platform::fakes
