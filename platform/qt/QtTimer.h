// Timers on QTimer, calling back on the thread that made them.
#pragma once

#include <QTimer>

#include "platform/Timer.h"

namespace korvane::platform::qt {

class QtTimer final : public Timer {
public:
    QtTimer();
    void SetInterval(int milliseconds) override;
    int Interval() const override;
    void SetEnabled(bool enabled) override;
    bool Enabled() const override;
    void OnTick(std::function<void()> callback) override;

private:
    QTimer timer_;
    std::function<void()> callback_;
};

class QtTimerFactory final : public TimerFactory {
public:
    std::unique_ptr<Timer> CreateTimer() override;
};

}  // namespace korvane::platform::qt
