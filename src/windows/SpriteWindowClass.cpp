#include "windows/SpriteWindowClass.h"

#include "windows/HandleRegistry.h"

ATOM RegisterSpriteClass(HINSTANCE instance, HCURSOR cursor) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SpriteWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = SPRITE_CLASS_NAME;
    return RegisterClassExA(&windowClass);
}

LRESULT CALLBACK SpriteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            auto* object = static_cast<ScreenWindow*>(creation->lpCreateParams);
            handleRegistry.Add(window, object);
            object->HandleMessage(window, message, wParam, lParam);
            return 0;
        }
        case WM_DESTROY: {
            ScreenWindow* object = ObjectForWindow(window);
            if (!object) {
                return 0;
            }
            object->HandleMessage(window, message, wParam, lParam);
            handleRegistry.Remove(window);
            delete object;
            return 0;
        }
        default: {
            ScreenWindow* object = ObjectForWindow(window);
            if (object && object->HandleMessage(window, message, wParam, lParam)) {
                return 0;
            }
            return DefWindowProcA(window, message, wParam, lParam);
        }
    }
}
