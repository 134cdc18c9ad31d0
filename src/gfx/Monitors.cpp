#include "gfx/Monitors.h"

#include <algorithm>

namespace {
// MDT_EFFECTIVE_DPI
constexpr int EFFECTIVE_DPI = 0;

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// Windows 8.1 and later only: looked up, never imported, so the program starts on Windows 7.
GetDpiForMonitorFunction DpiForMonitorFunction() {
    static bool resolved = false;
    static GetDpiForMonitorFunction function = nullptr;
    if (!resolved) {
        resolved = true;
        if (HMODULE shcore = LoadLibraryA("shcore.dll")) {
            function = reinterpret_cast<GetDpiForMonitorFunction>(
                reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
        }
    }
    return function;
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    auto& monitors = *reinterpret_cast<std::vector<MonitorArea>*>(list);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(monitor, &info)) {
        return TRUE;
    }
    MonitorArea area;
    area.bounds = info.rcMonitor;
    UINT dpiX = 0;
    UINT dpiY = 0;
    const GetDpiForMonitorFunction dpiForMonitor = DpiForMonitorFunction();
    if (dpiForMonitor && dpiForMonitor(monitor, EFFECTIVE_DPI, &dpiX, &dpiY) == S_OK && dpiX > 0) {
        area.dpi = dpiX;
    }
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
        monitors.insert(monitors.begin(), area);
    } else {
        monitors.push_back(area);
    }
    return TRUE;
}

std::vector<MonitorArea> SystemMonitors() {
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

MonitorSource monitorSource = SystemMonitors;
std::vector<MonitorArea> monitors;
bool monitorsRead = false;

int64_t Overlap(const RECT& a, const RECT& b) {
    const int64_t width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int64_t height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// Squared, which orders the same.
int64_t Distance(const RECT& a, const RECT& b) {
    const int64_t dx = std::max({0L, b.left - a.right, a.left - b.right});
    const int64_t dy = std::max({0L, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}
}  // namespace

void RefreshMonitors() {
    monitors = monitorSource();
    if (monitors.empty()) {
        MonitorArea screen;
        screen.bounds = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        monitors.push_back(screen);
    }
    monitorsRead = true;
}

ScreenMonitor MonitorForRect(const RECT& rect) {
    if (!monitorsRead) {
        RefreshMonitors();
    }
    const MonitorArea* nearest = &monitors.front();
    for (const MonitorArea& monitor : monitors) {
        const int64_t overlap = Overlap(rect, monitor.bounds);
        const int64_t nearestOverlap = Overlap(rect, nearest->bounds);
        if (overlap > nearestOverlap ||
            (nearestOverlap == 0 && overlap == 0 &&
             Distance(rect, monitor.bounds) < Distance(rect, nearest->bounds))) {
            nearest = &monitor;
        }
    }
    ScreenMonitor result;
    result.bounds = nearest->bounds;
    result.dpi = nearest->dpi;
    result.monitorCount = static_cast<int32_t>(monitors.size());
    return result;
}

MonitorSource SetMonitorSource(MonitorSource source) {
    const MonitorSource previous = monitorSource;
    monitorSource = source ? source : SystemMonitors;
    RefreshMonitors();
    return previous;
}

int32_t ScaleForDpi(UINT dpi) {
    const int32_t scale = static_cast<int32_t>((dpi + DEFAULT_DPI / 2) / DEFAULT_DPI);
    return scale < 1 ? 1 : scale;
}
