// A frame timer driven by hand: Fire() delivers one tick at once, Advance()
// lets time pass and delivers the ticks that fall due. Used wherever the
// engine runs without an event loop.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "platform/Timer.h"

namespace korvane::controls {

class ManualFrameTimer : public platform::Timer {
public:
    // Setting the interval restarts the countdown; enabling a running timer does not.
    void SetInterval(int milliseconds) override;
    int Interval() const override { return m_Interval; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return m_Enabled; }
    void OnTick(std::function<void()> callback) override { m_Callback = std::move(callback); }

    // Delivers one tick now, as if the countdown had run out; false (nothing
    // happens) while the timer is disabled.
    bool Fire();
    // Lets `ms` milliseconds pass; returns the number of ticks delivered.
    int Advance(std::int64_t ms);
    // Milliseconds until the next tick of the running timer.
    std::int64_t Remaining() const { return m_Remaining; }

private:
    bool m_Enabled = false;
    int m_Interval = 0;
    std::int64_t m_Remaining = 0;
    std::function<void()> m_Callback;
};

}  // namespace korvane::controls
