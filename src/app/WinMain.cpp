// Entry routine: one copy per desktop, then the message loop until the main window goes.
#include "app/MainWindow.h"
#include "windows/SpriteWindowClass.h"

namespace {
constexpr UINT SPRITE_CURSOR = 5012;
constexpr UINT ACCELERATORS = 109;
// GetMessageA failed: the last message's wParam would mean nothing.
constexpr int MESSAGE_LOOP_FAILED = 1;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    LoadStringA(instance, STRING_TITLE, mainWindowTitle, STRING_BUFFER_SIZE);
    LoadStringA(instance, STRING_CLASS_NAME, mainWindowClassName, STRING_BUFFER_SIZE);
    if (FindWindowA(mainWindowClassName, mainWindowTitle)) {
        return 0;
    }

    spriteCursor = LoadCursorA(instance, MAKEINTRESOURCEA(SPRITE_CURSOR));
    RegisterMainClass(instance);
    RegisterSpriteClass(instance, spriteCursor);
    if (!CreateMainWindow(instance, showCommand)) {
        return 0;
    }

    const HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(ACCELERATORS));
    MSG message = {};
    BOOL received;
    while ((received = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    if (spriteCursor) {
        DestroyCursor(spriteCursor);
    }
    return received < 0 ? MESSAGE_LOOP_FAILED : static_cast<int>(message.wParam);
}
