// The notification-area icon, its menu and the About dialog.
#pragma once

#include <windows.h>

// Adds (add true) or removes the icon; 0, or -1 when the icon image cannot be loaded.
int SetTrayIcon(HWND window, bool add);
// Acts on a mouse event reported for the icon.
void HandleTrayNotify(HWND window, LPARAM mouseMessage);
