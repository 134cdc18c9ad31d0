// The hidden main window: owner of the tick timer, the tray icon and the figure windows.
#pragma once

#include <windows.h>

constexpr int STRING_BUFFER_SIZE = 100;
constexpr UINT STRING_TITLE = 103;
constexpr UINT STRING_CLASS_NAME = 109;
constexpr UINT_PTR TICK_TIMER_ID = 1;
constexpr UINT TICK_PERIOD_MS = 50;

extern char mainWindowTitle[STRING_BUFFER_SIZE];
extern char mainWindowClassName[STRING_BUFFER_SIZE];
extern HINSTANCE appInstance;
extern HWND mainWindowHandle;
extern HCURSOR spriteCursor;
// What SetTimer returned; 0 while no timer runs.
extern UINT_PTR timerId;

void RegisterMainClass(HINSTANCE instance);
bool CreateMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// One pass of the 50 ms heartbeat: every object ticks, the foreground window is claimed
// by its own sprite or by its sign, and an unclaimed one may get a new sign. Every 20th
// pass first reads the quiet settings again.
void RunTick();
