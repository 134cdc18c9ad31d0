#include "gfx/Monitors.h"

#include "gfx/SystemFunction.h"

#include <algorithm>
#include <utility>

namespace {
// MDT_EFFECTIVE_DPI
constexpr int EFFECTIVE_DPI = 0;

using DpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : DEFAULT_DPI;
}

struct Reading {
    const DpiSource& dpi;
    std::vector<MonitorArea> monitors;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM readingAddress) {
    auto& reading = *reinterpret_cast<Reading*>(readingAddress);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(monitor, &info)) {
        return TRUE;
    }
    MonitorArea area;
    area.bounds = info.rcMonitor;
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (reading.dpi.dpiForMonitor) {
        if (reading.dpi.dpiForMonitor(monitor, EFFECTIVE_DPI, &dpiX, &dpiY) == S_OK && dpiX > 0) {
            area.dpi = dpiX;
        }
    } else if (reading.dpi.systemDpi) {
        area.dpi = reading.dpi.systemDpi();
    }
    auto& monitors = reading.monitors;
    monitors.insert(info.dwFlags & MONITORINFOF_PRIMARY ? monitors.begin() : monitors.end(), area);
    return TRUE;
}

std::vector<MonitorArea> SystemMonitors() {
    static const DpiSource dpi = SystemDpiSource();
    return ReadSystemMonitors(dpi);
}

MonitorSource monitorSource = SystemMonitors;
std::vector<MonitorArea> monitors;
bool monitorsRead = false;
uint32_t layoutVersion = 0;

bool SameMonitors(const std::vector<MonitorArea>& a, const std::vector<MonitorArea>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (!EqualRect(&a[i].bounds, &b[i].bounds) || a[i].dpi != b[i].dpi) {
            return false;
        }
    }
    return true;
}

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

DpiSource SystemDpiSource() {
    // GetDpiForMonitor: Windows 8.1 and later only.
    return DpiSource{SystemFunction<DpiForMonitorFunction>("shcore.dll", "GetDpiForMonitor"),
                     ScreenDpi};
}

std::vector<MonitorArea> ReadSystemMonitors(const DpiSource& dpi) {
    Reading reading{dpi, {}};
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&reading));
    return reading.monitors;
}

void RefreshMonitors() {
    std::vector<MonitorArea> now = monitorSource();
    if (now.empty()) {
        MonitorArea screen;
        screen.bounds = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        now.push_back(screen);
    }
    if (monitorsRead && !SameMonitors(now, monitors)) {
        layoutVersion = layoutVersion + 1;
    }
    monitors = std::move(now);
    monitorsRead = true;
}

uint32_t MonitorLayoutVersion() {
    return layoutVersion;
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

ScreenMonitor MonitorForPoint(LONG x, LONG y) {
    return MonitorForRect(RECT{x, y, x + 1, y + 1});
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
