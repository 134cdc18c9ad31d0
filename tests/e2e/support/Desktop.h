// Starts the real program and a sample window beside the tests and watches them from outside,
// as a user would: windows, screen pixels, clicks and the pages the browser is asked to open.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/TestBitmaps.h"

constexpr DWORD STARTUP_MS = 15000;
// Two ticks make and place a sign; a figure comes within the first three seconds.
constexpr DWORD ARRIVAL_MS = 3000;
constexpr int SIGN_WIDTH = 122;
constexpr int SIGN_HEIGHT = 98;

template <typename Condition>
bool WaitUntil(DWORD timeoutMs, Condition&& condition) {
    for (const DWORD start = GetTickCount(); !condition(); Sleep(20)) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
    }
    return true;
}

// A program built beside the test binary; killed if it still runs when this goes.
class Process {
public:
    ~Process();
    bool Start(const char* exeName, const std::string& arguments = "");
    bool Ended(DWORD timeoutMs, DWORD& exitCode);
    bool Running() { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD Id() const { return info.dwProcessId; }

private:
    PROCESS_INFORMATION info = {};
};

// The program's hidden main window, or the sample window in front at a place, once it runs;
// null when it did not come up. Closing the program as the system would, it ends with code 0.
HWND StartProgram(Process& program);
HWND StartSample(Process& sample, const std::string& title, int x, int y, int width, int height);
bool CloseProgram(Process& program, HWND mainWindow);

// Sprite windows owned by a window: a target's signs, or the main window's figures.
std::vector<HWND> SpritesOwnedBy(HWND owner);
HWND VisibleFigure(HWND mainWindow);
RECT RectOf(HWND window);
// The target's one sign shown at a place at its size for a scale (2 at 200 %), now or once
// it comes; null when it does not come in time.
bool SignShownAt(HWND sign, int x, int y, int scale = 1);
HWND WaitForSign(HWND target, int x, int y, int scale = 1);

// A real left click at a screen point.
void ClickAt(int x, int y);

// Starts the program and a sample window 260 pixels a scale from the left edge, and checks
// as it goes: the sign shows today's face in the sign's shape over the desktop as it was,
// and the first figure walks in over the left edge in steps of 6 pixels a scale every 150
// ms, on a ground line below the sign, its frames 70 pixels a scale high, never showing
// magenta. Ends three seconds into the walk.
struct SignAndWalk {
    void Run(int scale);
    Process program, sample;
    HWND mainWindow = nullptr, target = nullptr, sign = nullptr, figure = nullptr;
};

// While it lives, the prefix's browser is a script that writes down every page it is given,
// in a file of the Unix side that Wine's drive Z: shows.
class BrowserRecorder {
public:
    BrowserRecorder();
    ~BrowserRecorder();
    std::vector<std::string> Pages() const;

private:
    std::string record;
};
