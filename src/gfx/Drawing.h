// Rectangle arithmetic, screen capture, blits and masks: free helpers without state.
// Every bitmap a helper returns belongs to the caller; every DC passed in leaves with the
// objects and colours it came with.
#pragma once

#include <windows.h>

#include "gfx/GeometryTypes.h"

// 1 when the intersection is not empty; the outputs are written either way.
int IntersectRects(const RectI& a, const RectI& b, int& x, int& y, int& width, int& height);
// 1 when the bounding rectangle (gaps included) is not empty; outputs written either way.
int UnionRects(const RectI& a, const RectI& b, int& x, int& y, int& width, int& height);

// A new bitmap with what the screen shows inside rect, or null.
HBITMAP CaptureScreenRect(const RectI& rect);

void CopyBitmapRect(HDC destinationDc, HBITMAP destination, int x, int y, int width, int height,
                    HDC sourceDc, HBITMAP source, int sourceX, int sourceY);
void BlitBitmap(HDC destinationDc, int x, int y, int width, int height, HDC sourceDc,
                HBITMAP source, int sourceX, int sourceY);

// A new bitmap with every pixel of source as a scale x scale block (nearest neighbour, no
// blending, so the key colour stays exact), or null.
HBITMAP CreateScaledBitmap(HBITMAP source, int32_t scale);

// A new 1-bit mask: 0 where the bitmap has the key colour (transparent), 1 elsewhere.
HBITMAP CreateMaskBitmap(HBITMAP bitmap, COLORREF key);
// Draws the bitmap where the mask is 1 and leaves the destination alone where it is 0.
void MaskedBlit(HDC destinationDc, HBITMAP bitmap, HBITMAP mask, int x, int y, int width,
                int height, int sourceX, int sourceY);
