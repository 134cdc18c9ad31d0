#include "windows/ScreenWindow.h"

#include "windows/SpriteWindowClass.h"

int ScreenWindow::HandleMessage(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

void ScreenWindow::Paint(HDC) {}

void ScreenWindow::Tick() {}

bool ScreenWindow::QueryProperty(int id, LONG_PTR& value, ScreenWindow*& object) {
    if (id != PROP_SELF) {
        return false;
    }
    value = 0;
    object = this;
    return true;
}

bool ScreenWindow::CreateSpriteWindow(HWND mainWindowHandle, HWND owner) {
    instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindowHandle, GWLP_HINSTANCE));
    mainWindow = mainWindowHandle;
    window = CreateWindowExA(WS_EX_NOPARENTNOTIFY, SPRITE_CLASS_NAME, "", WS_POPUP, 0, 0, 100, 100,
                             owner, nullptr, instance, this);
    return window != nullptr;
}
