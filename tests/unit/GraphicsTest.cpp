// The drawing helpers, window shapes from REGION resources, and frame pictures with their
// masks and sets, against real GDI and on the screen itself.
#include <gtest/gtest.h>

#include <string>

#include "gfx/Drawing.h"
#include "gfx/RegionResource.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestFrames.h"
#include "support/TestSupport.h"
#include "windows/FrameSet.h"

namespace {
constexpr COLORREF MAGENTA = TRANSPARENT_KEY;
// Test resources: 12 x 9 green, 20 x 7 yellow, 8 x 8 with a magenta left half; a 60 x 40
// shape of four rectangles, and one that claims more rectangles than it holds.
constexpr int32_t GREEN = 7101, WIDE = 7102, HALF_MAGENTA = 7103, NO_SUCH_BITMAP = 7104;
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
        HBITMAP shot = CaptureScreenRect({240, 180, 60, 40});
        const bool same = PixelsOf(shot) == Expected(60, 40, [&](int x, int y) {
                              return visible(x, y) ? ORANGE : BLUE;
                          });
        DeleteObject(shot);
        return same;
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

// The pixel at (x, y) after painting onto a dark 12 x 12 bitmap.
COLORREF Painted(ScreenWindow& frames, int x, int y) {
    HBITMAP target = MakeBitmap(12, 12, [](int, int) { return RGB(9, 9, 9); });
    DrawOn(target, [&](HDC dc) { frames.Paint(dc); });
    const uint32_t pixel = PixelsOf(target)[y * 12 + x];
    DeleteObject(target);
    return RGB(pixel >> 16, pixel >> 8 & 0xFF, pixel & 0xFF);
}

// Filled in order and cut to the free slots; 126 characters before the number: 9 still fits
// 128 bytes with the terminator, 10 does not and its slot stays empty; frames that cannot load
// fail LoadAll while the others load; the current frame stays inside the filled slots.
TEST(GraphicsTest, FrameSetsNameLoadAndPaintTheirFrames) {
    FrameSet set;
    EXPECT_FALSE(set.AddRange(1, 3, nullptr)) << "no slots yet";
    ASSERT_TRUE(set.Reserve(6));
    const std::string pattern = std::string(126, 'x') + "%d";
    ASSERT_TRUE(set.AddRange(8, 10, pattern.c_str()));
    ASSERT_TRUE(set.AddRange(GREEN, WIDE, nullptr));
    ASSERT_TRUE(set.AddRange(NO_SUCH_BITMAP, NO_SUCH_BITMAP + 5, nullptr));
    EXPECT_FALSE(set.AddRange(1, 1, nullptr));
    EXPECT_EQ(set.Count(), 6);
    EXPECT_EQ(strlen(set.FrameAt(1)->FileName()), 127u);
    EXPECT_EQ(set.FrameAt(2), nullptr);
    EXPECT_EQ(set.FrameAt(4)->ResourceId(), WIDE);
    EXPECT_EQ(set.FrameAt(6), nullptr);
    EXPECT_FALSE(set.LoadAll(MODULE, true));
    EXPECT_EQ(set.FrameAt(3)->Width(), 12);
    EXPECT_EQ(set.FrameAt(4)->Height(), 7);
    EXPECT_NE(set.FrameAt(4)->Mask(), nullptr);
    EXPECT_EQ(set.FrameAt(5)->Bitmap(), nullptr);
    for (const auto& [index, current] : {std::pair{3, 3}, {-1, 3}, {6, 3}, {4, 4}}) {
        set.SetCurrent(index);
        EXPECT_EQ(set.Current(), current) << index;
    }
    EXPECT_EQ(Painted(set, 1, 1), RGB(200, 180, 30));
    set.SetCurrent(2);
    EXPECT_EQ(Painted(set, 1, 1), RGB(9, 9, 9)) << "an empty slot paints nothing";

    // The whole picture, copied opaquely to the origin whatever the offset; loaded once.
    FrameBitmap frame(HALF_MAGENTA);
    frame.SetOffset(3.0, 4.0);
    ASSERT_TRUE(frame.Load(MODULE, false));
    const HBITMAP first = frame.Bitmap();
    EXPECT_TRUE(frame.Load(MODULE, true));
    EXPECT_EQ(frame.Bitmap(), first);
    EXPECT_EQ(Painted(frame, 0, 0), MAGENTA);
    EXPECT_EQ(Painted(frame, 7, 7), RGB(40, 60, 220));
    EXPECT_EQ(Painted(frame, 8, 8), RGB(9, 9, 9));
    frame.SetResourceId(NO_SUCH_BITMAP);
    frame.Unload();
    EXPECT_FALSE(frame.Load(MODULE, false));
    EXPECT_EQ(frame.Width(), 8) << "a failed load keeps the last size";

    // A picture not stored indexed doubles crisply too.
    FrameBitmap twice(UNINDEXED_FIGURE);
    ASSERT_TRUE(twice.Load(MODULE, true, 2));
    EXPECT_EQ(PixelsOf(twice.Bitmap()),
              Expected(80, 80, [](int x, int y) { return FigurePixel(x / 2, y / 2); }));
}

}  // namespace
