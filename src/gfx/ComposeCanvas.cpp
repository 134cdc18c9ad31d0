#include "gfx/ComposeCanvas.h"

#include <algorithm>
#include <cstring>

#include "gfx/Drawing.h"
#include "gfx/SelectedObject.h"

ComposeCanvas composeCanvas;

namespace {
constexpr int32_t BYTES_PER_PIXEL = 3;

// The pixels of a DIB section of 8 bits a pixel, read in place: row y starts at Row(y).
struct IndexedPixels {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    bool bottomUp = true;
    RGBQUAD colours[256] = {};
    int32_t colourCount = 0;

    const uint8_t* Row(int32_t y) const {
        return bits + static_cast<ptrdiff_t>(bottomUp ? height - 1 - y : y) * stride;
    }
};

// False unless bitmap is a DIB section of 8 bits a pixel. The colour table is read through
// dc, whose selection is put back.
bool ReadIndexedPixels(HBITMAP bitmap, HDC dc, IndexedPixels& pixels) {
    DIBSECTION section = {};
    if (!bitmap || GetObjectA(bitmap, sizeof(section), &section) != sizeof(section) ||
        section.dsBmih.biBitCount != 8 || !section.dsBm.bmBits) {
        return false;
    }
    {
        SelectedObject selected(dc, bitmap);
        pixels.colourCount = static_cast<int32_t>(GetDIBColorTable(dc, 0, 256, pixels.colours));
    }
    pixels.bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    pixels.width = section.dsBm.bmWidth;
    pixels.height = section.dsBm.bmHeight;
    pixels.stride = section.dsBm.bmWidthBytes;
    pixels.bottomUp = section.dsBmih.biHeight > 0;
    return pixels.colourCount > 0;
}

int32_t RowBytes(int32_t width) {
    return (width * BYTES_PER_PIXEL + 3) / 4 * 4;
}

// A top-down picture of 24 bits a pixel.
HBITMAP CreatePicture(int32_t width, int32_t height, uint8_t** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (picture && !memory) {
        DeleteObject(picture);
        return nullptr;
    }
    *bits = static_cast<uint8_t*>(memory);
    return picture;
}

// The pixels of a picture made by CreatePicture, or null.
uint8_t* PictureBits(HBITMAP picture, int32_t& width, int32_t& height) {
    DIBSECTION section = {};
    if (!picture || GetObjectA(picture, sizeof(section), &section) != sizeof(section) ||
        section.dsBmih.biBitCount != 24) {
        return nullptr;
    }
    width = section.dsBm.bmWidth;
    height = section.dsBm.bmHeight;
    return static_cast<uint8_t*>(section.dsBm.bmBits);
}
}  // namespace

void ComposeCanvas::Drop() {
    if (holders > 0 && --holders == 0) {
        Release();
    }
}

void ComposeCanvas::Release() {
    if (screen) {
        ReleaseDC(nullptr, screen);
        screen = nullptr;
    }
    ReleasePicture();
}

void ComposeCanvas::ReleasePicture() {
    if (dc) {
        SelectObject(dc, previousBitmap);
        DeleteDC(dc);
        dc = nullptr;
    }
    if (bitmap) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    pixels = nullptr;
    width = height = stride = 0;
}

bool ComposeCanvas::Fit(int32_t wantedWidth, int32_t wantedHeight) {
    if (wantedWidth <= 0 || wantedHeight <= 0) {
        return false;
    }
    if (bitmap && wantedWidth <= width && wantedHeight <= height) {
        return true;
    }
    // Grow in both directions at once, so that a walk does not make a new picture per frame.
    const int32_t newWidth = std::max(width, wantedWidth);
    const int32_t newHeight = std::max(height, wantedHeight);
    ReleasePicture();
    dc = CreateCompatibleDC(nullptr);
    bitmap = dc ? CreatePicture(newWidth, newHeight, &pixels) : nullptr;
    if (!bitmap) {
        ReleasePicture();
        return false;
    }
    previousBitmap = SelectObject(dc, bitmap);
    width = newWidth;
    height = newHeight;
    stride = RowBytes(newWidth);
    return true;
}

bool ComposeCanvas::CaptureScreen(const RectI& rect) {
    if (!Fit(rect.width, rect.height)) {
        return false;
    }
    // The desktop window's DC sees every monitor, also those left of or above the primary.
    if (!screen) {
        screen = GetDC(nullptr);
    }
    if (!screen) {
        return false;
    }
    const bool copied =
        BitBlt(dc, 0, 0, rect.width, rect.height, screen, rect.x, rect.y, SRCCOPY) != FALSE;
    GdiFlush();
    return copied;
}

void ComposeCanvas::CopyFrom(HBITMAP saved, int32_t x, int32_t y, int32_t copyWidth,
                             int32_t copyHeight, int32_t fromX, int32_t fromY) {
    int32_t savedWidth = 0;
    int32_t savedHeight = 0;
    const uint8_t* source = PictureBits(saved, savedWidth, savedHeight);
    if (!source || x < 0 || y < 0 || fromX < 0 || fromY < 0 || x + copyWidth > width ||
        y + copyHeight > height || fromX + copyWidth > savedWidth ||
        fromY + copyHeight > savedHeight || copyWidth <= 0) {
        return;
    }
    const int32_t sourceStride = RowBytes(savedWidth);
    for (int32_t row = 0; row < copyHeight; ++row) {
        std::memcpy(
            Row(y + row) + x * BYTES_PER_PIXEL,
            source + static_cast<ptrdiff_t>(fromY + row) * sourceStride + fromX * BYTES_PER_PIXEL,
            static_cast<size_t>(copyWidth) * BYTES_PER_PIXEL);
    }
}

HBITMAP ComposeCanvas::SaveTo(HBITMAP saved, int32_t savedWidth, int32_t savedHeight) {
    int32_t oldWidth = 0;
    int32_t oldHeight = 0;
    uint8_t* target = PictureBits(saved, oldWidth, oldHeight);
    if (!target || oldWidth != savedWidth || oldHeight != savedHeight) {
        if (saved) {
            DeleteObject(saved);
        }
        saved = CreatePicture(savedWidth, savedHeight, &target);
    }
    if (!saved || savedWidth > width || savedHeight > height) {
        return saved;
    }
    const size_t rowBytes = static_cast<size_t>(savedWidth) * BYTES_PER_PIXEL;
    const int32_t targetStride = RowBytes(savedWidth);
    for (int32_t row = 0; row < savedHeight; ++row) {
        std::memcpy(target + static_cast<ptrdiff_t>(row) * targetStride, Row(row), rowBytes);
    }
    return saved;
}

void ComposeCanvas::Draw(HBITMAP picture, HBITMAP mask, COLORREF key, int32_t x, int32_t y) {
    if (!dc || !picture) {
        return;
    }
    IndexedPixels source;
    if (!ReadIndexedPixels(picture, dc, source)) {
        // Pictures of other depths take the drawing helpers' way.
        BITMAP info = {};
        GetObjectA(picture, sizeof(info), &info);
        if (mask) {
            MaskedBlit(dc, picture, mask, x, y, info.bmWidth, info.bmHeight, 0, 0);
        } else {
            HDC pictureDc = CreateCompatibleDC(dc);
            if (pictureDc) {
                BlitBitmap(dc, x, y, info.bmWidth, info.bmHeight, pictureDc, picture, 0, 0);
                DeleteDC(pictureDc);
            }
        }
        GdiFlush();
        return;
    }
    bool transparent[256] = {};
    uint8_t colour[256][BYTES_PER_PIXEL] = {};
    for (int32_t i = 0; i < source.colourCount; ++i) {
        const RGBQUAD& entry = source.colours[i];
        transparent[i] = mask && RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue) == key;
        colour[i][0] = entry.rgbBlue;
        colour[i][1] = entry.rgbGreen;
        colour[i][2] = entry.rgbRed;
    }
    const int32_t left = std::max(0, -x);
    const int32_t top = std::max(0, -y);
    const int32_t right = std::min(source.width, width - x);
    const int32_t bottom = std::min(source.height, height - y);
    for (int32_t row = top; row < bottom; ++row) {
        const uint8_t* in = source.Row(row);
        uint8_t* out = Row(y + row) + (x + left) * BYTES_PER_PIXEL;
        for (int32_t column = left; column < right; ++column, out += BYTES_PER_PIXEL) {
            const uint8_t index = in[column];
            if (!transparent[index]) {
                out[0] = colour[index][0];
                out[1] = colour[index][1];
                out[2] = colour[index][2];
            }
        }
    }
}

void ComposeCanvas::Show(HDC target, int32_t showWidth, int32_t showHeight) {
    if (dc) {
        BitBlt(target, 0, 0, showWidth, showHeight, dc, 0, 0, SRCCOPY);
    }
}
