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
constexpr int LEFT = 240, TOP = 180, WIDTH = 60, HEIGHT = 40;
constexpr COLORREF BACKDROP = RGB(20, 40, 200);
constexpr COLORREF SHAPED = RGB(230, 120, 10);

// Shape 7001: bars across top and bottom, and two side blocks with a gap between them.
bool InShape(int x, int y) {
    return y < 10 || y >= 30 ? x >= 10 && x < 50 : x < 20 || x >= 40;
}

HWND SolidWindow(int x, int y, int width, int height, COLORREF colour) {
    TestWindowOptions options;
    options.style = WS_POPUP | WS_VISIBLE;
    options.x = x;
    options.y = y;
    options.width = width;
    options.height = height;
    options.colour = colour;
    return CreateTestWindow(options);
}

int Apply(HWND window, int id, bool redraw = true) {
    return ApplyRegionResource(GetModuleHandleA(nullptr), window, id, redraw);
}

// The shaped window in front of a backdrop window of another colour.
class RegionResourceTest : public testing::Test {
protected:
    void SetUp() override {
        backdrop = SolidWindow(LEFT - 20, TOP - 20, WIDTH + 40, HEIGHT + 40, BACKDROP);
        window = SolidWindow(LEFT, TOP, WIDTH, HEIGHT, SHAPED);
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
                wrong += BitmapPixel(shot, x, y) != (visible(x, y) ? SHAPED : BACKDROP);
            }
        }
        DeleteObject(shot);
        return wrong;
    }

    HWND backdrop = nullptr;
    HWND window = nullptr;
};

// Only the low 16 bits of the id count.
TEST_F(RegionResourceTest, WindowShowsExactlyTheRectanglesOfTheResource) {
    ASSERT_EQ(WrongPixels([](int, int) { return true; }), 0);
    EXPECT_NE(Apply(window, SHAPE), 0);
    EXPECT_EQ(WrongPixels(InShape), 0);
    SetWindowRgn(window, nullptr, TRUE);
    EXPECT_NE(Apply(window, SHAPE + 0x10000), 0);
    EXPECT_EQ(WrongPixels(InShape), 0);
}

TEST_F(RegionResourceTest, MissingOrDamagedResourceKeepsTheOldShape) {
    ASSERT_TRUE(SetWindowRgn(window, CreateRectRgn(5, 5, 25, 25), TRUE));
    const int before = LiveGdiObjects();
    EXPECT_EQ(Apply(window, NO_SUCH_SHAPE), 0);
    EXPECT_EQ(Apply(window, NO_SUCH_SHAPE + 0x70000), 0);
    EXPECT_EQ(Apply(window, TRUNCATED_SHAPE), 0);
    EXPECT_EQ(WrongPixels([](int x, int y) { return x >= 5 && x < 25 && y >= 5 && y < 25; }), 0);
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(RegionResourceTest, RegionsAreHandedToTheWindowOrDeleted) {
    const int before = LiveGdiObjects();
    ResetCallCounts();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_NE(Apply(window, SHAPE, false), 0);
        // Refused by SetWindowRgn: a window handle that does not exist.
        ASSERT_EQ(Apply(reinterpret_cast<HWND>(0x4321), SHAPE, false), 0);
    }
    EXPECT_EQ(CallCount("ExtCreateRegion"), 2000);
    EXPECT_EQ(LiveGdiObjects(), before);
}
}  // namespace
