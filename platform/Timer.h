// Timers that call back on the user-interface thread.
#pragma once

#include <functional>
#include <memory>

namespace korvane::platform {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
    // The callback of each tick; one per timer.
    virtual void OnTick(std::function<void()> callback) = 0;
};

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    // A new timer, disabled.
    virtual std::unique_ptr<Timer> CreateTimer() = 0;
};

}  // namespace korvane::platform
