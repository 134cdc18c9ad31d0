// Where a figure puts its frame over the screen behind it before it shows the result: one
// picture of 24 bits a pixel for the whole program, with the DC of the screen it copies from,
// held while any figure lives and released with the last one, so that nothing outlasts them.
#pragma once

#include <windows.h>

#include "gfx/GeometryTypes.h"

class ComposeCanvas {
public:
    ComposeCanvas() = default;
    ~ComposeCanvas() { Release(); }
    ComposeCanvas(const ComposeCanvas&) = delete;
    ComposeCanvas& operator=(const ComposeCanvas&) = delete;

    void Hold() { ++holders; }
    void Drop();

    // At least width x height from the top-left corner on; false when it cannot be made.
    bool Fit(int32_t width, int32_t height);
    // The screen inside rect, to the top-left corner; false when the screen cannot be read.
    bool CaptureScreen(const RectI& rect);
    // A rectangle of a picture made by SaveTo, to (x, y).
    void CopyFrom(HBITMAP saved, int32_t x, int32_t y, int32_t width, int32_t height, int32_t fromX,
                  int32_t fromY);
    // The top-left width x height, into saved when it has that size, else into a new
    // picture that replaces it; null when none can be made.
    HBITMAP SaveTo(HBITMAP saved, int32_t width, int32_t height);
    // The picture at (x, y); where a mask is given, the key colour's pixels stay as they are.
    void Draw(HBITMAP picture, HBITMAP mask, COLORREF key, int32_t x, int32_t y);
    // The top-left width x height, to dc at its origin.
    void Show(HDC dc, int32_t width, int32_t height);

    HBITMAP Bitmap() const { return bitmap; }

private:
    void Release();
    void ReleasePicture();
    uint8_t* Row(int32_t y) const { return pixels + static_cast<ptrdiff_t>(y) * stride; }

    int holders = 0;
    HDC screen = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

extern ComposeCanvas composeCanvas;
