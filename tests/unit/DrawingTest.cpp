// Rectangle arithmetic, screen capture, plain and masked blits against real GDI.
#include <gtest/gtest.h>

#include "gfx/Drawing.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"

namespace {
constexpr COLORREF MAGENTA = TRANSPARENT_KEY;

RectI Rect(int x, int y, int width, int height) {
    return RectI{x, y, width, height};
}

struct Outputs {
    int result;
    RectI rect;
};

Outputs Intersection(const RectI& a, const RectI& b) {
    Outputs out{};
    out.result = IntersectRects(a, b, out.rect.x, out.rect.y, out.rect.width, out.rect.height);
    return out;
}

Outputs Union(const RectI& a, const RectI& b) {
    Outputs out{};
    out.result = UnionRects(a, b, out.rect.x, out.rect.y, out.rect.width, out.rect.height);
    return out;
}

// A busy, never black destination, so that a pass that wipes or inverts shows.
COLORREF Backdrop(int x, int y) {
    return RGB(30 + x * 9 % 200, 90 + y * 13 % 150, 160);
}

// Picture with transparent pixels, and near-magenta ones that must stay opaque.
COLORREF Mixed(int x, int y) {
    if ((x + y) % 3 == 0) {
        return MAGENTA;
    }
    if (x == 1) {
        return RGB(254, 0, 255);
    }
    if (x == 2) {
        return RGB(255, 1, 255);
    }
    if (y == 1) {
        return RGB(0, 0, 0);  // black must not read as transparent either
    }
    return RGB(240, 20 + x * 10, 10 + y * 20);
}

// Owns a memory DC with a bitmap selected; releases both at the end of the test.
class Canvas {
public:
    Canvas(int width, int height, const PixelFunction& pixel)
        : bitmap(MakeBitmap(width, height, pixel)), dc(CreateCompatibleDC(nullptr)) {
        previous = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HDC Dc() const { return dc; }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc, x, y); }

private:
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ previous;
};
}  // namespace

TEST(RectArithmeticTest, IntersectionOverlappingTouchingApart) {
    Outputs overlap = Intersection(Rect(0, 0, 10, 10), Rect(5, 5, 10, 10));
    EXPECT_EQ(overlap.result, 1);
    EXPECT_EQ(overlap.rect, Rect(5, 5, 5, 5));

    Outputs touching = Intersection(Rect(0, 0, 10, 10), Rect(10, 0, 5, 5));
    EXPECT_EQ(touching.result, 0);
    EXPECT_EQ(touching.rect.width, 0);

    // The outputs are written even when there is no intersection.
    Outputs apart = Intersection(Rect(0, 0, 10, 10), Rect(20, 20, 5, 5));
    EXPECT_EQ(apart.result, 0);
    EXPECT_EQ(apart.rect, Rect(20, 20, -10, -10));

    Outputs inside = Intersection(Rect(-5, -5, 100, 100), Rect(3, 4, 6, 7));
    EXPECT_EQ(inside.result, 1);
    EXPECT_EQ(inside.rect, Rect(3, 4, 6, 7));
}

TEST(RectArithmeticTest, UnionCoversTheGapAndEmptyStaysEmpty) {
    Outputs apart = Union(Rect(0, 0, 10, 10), Rect(20, 20, 5, 5));
    EXPECT_EQ(apart.result, 1);
    EXPECT_EQ(apart.rect, Rect(0, 0, 25, 25));

    Outputs overlap = Union(Rect(5, 8, 10, 10), Rect(0, 10, 10, 20));
    EXPECT_EQ(overlap.result, 1);
    EXPECT_EQ(overlap.rect, Rect(0, 8, 15, 22));

    Outputs empty = Union(Rect(7, 7, 0, 4), Rect(7, 7, 0, 4));
    EXPECT_EQ(empty.result, 0);
    EXPECT_EQ(empty.rect.width, 0);
}

TEST(MaskTest, AllMagentaGivesAnEmptyMaskAndLeavesTheDestinationAlone) {
    constexpr int W = 9, H = 7;
    HBITMAP picture = MakeBitmap(W, H, [](int, int) { return MAGENTA; });
    HBITMAP mask = CreateMaskBitmap(picture, MAGENTA);
    ASSERT_NE(mask, nullptr);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            ASSERT_EQ(BitmapPixel(mask, x, y), RGB(0, 0, 0)) << x << "," << y;
        }
    }

    Canvas canvas(20, 20, Backdrop);
    MaskedBlit(canvas.Dc(), picture, mask, 4, 5, W, H, 0, 0);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(canvas.Pixel(x, y), Backdrop(x, y)) << x << "," << y;
        }
    }
    DeleteObject(mask);
    DeleteObject(picture);
}

TEST(MaskTest, PictureWithoutMagentaDrawsLikeAnOpaqueCopy) {
    constexpr int W = 12, H = 10;
    auto opaque = [](int x, int y) { return RGB(250, x * 20, y * 25); };
    HBITMAP picture = MakeBitmap(W, H, opaque);
    HBITMAP mask = CreateMaskBitmap(picture, MAGENTA);
    ASSERT_NE(mask, nullptr);

    Canvas masked(24, 24, Backdrop);
    Canvas copied(24, 24, Backdrop);
    MaskedBlit(masked.Dc(), picture, mask, 3, 2, 8, 7, 2, 1);
    HDC source = CreateCompatibleDC(nullptr);
    BlitBitmap(copied.Dc(), 3, 2, 8, 7, source, picture, 2, 1);
    DeleteDC(source);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            ASSERT_EQ(masked.Pixel(x, y), copied.Pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(masked.Pixel(3, 2), opaque(2, 1));
    DeleteObject(mask);
    DeleteObject(picture);
}

TEST(MaskTest, MixedPictureShowsExactlyWhereTheMaskIsSet) {
    constexpr int W = 16, H = 12;
    HBITMAP picture = MakeBitmap(W, H, Mixed);
    HBITMAP mask = CreateMaskBitmap(picture, MAGENTA);
    ASSERT_NE(mask, nullptr);
    BITMAP info = {};
    GetObjectA(mask, sizeof(info), &info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidth, W);
    EXPECT_EQ(info.bmHeight, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const COLORREF expected = Mixed(x, y) == MAGENTA ? RGB(0, 0, 0) : RGB(255, 255, 255);
            ASSERT_EQ(BitmapPixel(mask, x, y), expected) << x << "," << y;
        }
    }

    // Part of the picture (from 3, 2) onto a destination position (5, 6).
    constexpr int DX = 5, DY = 6, SX = 3, SY = 2, CW = 10, CH = 8;
    Canvas canvas(30, 30, Backdrop);
    const COLORREF background = SetBkColor(canvas.Dc(), RGB(1, 2, 3));
    const COLORREF text = SetTextColor(canvas.Dc(), RGB(4, 5, 6));
    const HGDIOBJ selected = GetCurrentObject(canvas.Dc(), OBJ_BITMAP);
    MaskedBlit(canvas.Dc(), picture, mask, DX, DY, CW, CH, SX, SY);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool covered = x >= DX && x < DX + CW && y >= DY && y < DY + CH;
            COLORREF expected = Backdrop(x, y);
            if (covered && Mixed(x - DX + SX, y - DY + SY) != MAGENTA) {
                expected = Mixed(x - DX + SX, y - DY + SY);
            }
            ASSERT_EQ(canvas.Pixel(x, y), expected) << x << "," << y;
        }
    }
    // The caller's DC keeps its colours and its bitmap.
    EXPECT_EQ(GetBkColor(canvas.Dc()), RGB(1, 2, 3));
    EXPECT_EQ(GetTextColor(canvas.Dc()), RGB(4, 5, 6));
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BITMAP), selected);
    SetBkColor(canvas.Dc(), background);
    SetTextColor(canvas.Dc(), text);
    DeleteObject(mask);
    DeleteObject(picture);
}

TEST(MaskTest, MakingAMaskLeavesThePictureUnchanged) {
    HBITMAP picture = MakeBitmap(4, 4, Mixed);
    HBITMAP mask = CreateMaskBitmap(picture, MAGENTA);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(BitmapPixel(picture, x, y), Mixed(x, y));
        }
    }
    DeleteObject(mask);
    DeleteObject(picture);
}

TEST(BlitTest, CopyBitmapRectCopiesAndPutsBothSelectionsBack) {
    HBITMAP source = MakeBitmap(10, 10, [](int x, int y) { return RGB(x * 20, y * 20, 99); });
    HBITMAP destination = MakeBitmap(10, 10, [](int, int) { return RGB(7, 7, 7); });
    HDC destinationDc = CreateCompatibleDC(nullptr);
    HDC sourceDc = CreateCompatibleDC(nullptr);
    const HGDIOBJ destinationBefore = GetCurrentObject(destinationDc, OBJ_BITMAP);
    const HGDIOBJ sourceBefore = GetCurrentObject(sourceDc, OBJ_BITMAP);

    CopyBitmapRect(destinationDc, destination, 2, 3, 4, 5, sourceDc, source, 1, 1);

    EXPECT_EQ(GetCurrentObject(destinationDc, OBJ_BITMAP), destinationBefore);
    EXPECT_EQ(GetCurrentObject(sourceDc, OBJ_BITMAP), sourceBefore);
    DeleteDC(destinationDc);
    DeleteDC(sourceDc);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool copied = x >= 2 && x < 6 && y >= 3 && y < 8;
            const COLORREF expected = copied ? RGB((x - 1) * 20, (y - 2) * 20, 99) : RGB(7, 7, 7);
            ASSERT_EQ(BitmapPixel(destination, x, y), expected) << x << "," << y;
        }
    }
    DeleteObject(source);
    DeleteObject(destination);
}

TEST(CaptureTest, ReturnsWhatTheScreenShows) {
    TestWindowOptions options;
    options.style = WS_POPUP | WS_VISIBLE;
    options.x = 200;
    options.y = 150;
    options.width = 80;
    options.height = 60;
    options.colour = RGB(200, 40, 90);
    HWND window = CreateTestWindow(options);
    BringToFront(window);
    PumpFor(100);

    // Straddles the window's left edge: 10 columns of desktop, then the window.
    const COLORREF outside = ScreenPixel(195, 160);
    ASSERT_NE(outside, options.colour);
    HBITMAP capture = CaptureScreenRect(Rect(190, 155, 30, 20));
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
}

TEST(CaptureTest, EmptyRectangleOpensNoDeviceContext) {
    ResetCallCounts();
    EXPECT_EQ(CaptureScreenRect(Rect(10, 10, 0, 20)), nullptr);
    EXPECT_EQ(CaptureScreenRect(Rect(10, 10, 20, -1)), nullptr);
    EXPECT_EQ(CaptureScreenRect(RectI{}), nullptr);
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
        HBITMAP capture = CaptureScreenRect(Rect(i % 500, 100, 16, 12));
        ASSERT_NE(capture, nullptr);
        HBITMAP mask = CreateMaskBitmap(picture, MAGENTA);
        ASSERT_NE(mask, nullptr);
        CopyBitmapRect(destinationDc, target, 0, 0, 16, 12, sourceDc, capture, 0, 0);
        const HGDIOBJ previous = SelectObject(destinationDc, target);
        MaskedBlit(destinationDc, picture, mask, 0, 0, 16, 12, 0, 0);
        SelectObject(destinationDc, previous);
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
