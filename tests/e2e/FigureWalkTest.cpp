// The running program's figures, watched from another process: where they come from, how
// fast they walk, what they look like on the desktop, and when they give up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "e2e/support/DesktopProbe.h"
#include "e2e/support/SpriteWatch.h"

namespace {
constexpr DWORD ARRIVAL_MS = 3000;
constexpr DWORD LEAVE_MS = 1500;
constexpr DWORD CALM_WATCH_MS = 30000;
// How long the window stands still between two moves during the calm.
constexpr DWORD CALM_LOOK_MS = 2000;
constexpr int STEP_PIXELS = 6;
constexpr double STEP_MS = 150.0;

// The sign of a window, alone, shown beside its top-left corner.
bool SignHangsAt(HWND target, int left, int top) {
    const std::vector<HWND> signs = SignsOf(target);
    return signs.size() == 1 && IsWindowVisible(signs.front()) &&
           RectOf(signs.front()).left == left - SIGN_WIDTH && RectOf(signs.front()).top == top;
}

// "Show animations in Windows" is kept in the Wine prefix, where every later test would
// find it: turned on as the guard comes, in case a killed run left it off, and as it goes.
class AnimationSettingGuard {
public:
    AnimationSettingGuard() { Turn(true); }
    ~AnimationSettingGuard() { Turn(true); }
    AnimationSettingGuard(const AnimationSettingGuard&) = delete;
    AnimationSettingGuard& operator=(const AnimationSettingGuard&) = delete;

    // Tells every top-level window of the desktop, as the system's own settings page does.
    static bool Turn(bool on) {
        return SystemParametersInfoA(SPI_SETCLIENTAREAANIMATION, 0,
                                     reinterpret_cast<void*>(static_cast<UINT_PTR>(on)),
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != 0;
    }
};

TEST(FigureWalk, ComesInOverTheLeftEdgeSixPixelsAStepAtTheTickRate) {
    VisitScene scene;
    ASSERT_TRUE(scene.Start("Walk sample"));
    const std::vector<Sighting> walk = Follow(scene.figure, 3000);
    ASSERT_GT(walk.size(), 10u);
    EXPECT_LT(walk.front().rect.left, 0) << "figures come in over the left screen edge";
    EXPECT_TRUE(GetWindowLongA(scene.figure, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), scene.target) << "a figure must not take the activation";

    // Walking in, the window moves right in whole steps and never up or down.
    int steps = 0;
    for (size_t i = 1; i < walk.size(); ++i) {
        const int moved = walk[i].rect.left - walk[i - 1].rect.left;
        EXPECT_EQ(walk[i].rect.top, walk.front().rect.top);
        EXPECT_GE(moved, 0);
        EXPECT_EQ(moved % STEP_PIXELS, 0) << "moved " << moved << " pixels at once";
        steps += moved / STEP_PIXELS;
    }
    const double elapsedMs = walk.back().time - walk.front().time;
    const double pixelsPerStepTime =
        (walk.back().rect.left - walk.front().rect.left) * STEP_MS / elapsedMs;
    std::printf("walked %d steps in %.0f ms: %.2f pixels per 150 ms\n", steps, elapsedMs,
                pixelsPerStepTime);
    // The ticks may run late on a busy machine, never early.
    EXPECT_GT(pixelsPerStepTime, 3.5);
    EXPECT_LT(pixelsPerStepTime, 7.0);

    // The figure stands on a ground line below the sign, not in the window's way.
    const RECT sign = RectOf(SignsOf(scene.target).front());
    EXPECT_GT(walk.back().rect.bottom, sign.bottom + 100);
    EXPECT_LT(walk.back().rect.bottom, sign.top + 320);
    ASSERT_TRUE(CloseProgram(scene.program, scene.mainWindow));
}

TEST(FigureWalk, ShowsTheDesktopThroughItsTransparentPixels) {
    VisitScene scene;
    ASSERT_TRUE(scene.Start("Look sample"));
    // Nothing magenta may show anywhere around the figure, on any of several frames.
    ASSERT_TRUE(WaitUntil(ARRIVAL_MS, [&] { return RectOf(scene.figure).right > 60; }));
    int magenta = 0;
    int drawn = 0;
    const uint32_t background = CaptureScreen({0, 0, 1, 1}).At(0, 0);
    for (int look = 0; look < 5 && IsWindow(scene.figure); ++look) {
        RECT onScreen = RectOf(scene.figure);
        onScreen.left = std::max(onScreen.left, 0L);
        const PixelImage picture = CaptureScreen(onScreen);
        for (uint32_t pixel : picture.pixels) {
            magenta += ShowsMagenta(pixel);
            drawn += pixel != background;
        }
        Sleep(170);
    }
    EXPECT_EQ(magenta, 0);
    EXPECT_GT(drawn, 200) << "the figure itself must show";
    ASSERT_TRUE(CloseProgram(scene.program, scene.mainWindow));
}

// Switching the foreground between processes passes through "no window in front" for a
// moment, which sends figures away too; so whether a figure stays while its own sign is
// activated is watched with a real click (SponsorPageTest).
TEST(FigureWalk, LeavesWhenAnotherWindowComesToTheFront) {
    VisitScene scene;
    ASSERT_TRUE(scene.Start("Visited sample"));
    const HWND sign = SignsOf(scene.target).front();
    ProgramProcess otherSample;
    const HWND other = StartSample(otherSample, "Other sample", 600, 450, 300, 200);
    ASSERT_NE(other, nullptr);
    const DWORD activated = GetTickCount();
    EXPECT_TRUE(WaitUntil(LEAVE_MS, [&] { return !IsWindow(scene.figure); }));
    std::printf("figure left %lu ms after another window came to the front\n",
                GetTickCount() - activated);
    // The next figure waits its turn; the first window keeps its sign.
    Sleep(300);
    EXPECT_TRUE(FiguresOf(scene.mainWindow).empty());
    EXPECT_EQ(SignsOf(scene.target).size(), 1u);
    EXPECT_TRUE(IsWindowVisible(sign));
    ASSERT_TRUE(CloseProgram(scene.program, scene.mainWindow));
}

TEST(FigureWalk, LeavesWhenItsWindowMovesInFront) {
    VisitScene scene;
    ASSERT_TRUE(scene.Start("Shifted sample"));
    SetWindowPos(scene.target, nullptr, 261, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil(LEAVE_MS, [&] { return !IsWindow(scene.figure); }));
    ASSERT_TRUE(CloseProgram(scene.program, scene.mainWindow));
}

TEST(FigureWalk, NoneComesToASignOverTheLeftEdgeUntilItsWindowMovesRight) {
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    ProgramProcess sample;
    const HWND target = StartSample(sample, "Edge sample", 60, 150, 400, 300);
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(WaitUntil(ARRIVAL_MS, [&] { return SignHangsAt(target, 60, 150); }));
    Sleep(1500);
    EXPECT_TRUE(FiguresOf(mainWindow).empty());

    SetWindowPos(target, nullptr, 300, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil(ARRIVAL_MS, [&] { return VisibleFigure(mainWindow) != nullptr; }));
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}

// With animations off no figure comes, however long the window stays in front, and its sign
// still follows it; with them on again, figures come. Wine keeps the setting per process as
// first read, so the program is started anew to see it change.
TEST(FigureWalk, NoneComesWhileAnimationsAreOffThoughTheSignFollowsItsWindow) {
    AnimationSettingGuard animations;
    ASSERT_TRUE(AnimationSettingGuard::Turn(false));
    ProgramProcess program;
    HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    ProgramProcess sample;
    const HWND target = StartSample(sample, "Calm sample", 300, 150, 400, 300);
    ASSERT_NE(target, nullptr);
    const DWORD start = GetTickCount();
    for (int move = 0; GetTickCount() - start < CALM_WATCH_MS; ++move) {
        const int left = 300 + move % 2 * 40;
        SetWindowPos(target, nullptr, left, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(WaitUntil(ARRIVAL_MS, [&] { return SignHangsAt(target, left, 150); }));
        ASSERT_FALSE(WaitUntil(CALM_LOOK_MS, [&] { return !FiguresOf(mainWindow).empty(); }))
            << "a figure came " << GetTickCount() - start << " ms into the calm";
    }
    ASSERT_EQ(GetForegroundWindow(), target);
    ASSERT_TRUE(CloseProgram(program, mainWindow));

    ASSERT_TRUE(AnimationSettingGuard::Turn(true));
    ProgramProcess restarted;
    mainWindow = StartProgram(restarted);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_TRUE(WaitUntil(ARRIVAL_MS, [&] { return VisibleFigure(mainWindow) != nullptr; }));
    ASSERT_TRUE(CloseProgram(restarted, mainWindow));
}
}  // namespace
