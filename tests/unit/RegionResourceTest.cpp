// Window shapes from REGION resources, checked on the screen itself.
#include <gtest/gtest.h>

#include "gfx/Drawing.h"
#include "gfx/RegionResource.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"

namespace {
// Test resources: a 60 x 40 shape of four rectangles, and one that claims more rectangles
// than it holds.
constexpr int SHAPE = 7001;
constexpr int TRUNCATED_SHAPE = 7002;
constexpr int NO_SUCH_SHAPE = 7099;
constexpr RECT SHAPE_RECTS[] = {
    {10, 0, 50, 10}, {0, 10, 20, 30}, {40, 10, 60, 30}, {10, 30, 50, 40}};

constexpr int LEFT = 240, TOP = 180, WIDTH = 60, HEIGHT = 40;
constexpr COLORREF BACKDROP = RGB(20, 40, 200);
constexpr COLORREF SHAPED = RGB(230, 120, 10);

bool InShape(int x, int y) {
    for (const RECT& rect : SHAPE_RECTS) {
        if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom) {
            return true;
        }
    }
    return false;
}

class RegionResourceTest : public testing::Test {
protected:
    void SetUp() override {
        TestWindowOptions back;
        back.style = WS_POPUP | WS_VISIBLE;
        back.x = LEFT - 20;
        back.y = TOP - 20;
        back.width = WIDTH + 40;
        back.height = HEIGHT + 40;
        back.colour = BACKDROP;
        backdrop = CreateTestWindow(back);
        TestWindowOptions front = back;
        front.x = LEFT;
        front.y = TOP;
        front.width = WIDTH;
        front.height = HEIGHT;
        front.colour = SHAPED;
        window = CreateTestWindow(front);
        BringToFront(window);
    }
    void TearDown() override {
        DestroyWindow(window);
        DestroyWindow(backdrop);
        PumpMessages();
    }

    // Counts the pixels of the window's rectangle that disagree with the given shape.
    int WrongPixels(bool (*visible)(int x, int y)) {
        PumpFor(100);
        HBITMAP shot = CaptureScreenRect(RectI{LEFT, TOP, WIDTH, HEIGHT});
        int wrong = 0;
        for (int y = 0; y < HEIGHT; ++y) {
            for (int x = 0; x < WIDTH; ++x) {
                const COLORREF expected = visible(x, y) ? SHAPED : BACKDROP;
                if (BitmapPixel(shot, x, y) != expected) {
                    ++wrong;
                }
            }
        }
        DeleteObject(shot);
        return wrong;
    }

    RECT ShapeBox() {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        RECT box = {};
        if (GetWindowRgn(window, region) != ERROR) {
            GetRgnBox(region, &box);
        }
        DeleteObject(region);
        return box;
    }

    HWND backdrop = nullptr;
    HWND window = nullptr;
};

bool Whole(int, int) {
    return true;
}
}  // namespace

TEST_F(RegionResourceTest, WindowShowsExactlyTheRectanglesOfTheResource) {
    ASSERT_EQ(WrongPixels(Whole), 0);
    EXPECT_NE(ApplyRegionResource(GetModuleHandleA(nullptr), window, SHAPE, true), 0);
    EXPECT_EQ(WrongPixels(InShape), 0);
    const RECT box = ShapeBox();
    EXPECT_EQ(box.right - box.left, WIDTH);
    EXPECT_EQ(box.bottom - box.top, HEIGHT);
}

TEST_F(RegionResourceTest, MissingOrDamagedResourceKeepsTheOldShape) {
    HRGN square = CreateRectRgn(5, 5, 25, 25);
    ASSERT_TRUE(SetWindowRgn(window, square, TRUE));
    const int before = LiveGdiObjects();

    EXPECT_EQ(ApplyRegionResource(GetModuleHandleA(nullptr), window, NO_SUCH_SHAPE, true), 0);
    EXPECT_EQ(ApplyRegionResource(GetModuleHandleA(nullptr), window, TRUNCATED_SHAPE, true), 0);
    const RECT box = ShapeBox();
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 25);
    EXPECT_EQ(WrongPixels([](int x, int y) { return x >= 5 && x < 25 && y >= 5 && y < 25; }), 0);
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(RegionResourceTest, OnlyTheLow16BitsOfTheIdCount) {
    EXPECT_NE(ApplyRegionResource(GetModuleHandleA(nullptr), window, SHAPE + 0x10000, true), 0);
    EXPECT_EQ(WrongPixels(InShape), 0);
    EXPECT_EQ(ApplyRegionResource(GetModuleHandleA(nullptr), window, NO_SUCH_SHAPE + 0x70000, true),
              0);
}

TEST_F(RegionResourceTest, RegionsAreHandedToTheWindowOrDeleted) {
    const int before = LiveGdiObjects();
    ResetCallCounts();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_NE(ApplyRegionResource(GetModuleHandleA(nullptr), window, SHAPE, false), 0);
        // Refused by SetWindowRgn: a window handle that does not exist.
        ASSERT_EQ(ApplyRegionResource(GetModuleHandleA(nullptr), reinterpret_cast<HWND>(0x4321),
                                      SHAPE, false),
                  0);
    }
    EXPECT_EQ(CallCount("ExtCreateRegion"), 2000);
    EXPECT_EQ(LiveGdiObjects(), before);
}
