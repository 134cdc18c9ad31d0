#include "app/TrayIcon.h"

int SetTrayIcon(HWND, bool) {
    return 0;
}

void HandleTrayNotify(HWND, LPARAM) {}
