#include "support/TestBitmaps.h"

#include <cstdio>
#include <vector>

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

std::vector<uint32_t> PixelsOf(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& pixel : pixels) {
        pixel &= 0x00FFFFFF;
    }
    return pixels;
}

bool WriteBmpFile(const char* path, int width, int height, const PixelFunction& pixel) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const DWORD pixelBytes = static_cast<DWORD>(rowBytes * height);
    const DWORD headerBytes = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER header = {0x4D42 /* BM */, headerBytes + pixelBytes, 0, 0, headerBytes};
    BITMAPINFOHEADER info = {sizeof(info), width, height, 1, 24, BI_RGB, pixelBytes, 0, 0, 0, 0};
    // Bottom-up rows of blue, green, red.
    std::vector<unsigned char> rows(pixelBytes, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = &rows[static_cast<size_t>((height - 1 - y) * rowBytes)];
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = pixel(x, y);
            row[x * 3] = GetBValue(colour);
            row[x * 3 + 1] = GetGValue(colour);
            row[x * 3 + 2] = GetRValue(colour);
        }
    }
    FILE* out = fopen(path, "wb");
    if (!out) {
        return false;
    }
    const bool written = fwrite(&header, sizeof(header), 1, out) == 1 &&
                         fwrite(&info, sizeof(info), 1, out) == 1 &&
                         fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    return fclose(out) == 0 && written;
}
