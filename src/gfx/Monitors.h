// Which monitor holds a rectangle, where it lies and how finely it draws. Behind a
// swappable source, like the clock, so that tests can lay out any set of monitors.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr UINT DEFAULT_DPI = 96;

struct ScreenMonitor {
    // The monitor's whole area in screen coordinates; it may lie at negative x or y.
    RECT bounds = {};
    UINT dpi = DEFAULT_DPI;
    // Monitors on the desktop: with one, nothing off it can ever show.
    int32_t monitorCount = 1;
};

using MonitorSource = ScreenMonitor (*)(const RECT& rect);

// The monitor nearest to rect, as MonitorFromRect with MONITOR_DEFAULTTONEAREST finds it.
ScreenMonitor MonitorForRect(const RECT& rect);
// Swaps the source, returning the one it replaces; null restores the system's.
MonitorSource SetMonitorSource(MonitorSource source);

// How many screen pixels one picture pixel takes: dpi / 96 rounded half up, at least 1.
int32_t ScaleForDpi(UINT dpi);
