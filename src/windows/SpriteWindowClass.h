// The window class shared by every sign and figure, and its window procedure.
#pragma once

#include <windows.h>

constexpr const char* SPRITE_CLASS_NAME = "TarvolenStrollkin";

// Signs and figures show the given cursor.
ATOM RegisterSpriteClass(HINSTANCE instance, HCURSOR cursor);
LRESULT CALLBACK SpriteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
