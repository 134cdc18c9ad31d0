// The window class shared by every sign and figure, and its window procedure.
#pragma once

#include <windows.h>

constexpr const char* SPRITE_CLASS_NAME = "TarvolenStrollkin";

ATOM RegisterSpriteClass(HINSTANCE instance);
LRESULT CALLBACK SpriteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
