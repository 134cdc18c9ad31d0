// Rectangle arithmetic, screen capture, plain and masked blits against real GDI.
#include <gtest/gtest.h>

#include <functional>

#include "gfx/Drawing.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"

namespace {
constexpr COLORREF MAGENTA = TRANSPARENT_KEY;

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

// Draws on the bitmap through a memory DC of its own, which gives its bitmap back after.
void DrawOn(HBITMAP bitmap, const std::function<void(HDC)>& draw) {
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    draw(dc);
    SelectObject(dc, previous);
    DeleteDC(dc);
}

// The outputs are written even when the answer is 0.
TEST(RectArithmeticTest, IntersectionAndUnionOfOverlappingTouchingApartAndEmpty) {
    struct Case {
        bool unite;
        RectI a, b;
        int result;
        RectI expected;
    };
    const Case cases[] = {
        {false, {0, 0, 10, 10}, {5, 5, 10, 10}, 1, {5, 5, 5, 5}},
        {false, {0, 0, 10, 10}, {10, 0, 5, 5}, 0, {10, 0, 0, 5}},
        {false, {0, 0, 10, 10}, {20, 20, 5, 5}, 0, {20, 20, -10, -10}},
        {false, {-5, -5, 100, 100}, {3, 4, 6, 7}, 1, {3, 4, 6, 7}},
        {true, {0, 0, 10, 10}, {20, 20, 5, 5}, 1, {0, 0, 25, 25}},
        {true, {5, 8, 10, 10}, {0, 10, 10, 20}, 1, {0, 8, 15, 22}},
        {true, {7, 7, 0, 4}, {7, 7, 0, 4}, 0, {7, 7, 0, 4}},
    };
    for (const Case& c : cases) {
        RectI out{};
        const int result =
            (c.unite ? UnionRects : IntersectRects)(c.a, c.b, out.x, out.y, out.width, out.height);
        EXPECT_EQ(result, c.result) << (c.unite ? "union " : "intersection ") << &c - cases;
        EXPECT_EQ(out, c.expected) << (c.unite ? "union " : "intersection ") << &c - cases;
    }
}

// Part of each picture (from 3, 2) drawn at (5, 6) over a busy destination: the picture
// where its mask is set, the destination everywhere else. The caller's DC keeps its colours
// and its bitmap, the picture is left as it was.
TEST(MaskTest, MaskedBlitShowsThePictureExactlyWhereTheMaskIsSet) {
    constexpr int W = 16, H = 12, DX = 5, DY = 6, SX = 3, SY = 2, CW = 10, CH = 8;
    const std::pair<const char*, PixelFunction> pictures[] = {
        {"all magenta", [](int, int) { return MAGENTA; }},
        {"no magenta", [](int x, int y) { return RGB(250, x * 20, y * 25); }},
        {"mixed", Mixed}};
    for (const auto& [name, picture] : pictures) {
        SCOPED_TRACE(name);
        HBITMAP bitmap = MakeBitmap(W, H, picture);
        HBITMAP mask = CreateMaskBitmap(bitmap, MAGENTA);
        ASSERT_NE(mask, nullptr);
        BITMAP info = {};
        GetObjectA(mask, sizeof(info), &info);
        EXPECT_EQ(info.bmBitsPixel, 1);
        EXPECT_EQ(info.bmWidth, W);
        EXPECT_EQ(info.bmHeight, H);
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                const bool opaque = picture(x, y) != MAGENTA;
                ASSERT_EQ(BitmapPixel(mask, x, y), opaque ? RGB(255, 255, 255) : 0)
                    << x << "," << y;
                ASSERT_EQ(BitmapPixel(bitmap, x, y), picture(x, y)) << x << "," << y;
            }
        }

        HBITMAP canvas = MakeBitmap(30, 30, Backdrop);
        DrawOn(canvas, [&](HDC dc) {
            SetBkColor(dc, RGB(1, 2, 3));
            SetTextColor(dc, RGB(4, 5, 6));
            MaskedBlit(dc, bitmap, mask, DX, DY, CW, CH, SX, SY);
            EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
            EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
            EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), canvas);
        });
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                const bool covered = x >= DX && x < DX + CW && y >= DY && y < DY + CH;
                const COLORREF shown = covered ? picture(x - DX + SX, y - DY + SY) : MAGENTA;
                const COLORREF expected = shown != MAGENTA ? shown : Backdrop(x, y);
                ASSERT_EQ(BitmapPixel(canvas, x, y), expected) << x << "," << y;
            }
        }
        DeleteObject(canvas);
        DeleteObject(mask);
        DeleteObject(bitmap);
    }
}

// CopyBitmapRect selects both bitmaps itself and puts the DCs' own selections back;
// BlitBitmap draws onto what the destination DC holds.
TEST(BlitTest, CopyAndBlitCopyTheirRectangleAndPutTheSelectionsBack) {
    auto source = [](int x, int y) { return RGB(x * 20, y * 20, 99); };
    auto grey = [](int, int) { return RGB(7, 7, 7); };
    HBITMAP picture = MakeBitmap(10, 10, source);
    HBITMAP copied = MakeBitmap(10, 10, grey);
    HBITMAP blitted = MakeBitmap(10, 10, grey);
    HDC destinationDc = CreateCompatibleDC(nullptr);
    HDC sourceDc = CreateCompatibleDC(nullptr);
    const HGDIOBJ destinationBefore = GetCurrentObject(destinationDc, OBJ_BITMAP);
    const HGDIOBJ sourceBefore = GetCurrentObject(sourceDc, OBJ_BITMAP);
    CopyBitmapRect(destinationDc, copied, 2, 3, 4, 5, sourceDc, picture, 1, 1);
    EXPECT_EQ(GetCurrentObject(destinationDc, OBJ_BITMAP), destinationBefore);
    EXPECT_EQ(GetCurrentObject(sourceDc, OBJ_BITMAP), sourceBefore);
    DrawOn(blitted, [&](HDC dc) { BlitBitmap(dc, 2, 3, 4, 5, sourceDc, picture, 1, 1); });
    EXPECT_EQ(GetCurrentObject(sourceDc, OBJ_BITMAP), sourceBefore);
    DeleteDC(destinationDc);
    DeleteDC(sourceDc);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
            const COLORREF expected = inside ? source(x - 1, y - 2) : RGB(7, 7, 7);
            ASSERT_EQ(BitmapPixel(copied, x, y), expected) << x << "," << y;
            ASSERT_EQ(BitmapPixel(blitted, x, y), expected) << x << "," << y;
        }
    }
    for (HBITMAP bitmap : {picture, copied, blitted}) {
        DeleteObject(bitmap);
    }
}

// A capture straddling a window's left edge: 10 columns of desktop, then the window. An
// empty rectangle gives null without opening any device context.
TEST(CaptureTest, ReturnsWhatTheScreenShowsAndNothingForAnEmptyRectangle) {
    TestWindowOptions options;
    options.style = WS_POPUP | WS_VISIBLE;
    options.x = 200;
    options.y = 150;
    options.colour = RGB(200, 40, 90);
    HWND window = CreateTestWindow(options);
    BringToFront(window);
    PumpFor(100);
    const COLORREF outside = ScreenPixel(195, 160);
    ASSERT_NE(outside, options.colour);
    HBITMAP capture = CaptureScreenRect({190, 155, 30, 20});
    ASSERT_NE(capture, nullptr);
    BITMAP info = {};
    GetObjectA(capture, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 30);
    EXPECT_EQ(info.bmHeight, 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 10; x < 30; ++x) {
            ASSERT_EQ(BitmapPixel(capture, x, y), options.colour) << x << "," << y;
        }
    }
    EXPECT_EQ(BitmapPixel(capture, 5, 5), outside);
    DeleteObject(capture);
    DestroyWindow(window);
    PumpMessages();

    ResetCallCounts();
    for (RectI empty : {RectI{10, 10, 0, 20}, RectI{10, 10, 20, -1}, RectI{}}) {
        EXPECT_EQ(CaptureScreenRect(empty), nullptr);
    }
    EXPECT_EQ(CallCount("CreateDCA"), 0);
    EXPECT_EQ(CallCount("CreateCompatibleDC"), 0);
}

TEST(DrawingLeakTest, ThousandsOfCallsKeepNoObjectAlive) {
    HBITMAP picture = MakeBitmap(16, 12, Mixed);
    HBITMAP target = MakeBitmap(16, 12, Backdrop);
    HDC destinationDc = CreateCompatibleDC(nullptr);
    HDC sourceDc = CreateCompatibleDC(nullptr);
    const int before = LiveGdiObjects();
    ResetCallCounts();
    for (int i = 0; i < 2000; ++i) {
        HBITMAP capture = CaptureScreenRect({i % 500, 100, 16, 12});
        ASSERT_NE(capture, nullptr);
        HBITMAP mask = CreateMaskBitmap(picture, MAGENTA);
        ASSERT_NE(mask, nullptr);
        CopyBitmapRect(destinationDc, target, 0, 0, 16, 12, sourceDc, capture, 0, 0);
        DrawOn(target, [&](HDC dc) { MaskedBlit(dc, picture, mask, 0, 0, 16, 12, 0, 0); });
        BlitBitmap(destinationDc, 0, 0, 16, 12, sourceDc, capture, 0, 0);
        DeleteObject(mask);
        DeleteObject(capture);
        ASSERT_EQ(LiveGdiObjects(), before) << "after round " << i;
    }
    EXPECT_EQ(CallCount("CreateDCA"), 2000);
    EXPECT_EQ(CallCount("DeleteDC"), CallCount("CreateCompatibleDC") + CallCount("CreateDCA"));
    DeleteDC(destinationDc);
    DeleteDC(sourceDc);
    DeleteObject(picture);
    DeleteObject(target);
}
}  // namespace
