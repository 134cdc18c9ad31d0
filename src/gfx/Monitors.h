// Which monitor holds a rectangle, where it lies and how finely it draws. The desktop's
// monitors are read once and kept, as asking the system for each rectangle would cost more
// than a whole tick's placing of signs; the source that reads them can be swapped, like the
// clock, so that tests can lay out any set of monitors.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

constexpr UINT DEFAULT_DPI = 96;

struct MonitorArea {
    // The monitor's whole area in screen coordinates; it may lie at negative x or y.
    RECT bounds = {};
    UINT dpi = DEFAULT_DPI;
};

struct ScreenMonitor {
    RECT bounds = {};
    UINT dpi = DEFAULT_DPI;
    // Monitors on the desktop: with one, nothing off it can ever show.
    int32_t monitorCount = 1;
};

// Reads the desktop's monitors, the primary one first.
using MonitorSource = std::vector<MonitorArea> (*)();

// How the system tells a monitor's DPI. Windows before 8.1 cannot tell it per monitor, and
// draws a program that declares itself DPI aware at the system's DPI everywhere.
struct DpiSource {
    // GetDpiForMonitor; null where the system lacks it.
    HRESULT(WINAPI* dpiForMonitor)(HMONITOR, int, UINT*, UINT*);
    UINT (*systemDpi)();
};
DpiSource SystemDpiSource();
// The system's monitors, each with the DPI that dpi gives it.
std::vector<MonitorArea> ReadSystemMonitors(const DpiSource& dpi);

// The monitor nearest to rect, as MonitorFromRect with MONITOR_DEFAULTTONEAREST picks it:
// the one it overlaps most, else the closest, else the primary.
ScreenMonitor MonitorForRect(const RECT& rect);
// The monitor holding a point, else the closest to it.
ScreenMonitor MonitorForPoint(LONG x, LONG y);
// Reads the monitors again, after the user changed them or their scale.
void RefreshMonitors();
// Counts the readings that found the monitors changed: laid out anew, added, removed or
// rescaled.
uint32_t MonitorLayoutVersion();
// Swaps the source and reads from it, returning the one it replaces; null restores the
// system's.
MonitorSource SetMonitorSource(MonitorSource source);

// How many screen pixels one picture pixel takes: dpi / 96 rounded half up, at least 1.
int32_t ScaleForDpi(UINT dpi);
