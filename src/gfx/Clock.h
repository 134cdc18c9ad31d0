// Wall-clock seconds for everything that stamps or compares times.
#pragma once

#include <ctime>

using ClockSource = time_t (*)();

time_t CurrentTime();
// Swaps the clock, returning the one it replaces; null restores the C runtime's time().
ClockSource SetClockSource(ClockSource source);
