// Decides which foreground windows get a sign, and hangs one on them.
#pragma once

#include <windows.h>

bool IsSignableWindow(HWND window);
void CreateSignFor(HWND foreground);
