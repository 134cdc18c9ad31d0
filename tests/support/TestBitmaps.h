// Bitmaps of known content for drawing tests: made in memory, read back pixel by pixel, or
// written to disk as BMP files for frames that load from a file.
#pragma once

#include <windows.h>

#include <functional>

using PixelFunction = std::function<COLORREF(int x, int y)>;

// A screen-compatible bitmap filled from the function; the caller deletes it.
HBITMAP MakeBitmap(int width, int height, const PixelFunction& pixel);
// For a 1-bit mask the answer is black (0) or white (1).
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);
// A 24-bit BMP file.
bool WriteBmpFile(const char* path, int width, int height, const PixelFunction& pixel);
