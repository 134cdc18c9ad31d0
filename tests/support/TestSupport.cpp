#include "support/TestSupport.h"

#include "app/MainWindow.h"
#include "gfx/Clock.h"
#include "support/ApiCounter.h"
#include "windows/SpriteWindowClass.h"

namespace {
constexpr const char* COLOUR = "TestColour";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT area;
        GetClientRect(window, &area);
        HBRUSH brush = CreateSolidBrush(COLORREF(UINT_PTR(GetPropA(window, COLOUR))));
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        DeleteObject(brush);
        return 1;
    }
    if (message == WM_DESTROY) {
        RemovePropA(window, COLOUR);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

time_t fakeNow = 0;
ClockSource replacedClock = nullptr;
std::vector<MonitorArea> fakeLayout;
MonitorSource replacedMonitors = nullptr;
}  // namespace

bool StartProgramHere() {
    InstallApiCounter();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    LoadStringA(instance, STRING_TITLE, mainWindowTitle, STRING_BUFFER_SIZE);
    LoadStringA(instance, STRING_CLASS_NAME, mainWindowClassName, STRING_BUFFER_SIZE);
    spriteCursor = LoadCursorA(instance, MAKEINTRESOURCEA(5012));
    RegisterMainClass(instance);
    RegisterSpriteClass(instance, spriteCursor);
    WNDCLASSEXA testClass = {};
    testClass.cbSize = sizeof(testClass);
    testClass.lpfnWndProc = TestWindowProc;
    testClass.hInstance = instance;
    testClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    testClass.lpszClassName = "TarvolenTestTarget";
    RegisterClassExA(&testClass);
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
    HWND window =
        CreateWindowExA(options.exStyle, "TarvolenTestTarget", options.title,
                        options.style & ~WS_VISIBLE, options.x, options.y, options.width,
                        options.height, options.owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window) {
        SetPropA(window, COLOUR, reinterpret_cast<HANDLE>(UINT_PTR(options.colour)));
        if (options.style & WS_VISIBLE) {
            ShowWindow(window, SW_SHOWNORMAL);
        }
        PumpMessages();
    }
    return window;
}

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    PumpMessages();
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    GdiFlush();
}

void PumpFor(DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(5)) {
        PumpMessages();
    }
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
    replacedClock = SetClockSource([] { return fakeNow; });
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

FakeMonitors::FakeMonitors(const std::vector<MonitorArea>& layout) {
    fakeLayout = layout;
    replacedMonitors = SetMonitorSource([] { return fakeLayout; });
}
FakeMonitors::~FakeMonitors() {
    SetMonitorSource(replacedMonitors);
}
void FakeMonitors::SetDpi(size_t monitor, UINT dpi) {
    fakeLayout.at(monitor).dpi = dpi;
}
