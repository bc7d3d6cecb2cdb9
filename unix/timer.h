// Window timers as the event loop keeps them: a tick once the period has passed since the last
// one or since arming, never a burst of ticks to catch up.
#pragma once

#include <stdint.h>
#include <time.h>

const int64_t TIMER_PERIOD_MS = 500;

// The monotonic clock in milliseconds: a clock the user sets does not stall or rush the timers.
inline int64_t NowMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

struct Timer {
    bool armed;
    int64_t due;
};

inline void ArmTimer(Timer& timer, int64_t now)
{
    timer.armed = true;
    timer.due = now + TIMER_PERIOD_MS;
}

inline void KillTimer(Timer& timer)
{
    timer.armed = false;
}

// Whether the timer ticks at this moment; if it does, the next tick is a period from now.
inline bool TakeTick(Timer& timer, int64_t now)
{
    if (!timer.armed || now < timer.due) return false;
    timer.due = now + TIMER_PERIOD_MS;
    return true;
}

// Milliseconds until the earlier of two timers ticks, or -1 when neither is armed.
inline int64_t WaitFor(const Timer& a, const Timer& b, int64_t now)
{
    int64_t due = -1;
    if (a.armed) due = a.due;
    if (b.armed && (due < 0 || b.due < due)) due = b.due;
    if (due < 0) return -1;
    return due > now ? due - now : 0;
}
