// The running program at 200 %, in a prefix set to 192 DPI by tools/with-dpi.sh: it draws its
// sign and figures at twice their size itself, crisply, never showing its transparent colour.
#include <algorithm>

#include "e2e/support/Desktop.h"

namespace {
constexpr int SCALE = 2;

TEST(HighDpi, SignAndFigureShowAtTwiceTheSizeAndTheFigureStepsTwiceAsFar) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 192) << "run inside tools/with-dpi.sh 192";
    ReleaseDC(nullptr, screen);
    Process program, sample;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    // Twice as far from the edge as at 100 %, for the same walk in twice as long steps.
    const RECT place = {520 - SIGN_WIDTH * SCALE, 150, 520, 150 + SIGN_HEIGHT * SCALE};
    const Image before = CaptureScreen(place);
    const HWND target = StartSample(sample, "Large sample", 520, 150, 400, 300);
    ASSERT_NE(target, nullptr);
    const HWND sign = WaitForSign(target, place.left, place.top, SCALE);
    ASSERT_NE(sign, nullptr);
    EXPECT_TRUE(ShowsFaceInShape(sign, place, before, SCALE));

    const HWND figure = WaitForFigure(mainWindow);
    ASSERT_NE(figure, nullptr);
    std::vector<RECT> walk;
    int magenta = 0;
    for (const DWORD start = GetTickCount(); IsWindow(figure) && GetTickCount() - start < 2500;) {
        walk.push_back(RectOf(figure));
        for (uint32_t pixel : CaptureScreen({0, 0, 1024, 768}).pixels) {
            magenta += ShowsMagenta(pixel);
        }
    }
    ASSERT_GT(walk.size(), 5u);
    // In over the left edge, frames 70 pixels high and at most 185 wide, at 2x.
    EXPECT_LT(walk[0].left, 0);
    EXPECT_GT(walk[0].left, -185 * SCALE);
    for (size_t i = 1; i < walk.size(); ++i) {
        const int moved = walk[i].left - walk[i - 1].left;
        EXPECT_TRUE(moved >= 0 && moved % (6 * SCALE) == 0 && walk[i].top == walk[0].top &&
                    walk[i].bottom - walk[i].top == 70 * SCALE)
            << "moved " << moved << " pixels, " << walk[i].bottom - walk[i].top << " high";
    }
    EXPECT_GE(walk.back().left - walk[0].left, 4 * 6 * SCALE);
    EXPECT_GT(walk.back().bottom, place.bottom + 100 * SCALE);
    EXPECT_LT(walk.back().bottom, place.top + 320 * SCALE);
    EXPECT_EQ(magenta, 0);
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}
}  // namespace
