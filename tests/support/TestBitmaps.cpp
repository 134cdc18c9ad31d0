#include "support/TestBitmaps.h"

#include <algorithm>
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
    // With 256 colours or fewer, 8 bits a pixel and a colour table, as the program's own
    // pictures are stored; else 24 bits. Bottom-up rows either way.
    std::vector<COLORREF> colours;
    std::vector<unsigned char> indices(static_cast<size_t>(width) * height);
    for (int y = 0; y < height && colours.size() <= 256; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = pixel(x, y);
            const auto found = std::find(colours.begin(), colours.end(), colour);
            indices[static_cast<size_t>(y) * width + x] =
                static_cast<unsigned char>(found - colours.begin());
            if (found == colours.end()) {
                colours.push_back(colour);
            }
        }
    }
    const bool indexed = colours.size() <= 256;
    const int bitCount = indexed ? 8 : 24;
    const int rowBytes = (width * bitCount / 8 + 3) & ~3;
    const DWORD pixelBytes = static_cast<DWORD>(rowBytes * height);
    const DWORD tableBytes = indexed ? static_cast<DWORD>(colours.size() * sizeof(RGBQUAD)) : 0;
    const DWORD headerBytes = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + tableBytes;
    BITMAPFILEHEADER header = {0x4D42 /* BM */, headerBytes + pixelBytes, 0, 0, headerBytes};
    BITMAPINFOHEADER info = {sizeof(info),
                             width,
                             height,
                             1,
                             static_cast<WORD>(bitCount),
                             BI_RGB,
                             pixelBytes,
                             0,
                             0,
                             indexed ? static_cast<DWORD>(colours.size()) : 0,
                             0};
    std::vector<RGBQUAD> table;
    for (const COLORREF colour : colours) {
        table.push_back({GetBValue(colour), GetGValue(colour), GetRValue(colour), 0});
    }
    std::vector<unsigned char> rows(pixelBytes, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = &rows[static_cast<size_t>((height - 1 - y) * rowBytes)];
        for (int x = 0; x < width; ++x) {
            if (indexed) {
                row[x] = indices[static_cast<size_t>(y) * width + x];
                continue;
            }
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
                         fwrite(table.data(), 1, tableBytes, out) == tableBytes &&
                         fwrite(rows.data(), 1, rows.size(), out) == rows.size();
    return fclose(out) == 0 && written;
}
