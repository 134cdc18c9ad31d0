#include "support/TestBitmaps.h"

#include <shellapi.h>

HBITMAP MakeBitmap(int width, int height, const PixelFunction& pixel) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            SetPixel(memory, x, y, pixel(x, y));
        }
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    return bitmap;
}

BITMAPINFO TopDownFormat(int width, int height) {
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return format;
}

std::vector<uint32_t> PixelsOf(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    BITMAPINFO format = TopDownFormat(info.bmWidth, info.bmHeight);
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& pixel : pixels) {
        pixel &= 0x00FFFFFF;
    }
    return pixels;
}

std::vector<uint32_t> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    // The desktop window's DC: a DISPLAY DC reads in X's coordinates, which differ from the
    // screen's once a monitor lies left of the primary one.
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
    HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::vector<uint32_t> pixels = PixelsOf(copy);
    DeleteObject(copy);
    return pixels;
}

bool TaskbarHolds(HWND window, DWORD message) {
    using NotifyIcon = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
    static const auto notify = reinterpret_cast<NotifyIcon>(reinterpret_cast<void (*)()>(
        GetProcAddress(LoadLibraryA("shell32.dll"), "Shell_NotifyIconA")));
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = 0x55AA55AA;
    return notify(message, &probe) != FALSE;
}
