// The running program at 200 %, in a Wine prefix set to 192 DPI by tools/with-dpi.sh: it
// draws its sign and figures at twice their size itself, crisply, and never lets its
// transparent colour through.
#include <gtest/gtest.h>

#include "e2e/support/DesktopProbe.h"
#include "e2e/support/SpriteWatch.h"

namespace {
constexpr int DPI = 192;
constexpr int SCALE = 2;
constexpr DWORD FOLLOW_MS = 3000;
constexpr int STEP_PIXELS = 6 * SCALE;
// Every figure walks in with frames 70 pixels high and at most 185 wide.
constexpr int WALK_FRAME_HEIGHT = 70 * SCALE;
constexpr int WIDEST_WALK_FRAME = 185 * SCALE;

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST(HighDpi, SignShowsItsFaceInItsShapeAtTwiceTheSizeBesideTheWindow) {
    ASSERT_EQ(ScreenDpi(), DPI) << "run inside tools/with-dpi.sh " << DPI;
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    const RECT place = {400 - SIGN_WIDTH * SCALE, 200, 400, 200 + SIGN_HEIGHT * SCALE};
    const PixelImage desktopBefore = CaptureScreen(place);

    ProgramProcess sample;
    const HWND target = StartSample(sample, "Large sample", 400, 200, 400, 300);
    ASSERT_NE(target, nullptr);
    HWND sign = nullptr;
    ASSERT_TRUE(WaitUntil(FOLLOW_MS,
                          [&] {
                              const std::vector<HWND> signs = SignsOf(target);
                              sign = signs.size() == 1 ? signs.front() : nullptr;
                              return sign && SignShownAt(sign, place.left, place.top, SCALE);
                          }))
        << "sign at " << RectOf(sign).left << "," << RectOf(sign).top << ", "
        << WidthOf(RectOf(sign)) << " x " << HeightOf(RectOf(sign));

    EXPECT_TRUE(ShowsFaceInShape(sign, place, desktopBefore, SCALE));
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}

TEST(HighDpi, FigureWalksInOverTheLeftEdgeInTwelvePixelStepsAndNoMagentaShows) {
    ASSERT_EQ(ScreenDpi(), DPI) << "run inside tools/with-dpi.sh " << DPI;
    // Twice as far from the edge as at 100 %, for the same walk in twice as long steps.
    VisitScene scene;
    ASSERT_TRUE(scene.Start("Walk sample", 520));

    // The whole screen, sign and figure included, at every look.
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    int magenta = 0;
    const std::vector<Sighting> walk = Follow(scene.figure, 2500, [&] {
        for (uint32_t pixel : CaptureScreen(screen).pixels) {
            magenta += ShowsMagenta(pixel);
        }
    });
    ASSERT_GT(walk.size(), 10u);
    EXPECT_LT(walk.front().rect.left, 0) << "figures come in over the left screen edge";
    EXPECT_GT(walk.front().rect.right, 0);
    EXPECT_GT(walk.front().rect.left, -WIDEST_WALK_FRAME);
    // Walking in, the window moves right in whole steps, never up or down, one frame high.
    for (size_t i = 1; i < walk.size(); ++i) {
        const RECT& from = walk[i - 1].rect;
        const RECT& to = walk[i].rect;
        const int moved = to.left - from.left;
        if (to.top != walk.front().rect.top || HeightOf(to) != WALK_FRAME_HEIGHT || moved < 0 ||
            moved % STEP_PIXELS != 0) {
            ADD_FAILURE() << "the figure went from " << Describe(from) << " to " << Describe(to);
            break;
        }
    }
    EXPECT_GE(walk.back().rect.left - walk.front().rect.left, 4 * STEP_PIXELS);
    // On its ground line, twice as far below the sign as at 100 %.
    const RECT sign = RectOf(SignsOf(scene.target).front());
    EXPECT_GT(walk.back().rect.bottom, sign.bottom + 100 * SCALE);
    EXPECT_LT(walk.back().rect.bottom, sign.top + 320 * SCALE);
    EXPECT_EQ(magenta, 0);
    ASSERT_TRUE(CloseProgram(scene.program, scene.mainWindow));
}
}  // namespace
