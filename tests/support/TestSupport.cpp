#include "support/TestSupport.h"

#include <algorithm>

#include "gfx/Clock.h"
#include "app/MainWindow.h"
#include "support/ApiCounter.h"
#include "windows/SpriteWindowClass.h"

namespace {
constexpr const char* TEST_CLASS_NAME = "TarvolenTestTarget";
constexpr const char* COLOUR_PROPERTY = "TestColour";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT area;
        GetClientRect(window, &area);
        const auto colour =
            static_cast<COLORREF>(reinterpret_cast<UINT_PTR>(GetPropA(window, COLOUR_PROPERTY)));
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        DeleteObject(brush);
        return 1;
    }
    if (message == WM_DESTROY) {
        RemovePropA(window, COLOUR_PROPERTY);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestClass() {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = TEST_CLASS_NAME;
    RegisterClassExA(&windowClass);
    registered = true;
}

time_t fakeNow = 0;
ClockSource replacedClock = nullptr;

time_t FakeNow() {
    return fakeNow;
}
}  // namespace

bool StartProgramHere() {
    InstallApiCounter();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    LoadStringA(instance, STRING_TITLE, mainWindowTitle, STRING_BUFFER_SIZE);
    LoadStringA(instance, STRING_CLASS_NAME, mainWindowClassName, STRING_BUFFER_SIZE);
    spriteCursor = LoadCursorA(instance, MAKEINTRESOURCEA(5012));
    RegisterMainClass(instance);
    RegisterSpriteClass(instance, spriteCursor);
    if (!CreateMainWindow(instance, SW_HIDE)) {
        return false;
    }
    KillTimer(mainWindowHandle, timerId);
    PumpMessages();
    return true;
}

void StopProgramHere() {
    DestroyWindow(mainWindowHandle);
    PumpMessages();
}

HWND CreateTestWindow(const TestWindowOptions& options) {
    RegisterTestClass();
    HWND window =
        CreateWindowExA(options.exStyle, TEST_CLASS_NAME, options.title,
                        options.style & ~WS_VISIBLE, options.x, options.y, options.width,
                        options.height, options.owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        return nullptr;
    }
    SetPropA(window, COLOUR_PROPERTY,
             reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(options.colour)));
    if (options.style & WS_VISIBLE) {
        ShowWindow(window, SW_SHOWNORMAL);
    }
    PumpMessages();
    return window;
}

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    PumpMessages();
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    GdiFlush();
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        PumpMessages();
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
    PumpMessages();
}

void RunTicks(int count) {
    for (int i = 0; i < count; ++i) {
        RunTick();
        PumpMessages();
    }
}

void DestroyAllSprites() {
    while (!handleRegistry.Empty()) {
        DestroyWindow(handleRegistry.FirstWindow());
    }
    PumpMessages();
}

FakeClock::FakeClock(time_t start) {
    fakeNow = start;
    replacedClock = SetClockSource(FakeNow);
}

FakeClock::~FakeClock() {
    SetClockSource(replacedClock);
}

void FakeClock::Set(time_t now) {
    fakeNow = now;
}

void FakeClock::Advance(time_t seconds) {
    fakeNow += seconds;
}

time_t FakeClock::Now() const {
    return fakeNow;
}

namespace {
std::vector<FakeMonitor> fakeLayout;
MonitorSource replacedMonitors = nullptr;

LONG Overlap(const RECT& a, const RECT& b) {
    const LONG width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const LONG height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

LONG Distance(const RECT& a, const RECT& b) {
    const LONG dx = std::max({0L, b.left - a.right, a.left - b.right});
    const LONG dy = std::max({0L, b.top - a.bottom, a.top - b.bottom});
    return dx + dy;
}

ScreenMonitor FakeMonitorFor(const RECT& rect) {
    const FakeMonitor* best = &fakeLayout.front();
    for (const FakeMonitor& monitor : fakeLayout) {
        const LONG overlap = Overlap(rect, monitor.bounds);
        const LONG bestOverlap = Overlap(rect, best->bounds);
        if (overlap > bestOverlap ||
            (overlap == 0 && bestOverlap == 0 &&
             Distance(rect, monitor.bounds) < Distance(rect, best->bounds))) {
            best = &monitor;
        }
    }
    ScreenMonitor result;
    result.bounds = best->bounds;
    result.dpi = best->dpi;
    result.monitorCount = static_cast<int32_t>(fakeLayout.size());
    return result;
}
}  // namespace

FakeMonitors::FakeMonitors(const std::vector<FakeMonitor>& layout) {
    fakeLayout = layout;
    replacedMonitors = SetMonitorSource(FakeMonitorFor);
}

FakeMonitors::~FakeMonitors() {
    SetMonitorSource(replacedMonitors);
}

void FakeMonitors::SetDpi(size_t monitor, UINT dpi) {
    fakeLayout.at(monitor).dpi = dpi;
}

COLORREF ScreenPixel(int x, int y) {
    PumpMessages();
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}
