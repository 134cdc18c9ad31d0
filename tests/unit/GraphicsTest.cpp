// Window shapes from REGION resources, on the screen itself. The program's pictures are all
// read by its own reader (ResourcesTest), never drawn through GDI's masks or stretching.
#include <gtest/gtest.h>

#include "gfx/RegionResource.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"

namespace {
// Shape 7001 of the tests' resources: bars across top and bottom, two side blocks with a gap
// between them; 7002 claims more rectangles than it holds. Only the low 16 bits of the id
// count; a missing or damaged resource leaves the old shape, and every region made is handed
// to the window or deleted.
TEST(GraphicsTest, WindowShowsExactlyTheRectanglesOfItsRegionResource) {
    constexpr COLORREF BLUE = RGB(20, 40, 200), ORANGE = RGB(230, 120, 10);
    const HINSTANCE module = GetModuleHandleA(nullptr);
    HWND back = CreateTestWindow({"", 220, 160, 100, 80, WS_POPUP | WS_VISIBLE, 0, nullptr, BLUE});
    HWND top = CreateTestWindow({"", 240, 180, 60, 40, WS_POPUP | WS_VISIBLE, 0, nullptr, ORANGE});
    BringToFront(top);
    const auto shows = [](bool (*visible)(int, int)) {
        PumpFor(100);
        const std::vector<uint32_t> seen = ScreenPixels({240, 180, 300, 220});
        int wrong = 0;
        for (size_t i = 0; i < seen.size(); ++i) {
            const COLORREF c = visible(int(i % 60), int(i / 60)) ? ORANGE : BLUE;
            wrong += seen[i] != uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
        }
        return wrong == 0;
    };
    const int before = LiveGdiObjects();
    EXPECT_NE(ApplyRegionResource(module, top, 7001 + 0x10000, true), 0);
    EXPECT_TRUE(shows(
        [](int x, int y) { return y < 10 || y >= 30 ? x >= 10 && x < 50 : x < 20 || x >= 40; }));
    ASSERT_TRUE(SetWindowRgn(top, CreateRectRgn(5, 5, 25, 25), TRUE));
    EXPECT_EQ(ApplyRegionResource(module, top, 7099, true), 0);
    EXPECT_EQ(ApplyRegionResource(module, top, 7002, true), 0);
    EXPECT_TRUE(shows([](int x, int y) { return x >= 5 && x < 25 && y >= 5 && y < 25; }));
    // Refused by SetWindowRgn: a window handle that does not exist.
    EXPECT_EQ(ApplyRegionResource(module, reinterpret_cast<HWND>(0x4321), 7001, false), 0);
    EXPECT_EQ(LiveGdiObjects(), before);
    DestroyWindow(top);
    DestroyWindow(back);
}
}  // namespace
