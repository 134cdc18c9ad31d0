#include "e2e/support/DesktopProbe.h"

namespace {
PixelImage ReadPixels(HDC dc, HBITMAP bitmap, int width, int height) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(dc, bitmap, 0, height, image.pixels.data(), &info, DIB_RGB_COLORS);
    for (uint32_t& pixel : image.pixels) {
        pixel &= 0x00FFFFFF;
    }
    return image;
}
}  // namespace

PixelImage CaptureScreen(const RECT& area) {
    const int width = WidthOf(area);
    const int height = HeightOf(area);
    // The desktop window's DC, not a DISPLAY DC: Wine reads the latter in X's coordinates,
    // which differ from the screen's once a monitor lies left of the primary one.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    PixelImage image = ReadPixels(memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

PixelImage LoadBitmapResource(int id, int scale) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!bitmap) {
        return {};
    }
    BITMAP size = {};
    GetObjectA(bitmap, sizeof(size), &size);
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    const PixelImage image = ReadPixels(screen, bitmap, size.bmWidth, size.bmHeight);
    DeleteDC(screen);
    DeleteObject(bitmap);
    PixelImage scaled;
    scaled.width = image.width * scale;
    scaled.height = image.height * scale;
    scaled.pixels.resize(static_cast<size_t>(scaled.width) * scaled.height);
    for (int y = 0; y < scaled.height; ++y) {
        for (int x = 0; x < scaled.width; ++x) {
            scaled.pixels[static_cast<size_t>(y) * scaled.width + x] =
                image.At(x / scale, y / scale);
        }
    }
    return scaled;
}

OwnedRegion LoadRegionResource(int id, int scale) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), "REGION");
    if (!resource) {
        return nullptr;
    }
    const auto* data = static_cast<const RGNDATA*>(LockResource(LoadResource(module, resource)));
    XFORM scaling = {};
    scaling.eM11 = static_cast<FLOAT>(scale);
    scaling.eM22 = static_cast<FLOAT>(scale);
    return OwnedRegion(
        ExtCreateRegion(scale == 1 ? nullptr : &scaling, SizeofResource(module, resource), data));
}

OwnedRegion WindowShape(HWND window) {
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR) {
        return nullptr;
    }
    return region;
}

bool ShowsMagenta(uint32_t pixel) {
    const int red = (pixel >> 16) & 0xFF;
    const int green = (pixel >> 8) & 0xFF;
    const int blue = pixel & 0xFF;
    return red - green >= 48 && blue - green >= 48;
}

PixelComparison CompareShapedPicture(const RECT& place, const PixelImage& picture, HRGN shape,
                                     const PixelImage& desktopBefore) {
    const PixelImage screen = CaptureScreen(place);
    PixelComparison result;
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            if (PtInRegion(shape, x, y)) {
                result.pictureMismatches += screen.At(x, y) != picture.At(x, y);
            } else {
                result.shapeMismatches += screen.At(x, y) != desktopBefore.At(x, y);
            }
        }
    }
    return result;
}

void ClickAt(int x, int y) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Press and release carry the point too: in a fresh X session Wine may put the pointer
    // back where X had it a moment after the first move, and a bare press would land there.
    const DWORD actions[] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    INPUT inputs[3] = {};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = (x * 65536 + screenWidth / 2) / screenWidth;
        inputs[i].mi.dy = (y * 65536 + screenHeight / 2) / screenHeight;
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | actions[i];
    }
    SendInput(3, inputs, sizeof(INPUT));
}

RECT RectOf(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

std::string Describe(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

int WidthOf(const RECT& rect) {
    return rect.right - rect.left;
}

int HeightOf(const RECT& rect) {
    return rect.bottom - rect.top;
}
