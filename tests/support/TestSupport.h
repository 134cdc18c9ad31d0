// Helpers for tests that drive the program's code against real windows and GDI, and stand-ins
// for what it reads of the system through its seams, each replacing one source while it
// lives.
#pragma once

#include <windows.h>

#include <ctime>
#include <ostream>
#include <vector>

#include "gfx/Monitors.h"
#include "gfx/WindowFrame.h"
#include "windows/HandleRegistry.h"
#include "windows/SpriteTypes.h"

// Rectangles and points read as numbers in failure messages.
inline void PrintTo(const RectI& rect, std::ostream* out) {
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << " x " << rect.height << ")";
}
inline void PrintTo(const PointD& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

// The program's classes and hidden main window in this process, its tick timer stopped: the
// tests drive the ticks.
bool StartProgramHere();
void StopProgramHere();
bool RestartMainWindow();

// A plain top-level window of the tests' own class, painted in one solid colour.
struct TestWindowOptions {
    const char* title = "Test target";
    int x = 300, y = 200, width = 300, height = 200;
    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, exStyle = 0;
    HWND owner = nullptr;
    COLORREF colour = RGB(40, 110, 160);
};
HWND CreateTestWindow(const TestWindowOptions& options = {});
void BringToFront(HWND window);

// Dispatches everything queued for this thread and flushes GDI, so the X server shows it.
void PumpMessages();
// Pumps for a while, so that posted messages and repaints of other windows land.
void PumpFor(DWORD milliseconds);
// Ticks of the main window, each followed by a pump, as the timer would deliver them.
void RunTicks(int count = 1);
void DestroyAllSprites();

template <typename T>
T* ObjectAs(HWND window) {
    return dynamic_cast<T*>(ObjectForWindow(window));
}

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

// The monitors as the test lays them out, the primary first; the program finds out when it
// reads them again, as with the user's changes.
class FakeMonitors {
public:
    explicit FakeMonitors(const std::vector<MonitorArea>& layout);
    ~FakeMonitors();
    void SetDpi(size_t monitor, UINT dpi) { current.at(monitor).dpi = dpi; }
    void Lay(const std::vector<MonitorArea>& layout) { current = layout; }

private:
    static inline std::vector<MonitorArea> current;
};

// Frames drawn as Windows 10 and 11 draw them, border pixels inside the window rectangle on
// the left, right and bottom, and one window cloaked.
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

// The quiet settings, at first "go"; counts the reads since the last answers.
class FakeQuietSettings {
public:
    FakeQuietSettings();
    ~FakeQuietSettings();
    void Answer(bool animationsOn, int notificationState);
    int AnimationReads() const { return animationReads; }
    int StateReads() const { return stateReads; }

private:
    static inline bool animations = true;
    static inline int state = 0, animationReads = 0, stateReads = 0;
};
