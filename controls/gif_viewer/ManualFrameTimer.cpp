#include "controls/gif_viewer/ManualFrameTimer.h"

namespace korvane::controls {

namespace {

// A countdown below 1 ms would let Advance deliver ticks without time passing.
std::int64_t Countdown(int interval)
{
    return interval < 1 ? 1 : interval;
}

}  // namespace

void ManualFrameTimer::SetInterval(int milliseconds)
{
    m_Interval = milliseconds;
    m_Remaining = Countdown(milliseconds);
}

void ManualFrameTimer::SetEnabled(bool enabled)
{
    if (enabled && !m_Enabled) m_Remaining = Countdown(m_Interval);
    m_Enabled = enabled;
}

bool ManualFrameTimer::Fire()
{
    if (!m_Enabled) return false;
    // The countdown starts over before the callback, which may set a new interval.
    m_Remaining = Countdown(m_Interval);
    if (m_Callback) m_Callback();
    return true;
}

int ManualFrameTimer::Advance(std::int64_t ms)
{
    int ticks = 0;
    while (m_Enabled && ms >= m_Remaining) {
        ms -= m_Remaining;
        Fire();
        ++ticks;
    }
    if (m_Enabled) m_Remaining -= ms;
    return ticks;
}

}  // namespace korvane::controls
