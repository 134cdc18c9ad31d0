#include "gfx/Monitors.h"

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

ScreenMonitor SystemMonitor(const RECT& rect) {
    ScreenMonitor result;
    result.monitorCount = GetSystemMetrics(SM_CMONITORS);
    const HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoA(monitor, &info)) {
        result.bounds = info.rcMonitor;
    } else {
        result.bounds = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    UINT dpiX = 0;
    UINT dpiY = 0;
    const GetDpiForMonitorFunction dpiForMonitor = DpiForMonitorFunction();
    if (monitor && dpiForMonitor && dpiForMonitor(monitor, EFFECTIVE_DPI, &dpiX, &dpiY) == S_OK &&
        dpiX > 0) {
        result.dpi = dpiX;
    }
    return result;
}

MonitorSource monitorSource = SystemMonitor;
}  // namespace

ScreenMonitor MonitorForRect(const RECT& rect) {
    return monitorSource(rect);
}

MonitorSource SetMonitorSource(MonitorSource source) {
    const MonitorSource previous = monitorSource;
    monitorSource = source ? source : SystemMonitor;
    return previous;
}

int32_t ScaleForDpi(UINT dpi) {
    const int32_t scale = static_cast<int32_t>((dpi + DEFAULT_DPI / 2) / DEFAULT_DPI);
    return scale < 1 ? 1 : scale;
}
