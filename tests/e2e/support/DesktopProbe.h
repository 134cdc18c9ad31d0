// Looks at the Wine desktop the way a user would: screen pixels, window shapes and clicks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

// Pixels as 0x00RRGGBB, rows from the top.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct RegionDeleter {
    void operator()(HRGN region) const { DeleteObject(region); }
};
using OwnedRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, RegionDeleter>;

// The screen as the X server shows it now, inside a rectangle in screen coordinates.
PixelImage CaptureScreen(const RECT& area);
// A bitmap resource of the test binary, which carries the program's own resources.
PixelImage LoadBitmapResource(int id);
// A REGION resource of the test binary as a region; null when it is missing.
OwnedRegion LoadRegionResource(int id);
// The shape another process gave its window, in window coordinates; null when it has none.
OwnedRegion WindowShape(HWND window);

// A real left click at a screen point, through the desktop's input queue.
void ClickAt(int x, int y);

RECT RectOf(HWND window);
int WidthOf(const RECT& rect);
int HeightOf(const RECT& rect);
