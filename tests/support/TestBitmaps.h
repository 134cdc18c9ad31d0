// What the desktop shows, for unit and end-to-end tests alike: pictures of known content made
// in memory, pixels read back from bitmaps and from the screen, and the taskbar's icons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

using PixelFunction = std::function<COLORREF(int x, int y)>;

// A screen-compatible bitmap filled from the function; the caller deletes it.
HBITMAP MakeBitmap(int width, int height, const PixelFunction& pixel);
// 32 bits a pixel, top row first.
BITMAPINFO TopDownFormat(int width, int height);
// Every pixel as 0x00RRGGBB, top row first; a 1-bit mask reads 0 or 0xFFFFFF.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap);
// The screen's pixels inside area, as PixelsOf reads them.
std::vector<uint32_t> ScreenPixels(const RECT& area);
// Whether the taskbar holds an icon of the window: modifying nothing succeeds only then.
// With NIM_DELETE, takes it away as a restarted taskbar would have lost it.
bool TaskbarHolds(HWND window, DWORD message = 1 /* NIM_MODIFY */);
