// Shared helpers for tests that drive the program's code against real windows and GDI, and
// stand-ins for what the program reads of the system through its seams.
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

// Each stand-in below replaces one of the program's sources while it lives, and gives the
// system's back when it goes.

// The clock, at a time the test sets.
class FakeClock {
public:
    explicit FakeClock(time_t start);
    ~FakeClock();
    void Set(time_t now) { current = now; }
    void Advance(time_t seconds) { current += seconds; }
    time_t Now() const { return current; }

private:
    static inline time_t current = 0;
};

// The monitors, laid out as the test gives them (the first is the primary). The program
// finds out about a change when it reads the monitors again, as with the user's changes.
class FakeMonitors {
public:
    explicit FakeMonitors(const std::vector<MonitorArea>& layout);
    ~FakeMonitors();
    void SetDpi(size_t monitor, UINT dpi) { current.at(monitor).dpi = dpi; }
    void Lay(const std::vector<MonitorArea>& layout) { current = layout; }

private:
    static inline std::vector<MonitorArea> current;
};

// Window frames with the invisible borders of Windows 10 and 11, border pixels wide on the
// left, right and bottom of the window rectangle, and one window cloaked.
class FakeFrames {
public:
    explicit FakeFrames(int border);
    ~FakeFrames();
    void SetBorder(int width) { border = width; }
    void Cloak(HWND window) { cloaked = window; }

private:
    static inline int border = 0;
    static inline HWND cloaked = nullptr;
};

// The quiet settings, at first "go", counting how often the program asks.
class FakeQuietSettings {
public:
    FakeQuietSettings();
    ~FakeQuietSettings();
    // Changes the answers, which the program sees at its next read, and clears the counts.
    void Answer(bool animationsOn, int notificationState);
    int AnimationReads() const { return animationReads; }
    int StateReads() const { return stateReads; }

private:
    static inline bool animations = true;
    static inline int state = 0, animationReads = 0, stateReads = 0;
};
