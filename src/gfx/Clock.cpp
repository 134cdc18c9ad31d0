#include "gfx/Clock.h"

namespace {
time_t RuntimeTime() {
    return time(nullptr);
}

ClockSource clockSource = RuntimeTime;
}  // namespace

time_t CurrentTime() {
    return clockSource();
}

ClockSource SetClockSource(ClockSource source) {
    const ClockSource previous = clockSource;
    clockSource = source ? source : RuntimeTime;
    return previous;
}
