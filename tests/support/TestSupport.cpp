#include "support/TestSupport.h"

#include "app/MainWindow.h"
#include "gfx/Clock.h"
#include "gfx/QuietSettings.h"
#include "support/ApiCounter.h"
#include "windows/SpriteWindowClass.h"

namespace {
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_ERASEBKGND) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    RECT area;
    GetClientRect(window, &area);
    HBRUSH brush = CreateSolidBrush(COLORREF(GetWindowLongPtrA(window, GWLP_USERDATA)));
    FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
    DeleteObject(brush);
    return 1;
}

ClockSource replacedClock = nullptr;
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
    return RestartMainWindow();
}

void StopProgramHere() {
    DestroyWindow(mainWindowHandle);
    PumpMessages();
}

bool RestartMainWindow() {
    if (!CreateMainWindow(GetModuleHandleA(nullptr), SW_HIDE)) {
        return false;
    }
    KillTimer(mainWindowHandle, timerId);
    PumpMessages();
    return true;
}

HWND CreateTestWindow(const TestWindowOptions& options) {
    HWND window =
        CreateWindowExA(options.exStyle, "TarvolenTestTarget", options.title,
                        options.style & ~WS_VISIBLE, options.x, options.y, options.width,
                        options.height, options.owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window) {
        SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(options.colour));
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
    current = start;
    replacedClock = SetClockSource([] { return current; });
}
FakeClock::~FakeClock() {
    SetClockSource(replacedClock);
}

FakeMonitors::FakeMonitors(const std::vector<MonitorArea>& layout) {
    current = layout;
    replacedMonitors = SetMonitorSource([] { return current; });
}
FakeMonitors::~FakeMonitors() {
    SetMonitorSource(replacedMonitors);
    std::vector<MonitorArea>().swap(current);
}

FakeFrames::FakeFrames(int width) {
    border = width;
    cloaked = nullptr;
    SetFrameSource({[](HWND window, RECT& frame) {
                        if (!GetWindowRect(window, &frame)) {
                            return false;
                        }
                        frame = RECT{frame.left + border, frame.top, frame.right - border,
                                     frame.bottom - border};
                        return true;
                    },
                    [](HWND window) { return window == cloaked; }});
}
FakeFrames::~FakeFrames() {
    SetFrameSource({nullptr, nullptr});
}

FakeQuietSettings::FakeQuietSettings() {
    SetQuietSource(
        {[] { return ++animationReads, animations; }, [] { return ++stateReads, state; }});
    Answer(true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
    ReadQuietSettings();
    animationReads = stateReads = 0;
}
FakeQuietSettings::~FakeQuietSettings() {
    SetQuietSource({});
    ReadQuietSettings();
}
void FakeQuietSettings::Answer(bool animationsOn, int notificationState) {
    animations = animationsOn;
    state = notificationState;
    animationReads = stateReads = 0;
}
