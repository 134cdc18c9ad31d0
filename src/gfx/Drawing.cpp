#include "gfx/Drawing.h"

#include <algorithm>

#include "gfx/SelectedObject.h"

namespace {
// 0x00220326: destination AND NOT source.
constexpr DWORD DESTINATION_AND_NOT_SOURCE = 0x00220326;
}  // namespace

int IntersectRects(const RectI& a, const RectI& b, int& x, int& y, int& width, int& height) {
    x = std::max(a.x, b.x);
    y = std::max(a.y, b.y);
    width = std::min(a.x + a.width, b.x + b.width) - x;
    height = std::min(a.y + a.height, b.y + b.height) - y;
    return width > 0 && height > 0 ? 1 : 0;
}

int UnionRects(const RectI& a, const RectI& b, int& x, int& y, int& width, int& height) {
    x = std::min(a.x, b.x);
    y = std::min(a.y, b.y);
    width = std::max(a.x + a.width, b.x + b.width) - x;
    height = std::max(a.y + a.height, b.y + b.height) - y;
    return width > 0 && height > 0 ? 1 : 0;
}

HBITMAP CaptureScreenRect(const RectI& rect) {
    if (rect.width <= 0 || rect.height <= 0) {
        return nullptr;
    }
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!screen) {
        return nullptr;
    }
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP capture = memory ? CreateCompatibleBitmap(screen, rect.width, rect.height) : nullptr;
    if (capture) {
        SelectedObject selected(memory, capture);
        if (!BitBlt(memory, 0, 0, rect.width, rect.height, screen, rect.x, rect.y, SRCCOPY)) {
            // Hand nothing out rather than a bitmap of undefined content.
            SelectObject(memory, selected.Previous());
            DeleteObject(capture);
            capture = nullptr;
        }
    }
    DeleteDC(screen);
    if (memory) {
        DeleteDC(memory);
    }
    return capture;
}

void CopyBitmapRect(HDC destinationDc, HBITMAP destination, int x, int y, int width, int height,
                    HDC sourceDc, HBITMAP source, int sourceX, int sourceY) {
    SelectedObject selectedDestination(destinationDc, destination);
    SelectedObject selectedSource(sourceDc, source);
    BitBlt(destinationDc, x, y, width, height, sourceDc, sourceX, sourceY, SRCCOPY);
}

void BlitBitmap(HDC destinationDc, int x, int y, int width, int height, HDC sourceDc,
                HBITMAP source, int sourceX, int sourceY) {
    SelectedObject selected(sourceDc, source);
    BitBlt(destinationDc, x, y, width, height, sourceDc, sourceX, sourceY, SRCCOPY);
}

HBITMAP CreateScaledBitmap(HBITMAP source, int32_t scale) {
    BITMAP info = {};
    if (!source || scale < 1 || !GetObjectA(source, sizeof(info), &info)) {
        return nullptr;
    }
    const int width = info.bmWidth * scale;
    const int height = info.bmHeight * scale;
    HDC screen = GetDC(nullptr);
    HBITMAP scaled = screen ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    HDC sourceDc = CreateCompatibleDC(screen);
    HDC scaledDc = CreateCompatibleDC(screen);
    bool drawn = false;
    if (scaled && sourceDc && scaledDc) {
        SelectedObject selectedSource(sourceDc, source);
        SelectedObject selectedScaled(scaledDc, scaled);
        const int oldMode = SetStretchBltMode(scaledDc, COLORONCOLOR);
        drawn = StretchBlt(scaledDc, 0, 0, width, height, sourceDc, 0, 0, info.bmWidth,
                           info.bmHeight, SRCCOPY) != FALSE;
        SetStretchBltMode(scaledDc, oldMode);
    }
    if (scaled && !drawn) {
        DeleteObject(scaled);
        scaled = nullptr;
    }
    if (sourceDc) {
        DeleteDC(sourceDc);
    }
    if (scaledDc) {
        DeleteDC(scaledDc);
    }
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return scaled;
}

HBITMAP CreateMaskBitmap(HBITMAP bitmap, COLORREF key) {
    HDC maskDc = CreateCompatibleDC(nullptr);
    if (!maskDc) {
        return nullptr;
    }
    HDC pictureDc = CreateCompatibleDC(nullptr);
    if (!pictureDc) {
        DeleteDC(maskDc);
        return nullptr;
    }
    BITMAP info = {};
    HBITMAP mask = nullptr;
    if (GetObjectA(bitmap, sizeof(info), &info)) {
        mask = CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr);
    }
    if (mask) {
        SelectedObject selectedMask(maskDc, mask);
        SelectedObject selectedPicture(pictureDc, bitmap);
        // Colour-to-mono copies turn the source background colour into 1; inverted, the key
        // colour becomes 0 (transparent) and everything else 1.
        const COLORREF oldBackground = SetBkColor(pictureDc, key);
        BitBlt(maskDc, 0, 0, info.bmWidth, info.bmHeight, pictureDc, 0, 0, NOTSRCCOPY);
        SetBkColor(pictureDc, oldBackground);
    }
    DeleteDC(maskDc);
    DeleteDC(pictureDc);
    return mask;
}

void MaskedBlit(HDC destinationDc, HBITMAP bitmap, HBITMAP mask, int x, int y, int width,
                int height, int sourceX, int sourceY) {
    // Without a mask the middle pass would wipe the picture's own pixels.
    if (!bitmap || !mask) {
        return;
    }
    HDC memory = CreateCompatibleDC(destinationDc);
    if (!memory) {
        return;
    }
    // Mono-to-colour copies map bit 1 to the background and bit 0 to the text colour.
    const COLORREF oldBackground = SetBkColor(destinationDc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(destinationDc, RGB(0, 0, 0));

    // XOR the picture in, clear the opaque pixels, XOR again: opaque pixels end up as the
    // picture, transparent ones as they were, whatever colour the picture has there.
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(destinationDc, x, y, width, height, memory, sourceX, sourceY, SRCINVERT);
    SelectObject(memory, mask);
    BitBlt(destinationDc, x, y, width, height, memory, sourceX, sourceY,
           DESTINATION_AND_NOT_SOURCE);
    SelectObject(memory, bitmap);
    BitBlt(destinationDc, x, y, width, height, memory, sourceX, sourceY, SRCINVERT);
    SelectObject(memory, previous);

    SetBkColor(destinationDc, oldBackground);
    SetTextColor(destinationDc, oldText);
    DeleteDC(memory);
}
