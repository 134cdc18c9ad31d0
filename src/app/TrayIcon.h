// The notification-area icon and its right-click menu.
#pragma once

#include <windows.h>
#include <shellapi.h>

constexpr UINT TRAY_ICON_ID = 0x55AA55AA;

// The record the icon was added with; removal uses it unchanged.
extern NOTIFYICONDATAA trayIconData;
// Loaded once and kept for the life of the process.
extern HICON trayIcon;

// Adds (add true) or removes the icon; 0, or -1 when the icon image cannot be loaded.
int SetTrayIcon(HWND window, bool add);
// Shows the menu with its bottom-right corner at (x, y) and waits for the user: the chosen
// command id, 0 when dismissed, -1 when the menu cannot be loaded.
int TrackTrayMenu(HWND window, int x, int y);
// Acts on a mouse event reported for the icon: a right-button release opens the menu.
void HandleTrayNotify(HWND window, LPARAM mouseMessage);
// True for the message a (re)started taskbar broadcasts; its icons are gone by then.
bool IsTaskbarCreatedMessage(UINT message);
