#include "platform/qt/QtTimer.h"

namespace korvane::platform::qt {

QtTimer::QtTimer()
{
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (callback_) callback_();
    });
}

void QtTimer::SetInterval(int milliseconds)
{
    timer_.setInterval(milliseconds);
}

int QtTimer::Interval() const
{
    return timer_.interval();
}

void QtTimer::SetEnabled(bool enabled)
{
    if (enabled == timer_.isActive()) return;
    if (enabled) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

bool QtTimer::Enabled() const
{
    return timer_.isActive();
}

void QtTimer::OnTick(std::function<void()> callback)
{
    callback_ = std::move(callback);
}

std::unique_ptr<Timer> QtTimerFactory::CreateTimer()
{
    return std::make_unique<QtTimer>();
}

}  // namespace korvane::platform::qt
