#include "app/ForegroundWatcher.h"

#include "app/MainWindow.h"
#include "gfx/WindowFrame.h"
#include "sign/SignWindow.h"

#include <cstring>
#include <new>

namespace {
constexpr int TITLE_BUFFER_SIZE = 64;
constexpr const char* SCREEN_SAVER_TITLE = "Screen Saver";
// The program's own hidden main window.
constexpr const char* OWN_TITLE = "Tarvolen";
}  // namespace

bool IsSignableWindow(HWND window) {
    const HWND parent = GetParent(window);
    if (parent && IsWindowVisible(parent)) {
        return false;
    }

    char title[TITLE_BUFFER_SIZE] = {};
    if (GetWindowTextA(window, title, TITLE_BUFFER_SIZE) <= 0) {
        return false;
    }
    if (std::strcmp(title, SCREEN_SAVER_TITLE) == 0 || std::strcmp(title, OWN_TITLE) == 0) {
        return false;
    }

    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if ((style & (WS_MINIMIZE | WS_MAXIMIZE)) || !(style & WS_VISIBLE)) {
        return false;
    }
    if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) {
        return false;
    }

    RECT frame;
    if (!VisibleFrame(window, frame) || IsCloaked(window)) {
        return false;
    }
    return TargetFitsSign(frame, ScaleForDpi(MonitorForTarget(frame).dpi));
}

void CreateSignFor(HWND foreground) {
    auto* sign = new (std::nothrow) SignWindow;
    if (!sign) {
        return;
    }
    sign->SetKind(KIND_SIGN);
    if (!sign->Create(mainWindowHandle, foreground)) {
        // Never registered, so nobody else will delete it.
        delete sign;
    }
}
