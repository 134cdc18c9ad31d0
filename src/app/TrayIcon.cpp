#include "app/TrayIcon.h"

#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "resource.h"
#include "windows/SpriteTypes.h"

#include <cstring>

NOTIFYICONDATAA trayIconData = {};
HICON trayIcon = nullptr;

namespace {
constexpr const char* TRAY_TIP = "Tarvolen";
// Bottom-right corner at the point; the choice is returned, not sent.
constexpr UINT TRAY_MENU_FLAGS = TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN | TPM_RIGHTALIGN;
}  // namespace

int SetTrayIcon(HWND window, bool add) {
    if (!add) {
        Shell_NotifyIconA(NIM_DELETE, &trayIconData);
        return 0;
    }
    // Re-adding after a taskbar restart reuses the image instead of loading another. The
    // system's small-icon size is 16 at 100 % and grows with the display's scale.
    if (!trayIcon) {
        trayIcon = static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_SMALL),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    }
    if (!trayIcon) {
        return -1;
    }
    trayIconData = {};
    trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    trayIconData.hWnd = window;
    trayIconData.uID = TRAY_ICON_ID;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = WM_TRAY_NOTIFY;
    trayIconData.hIcon = trayIcon;
    strcpy(trayIconData.szTip, TRAY_TIP);
    Shell_NotifyIconA(NIM_ADD, &trayIconData);
    return 0;
}

int TrackTrayMenu(HWND window, int x, int y) {
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    const HMENU menu = LoadMenuA(appInstance, MAKEINTRESOURCEA(IDM_TRAY));
    if (!menu) {
        return -1;
    }
    const HMENU popup = GetSubMenu(menu, 0);
    if (!popup) {
        DestroyMenu(menu);
        return -1;
    }
    const int command = TrackPopupMenu(popup, TRAY_MENU_FLAGS, x, y, 0, window, nullptr);
    // The loaded menu takes its popup along.
    DestroyMenu(menu);
    // Lets the menu close properly when it is opened again at once.
    PostMessageA(window, WM_NULL, 0, 0);
    return command;
}

void HandleTrayNotify(HWND window, LPARAM mouseMessage) {
    if (mouseMessage != WM_RBUTTONUP) {
        return;
    }
    POINT cursor = {};
    GetCursorPos(&cursor);
    switch (TrackTrayMenu(window, cursor.x, cursor.y)) {
        case ID_TRAY_ABOUT:
            ShowAboutDialog();
            break;
        case ID_TRAY_EXIT:
            DestroyWindow(window);
            break;
        default:
            break;
    }
}

bool IsTaskbarCreatedMessage(UINT message) {
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    return taskbarCreated != 0 && message == taskbarCreated;
}
