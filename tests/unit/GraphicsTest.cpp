// The drawing helpers for pictures not stored indexed, and window shapes from REGION
// resources, against real GDI and on the screen itself.
#include <gtest/gtest.h>

#include "gfx/Drawing.h"
#include "gfx/RegionResource.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestFrames.h"
#include "support/TestSupport.h"
#include "windows/FrameBitmap.h"

namespace {
constexpr COLORREF MAGENTA = TRANSPARENT_KEY;
// Test resources: a 60 x 40 shape of four rectangles, and one that claims more rectangles
// than it holds.
constexpr int SHAPE = 7001, TRUNCATED_SHAPE = 7002;

const HINSTANCE MODULE = GetModuleHandleA(nullptr);

// A busy, never black destination, so that a pass that wipes or inverts shows.
COLORREF Backdrop(int x, int y) {
    return RGB(30 + x * 9 % 200, 90 + y * 13 % 150, 160);
}

// Transparent pixels, and near-magenta and black ones that must stay opaque.
COLORREF Mixed(int x, int y) {
    if ((x + y) % 3 == 0) {
        return MAGENTA;
    }
    if (x == 1 || x == 2) {
        return x == 1 ? RGB(254, 0, 255) : RGB(255, 1, 255);
    }
    return y == 1 ? RGB(0, 0, 0) : RGB(240, 20 + x * 10, 10 + y * 20);
}

std::vector<uint32_t> Expected(int width, int height, const PixelFunction& pixel) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            pixels.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
        }
    }
    return pixels;
}

// Runs the drawing on a memory DC that holds the bitmap, and checks the DC is left as it was.
void DrawOn(HBITMAP bitmap, const std::function<void(HDC)>& draw) {
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    SetBkColor(dc, RGB(1, 2, 3));
    SetTextColor(dc, RGB(4, 5, 6));
    draw(dc);
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    SelectObject(dc, previous);
    DeleteDC(dc);
}

// Part of each picture (from 3, 2) drawn at (5, 6): the picture where its mask is set, the
// busy destination everywhere else.
TEST(GraphicsTest, MaskedBlitShowsThePictureExactlyWhereTheMaskIsSet) {
    for (const PixelFunction& picture :
         std::vector<PixelFunction>{[](int, int) { return MAGENTA; },
                                    [](int x, int) { return RGB(250, x * 20, 9); }, Mixed}) {
        HBITMAP bitmap = MakeBitmap(16, 12, picture);
        HBITMAP mask = CreateMaskBitmap(bitmap, MAGENTA);
        EXPECT_EQ(PixelsOf(mask), Expected(16, 12, [&](int x, int y) {
                      return picture(x, y) == MAGENTA ? 0 : RGB(255, 255, 255);
                  }));
        HBITMAP canvas = MakeBitmap(30, 30, Backdrop);
        DrawOn(canvas, [&](HDC dc) { MaskedBlit(dc, bitmap, mask, 5, 6, 10, 8, 3, 2); });
        EXPECT_EQ(PixelsOf(canvas), Expected(30, 30, [&](int x, int y) {
                      const bool covered = x >= 5 && x < 15 && y >= 6 && y < 14;
                      const COLORREF shown = covered ? picture(x - 2, y - 4) : MAGENTA;
                      return shown != MAGENTA ? shown : Backdrop(x, y);
                  }));
        EXPECT_EQ(PixelsOf(bitmap), Expected(16, 12, picture)) << "the picture stays as it was";
        for (HBITMAP done : {canvas, mask, bitmap}) {
            DeleteObject(done);
        }
    }
}

// Shape 7001: bars across top and bottom, two side blocks with a gap between them. Only the
// low 16 bits of the id count; a missing or damaged resource leaves the old shape, and every
// region made is handed to the window or deleted.
TEST(GraphicsTest, WindowShowsExactlyTheRectanglesOfItsRegionResource) {
    constexpr COLORREF BLUE = RGB(20, 40, 200), ORANGE = RGB(230, 120, 10);
    HWND back = CreateTestWindow({"", 220, 160, 100, 80, WS_POPUP | WS_VISIBLE, 0, nullptr, BLUE});
    HWND top = CreateTestWindow({"", 240, 180, 60, 40, WS_POPUP | WS_VISIBLE, 0, nullptr, ORANGE});
    BringToFront(top);
    const auto shows = [](bool (*visible)(int, int)) {
        PumpFor(100);
        return ScreenPixels({240, 180, 300, 220}) ==
               Expected(60, 40, [&](int x, int y) { return visible(x, y) ? ORANGE : BLUE; });
    };
    const int before = LiveGdiObjects();
    EXPECT_NE(ApplyRegionResource(MODULE, top, SHAPE + 0x10000, true), 0);
    EXPECT_TRUE(shows(
        [](int x, int y) { return y < 10 || y >= 30 ? x >= 10 && x < 50 : x < 20 || x >= 40; }));
    ASSERT_TRUE(SetWindowRgn(top, CreateRectRgn(5, 5, 25, 25), TRUE));
    EXPECT_EQ(ApplyRegionResource(MODULE, top, 7099, true), 0);
    EXPECT_EQ(ApplyRegionResource(MODULE, top, TRUNCATED_SHAPE, true), 0);
    EXPECT_TRUE(shows([](int x, int y) { return x >= 5 && x < 25 && y >= 5 && y < 25; }));
    // Refused by SetWindowRgn: a window handle that does not exist.
    EXPECT_EQ(ApplyRegionResource(MODULE, reinterpret_cast<HWND>(0x4321), SHAPE, false), 0);
    EXPECT_EQ(LiveGdiObjects(), before);
    DestroyWindow(top);
    DestroyWindow(back);
}

// A picture not stored indexed, as the system reads one the program's own reader refuses,
// doubles crisply too, with its mask.
TEST(GraphicsTest, PictureNotStoredIndexedDoublesCrisplyWithItsMask) {
    FrameBitmap frame(UNINDEXED_FIGURE);
    ASSERT_TRUE(frame.Load(MODULE, true, 2));
    const auto doubled = [](int x, int y) { return FigurePixel(x / 2, y / 2); };
    EXPECT_EQ(PixelsOf(frame.Bitmap()), Expected(80, 80, doubled));
    EXPECT_EQ(PixelsOf(frame.Mask()), Expected(80, 80, [&](int x, int y) {
                  return doubled(x, y) == MAGENTA ? 0 : RGB(255, 255, 255);
              }));
}
}  // namespace
