#include "app/ForegroundWatcher.h"

bool IsSignableWindow(HWND) {
    return false;
}

void CreateSignFor(HWND) {}
