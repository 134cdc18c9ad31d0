// Looks at the Wine desktop the way a user would: screen pixels, window shapes and clicks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
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
// A bitmap resource of the test binary, which carries the program's own resources; at a
// scale above 1 every pixel becomes a square of that many pixels.
PixelImage LoadBitmapResource(int id, int scale = 1);
// A REGION resource of the test binary as a region, scaled as the bitmaps; null when it is
// missing.
OwnedRegion LoadRegionResource(int id, int scale = 1);
// The shape another process gave its window, in window coordinates; null when it has none.
OwnedRegion WindowShape(HWND window);

// Magenta, the artwork's transparent colour, or any blend with it: no picture of the program
// has a colour whose green is that far below both red and blue.
bool ShowsMagenta(uint32_t pixel);

struct PixelComparison {
    int pictureMismatches = 0;  // inside the shape: pixels that are not the picture's
    int shapeMismatches = 0;    // outside the shape: pixels that are not the desktop's
};
// Compares the screen at a place with a picture shown through a shape (in the place's
// coordinates) over the desktop as it was before.
PixelComparison CompareShapedPicture(const RECT& place, const PixelImage& picture, HRGN shape,
                                     const PixelImage& desktopBefore);

// A real left click at a screen point, through the desktop's input queue.
void ClickAt(int x, int y);

RECT RectOf(HWND window);
// "left,top-right,bottom"
std::string Describe(const RECT& rect);
int WidthOf(const RECT& rect);
int HeightOf(const RECT& rect);
