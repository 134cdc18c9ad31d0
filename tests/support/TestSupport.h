// Shared helpers for tests that drive the program's code against real windows and GDI.
#pragma once

#include <windows.h>

#include <ctime>
#include <vector>

#include "gfx/Monitors.h"
#include "gfx/WindowFrame.h"

#include "windows/HandleRegistry.h"

// Brings up the program's classes and hidden main window in this process, with the tick
// timer stopped: the caller drives the ticks. False when the main window cannot be made.
bool StartProgramHere();
void StopProgramHere();
// Makes the main window again, its timer stopped, after a test destroyed it.
bool RestartMainWindow();

// A plain top-level window of the tests' own class, painted in one solid colour.
struct TestWindowOptions {
    const char* title = "Test target";
    int x = 300, y = 200, width = 300, height = 200;
    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    COLORREF colour = RGB(40, 110, 160);
};

HWND CreateTestWindow(const TestWindowOptions& options = {});
void BringToFront(HWND window);

// Dispatches everything queued for this thread and flushes GDI, so the X server shows it.
void PumpMessages();
// Pumps for the given time, so that posted messages and repaints of other windows land.
void PumpFor(DWORD milliseconds);
// One tick of the main window, followed by a pump, as the timer would deliver it.
void RunTicks(int count = 1);
// Destroys every registered sprite window (lowest handle first) and pumps.
void DestroyAllSprites();

template <typename T>
T* ObjectAs(HWND window) {
    return dynamic_cast<T*>(ObjectForWindow(window));
}

// Replaces the program's clock with one the test sets; restores it when it goes.
class FakeClock {
public:
    explicit FakeClock(time_t start);
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void Set(time_t now) { current = now; }
    void Advance(time_t seconds) { current += seconds; }
    time_t Now() const { return current; }

private:
    static inline time_t current = 0;
};

// Replaces the system's monitors with a layout the test gives (the first is the primary);
// restores them when it goes.
class FakeMonitors {
public:
    explicit FakeMonitors(const std::vector<MonitorArea>& layout);
    ~FakeMonitors();
    FakeMonitors(const FakeMonitors&) = delete;
    FakeMonitors& operator=(const FakeMonitors&) = delete;

    // As the user would: the program finds out when it reads the monitors again.
    void SetDpi(size_t monitor, UINT dpi) { current.at(monitor).dpi = dpi; }
    void Lay(const std::vector<MonitorArea>& layout) { current = layout; }

private:
    static inline std::vector<MonitorArea> current;
};

// Gives every window the invisible borders of Windows 10 and 11, border pixels wide on the
// left, right and bottom of its window rectangle, and cloaks one window; restores the
// system's frames when it goes.
class FakeFrames {
public:
    explicit FakeFrames(int border);
    ~FakeFrames();
    FakeFrames(const FakeFrames&) = delete;
    FakeFrames& operator=(const FakeFrames&) = delete;

    void SetBorder(int width) { border = width; }
    void Cloak(HWND window) { cloaked = window; }

private:
    static inline int border = 0;
    static inline HWND cloaked = nullptr;
};
