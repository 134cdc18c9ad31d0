// Watches the platform calls of this test binary by patching its own import table, so that
// tests can count calls (SetWindowPos, screen captures, ...) and GDI objects still alive
// without replacing any behaviour. GetGuiResources is no help under Wine: it answers 0.
#pragma once

#include <string>

// Patches the import table once; later calls do nothing. TestMain calls it.
void InstallApiCounter();

// Calls of one watched function (by its export name, e.g. "SetWindowPos", "CreateDCA")
// since the last reset.
int CallCount(const char* functionName);
// Counted as a call: a BitBlt from a DC that GetDC gave for the whole screen.
constexpr const char* SCREEN_COPY = "BitBlt from the screen";
void ResetCallCounts();

// Bitmaps, regions, solid brushes, memory and display DCs created through watched calls and
// not yet released (a region handed to a window by SetWindowRgn counts as released), plus
// window DCs from GetDC not yet given back with ReleaseDC.
int LiveGdiObjects();

// The last ShellExecuteA request; such requests are recorded and not passed on, so no
// browser starts during unit tests.
struct ShellRequest {
    std::string verb;
    std::string file;
    int showCommand = 0;
};
const ShellRequest& LastShellRequest();
