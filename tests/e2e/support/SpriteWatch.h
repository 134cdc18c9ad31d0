// Finds the program's signs and figures among the desktop's windows, and the sample windows
// the tests give it to work on.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e/support/DesktopProbe.h"
#include "e2e/support/ProgramProcess.h"

constexpr DWORD STARTUP_MS = 15000;
// The program's sign and figure sizes, from its artwork.
constexpr int SIGN_WIDTH = 122;
constexpr int SIGN_HEIGHT = 98;

// Starts SampleWindow.exe with a title and a place and waits for its window; null on failure.
HWND StartSample(ProgramProcess& sample, const std::string& title, int x, int y, int width,
                 int height);
// Starts the program and waits for its hidden main window; null on failure.
HWND StartProgram(ProgramProcess& program);
// Asks the program to close as the system would, and tells whether it ended with code 0.
bool CloseProgram(ProgramProcess& program, HWND mainWindow);

// The signs hanging on a window: sprite windows it owns.
std::vector<HWND> SignsOf(HWND target);
// The figures out for any sign: sprite windows owned by the program's main window.
std::vector<HWND> FiguresOf(HWND mainWindow);
// The first visible figure, or null.
HWND VisibleFigure(HWND mainWindow);

// Whether a sign shows at a place at its size for a scale (2 at 200 %).
bool SignShownAt(HWND sign, int x, int y, int scale = 1);
// Whether a sign shown at a place has the whole sign's shape and shows today's face in it,
// both at a scale, over the desktop as it was before; waits a little for the paint.
testing::AssertionResult ShowsFaceInShape(HWND sign, const RECT& place,
                                          const PixelImage& desktopBefore, int scale = 1);

// The program, a window with its sign and a figure on its way to it.
struct VisitScene {
    ProgramProcess program;
    ProgramProcess sample;
    HWND mainWindow = nullptr;
    HWND target = nullptr;
    HWND figure = nullptr;

    // At 100 % the sign hangs at x = left - 122, close enough to the screen's edge that a
    // figure is still walking in after a few seconds.
    bool Start(const char* title, int left = 260);
};

struct Sighting {
    DWORD time;
    RECT rect;
};
// Follows a figure's window for a while, as often as the desktop lets us look; a test may
// look at more at each sighting.
std::vector<Sighting> Follow(HWND figure, DWORD durationMs,
                             const std::function<void()>& atEachSighting = {});
