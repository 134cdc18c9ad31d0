// Watches the platform calls of this test binary by patching its own import table: counts
// calls and follows GDI objects without replacing any behaviour (GetGuiResources answers 0
// under Wine).
#pragma once

#include <windows.h>

#include <functional>

// Patches the import table once; StartProgramHere calls it.
void InstallApiCounter();

// Calls of one watched function (by export name, e.g. "SetWindowPos") since the last reset.
int CallCount(const char* functionName);
// Counted as a call: a BitBlt from a DC that GetDC gave for the whole screen.
constexpr const char* SCREEN_COPY = "BitBlt from the screen";
void ResetCallCounts();

// Bitmaps, regions and DCs made through watched calls and not yet released (a region
// a window accepted counts as released), window DCs from GetDC not yet given back.
int LiveGdiObjects();

// Called after every SetWindowPos and SetWindowRgn of any window, while set.
void WatchWindowChanges(std::function<void(HWND)> watcher);
