// Figures and signs on desktops of several monitors and at high DPI: a figure comes in over
// its own monitor's left edge and never shows on a neighbour; at 2x everything is twice the
// size, crisp, and steps twice as far.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "actors/Scheduler.h"
#include "app/ForegroundWatcher.h"
#include "gfx/Clock.h"
#include "support/TestBitmaps.h"
#include "support/TestFrames.h"
#include "support/WalkStage.h"
#include "windows/FrameBitmap.h"

namespace {
constexpr RECT PRIMARY = {0, 0, 1024, 768};
constexpr RECT RIGHT_OF_PRIMARY = {1024, 0, 2048, 768};
constexpr RECT LEFT_OF_PRIMARY = {-1024, 0, 0, 768};
constexpr RECT SHORT_RIGHT_OF_PRIMARY = {1024, 0, 2048, 600};
// The ladder visit's walking frames.
constexpr int LADDER_WIDTH = 183;
constexpr int LADDER_HEIGHT = 70;

int Right(const RectI& rect) {
    return rect.x + rect.width;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return IsRectEmpty(&inner) || (inner.left >= outer.left && inner.top >= outer.top &&
                                   inner.right <= outer.right && inner.bottom <= outer.bottom);
}

// What of the window can show on the screen: its shape's bounds, or the whole window.
RECT VisibleArea(HWND window, bool& shaped) {
    RECT area;
    GetWindowRect(window, &area);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    shaped = GetWindowRgn(window, shape) != ERROR;
    if (shaped) {
        RECT box;
        GetRgnBox(shape, &box);
        OffsetRect(&box, area.left, area.top);
        area = box;
    }
    DeleteObject(shape);
    return area;
}

class MonitorLayoutTest : public testing::Test {
protected:
    void SetUp() override { ResetScheduler(); }
    void TearDown() override { ResetScheduler(); }

    FakeClock clock{LocalTime(2005, 6, 1)};
};

struct Layout {
    const char* name;
    std::vector<MonitorArea> monitors;
    int signX, signY;
    // The sign's monitor, or -1 when its sign must get no figure.
    int home;
};

TEST_F(MonitorLayoutTest, FigureEntersAndLeavesOverItsOwnMonitorsLeftEdgeAndShowsNowhereElse) {
    const Layout layouts[] = {
        {"one monitor", {{PRIMARY}}, 300, 250, 0},
        {"sign on a monitor right of the primary", {{PRIMARY}, {RIGHT_OF_PRIMARY}}, 1224, 250, 1},
        {"sign on a monitor at negative x", {{PRIMARY}, {LEFT_OF_PRIMARY}}, -824, 250, 1},
        {"sign low on a shorter monitor", {{PRIMARY}, {SHORT_RIGHT_OF_PRIMARY}}, 1124, 480, 1},
        {"sign straddling, mostly on the right", {{PRIMARY}, {RIGHT_OF_PRIMARY}}, 1000, 250, -1},
        {"sign left of the leftmost monitor", {{PRIMARY}, {LEFT_OF_PRIMARY}}, -1100, 250, -1},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        FakeMonitors monitors(layout.monitors);
        ResetScheduler();
        // The ladder visit: its walk out shows where a figure leaves its monitor.
        srand(SeedForLadderDraws({true}));
        WalkStage stage(layout.signX, layout.signY);
        const bool alone = layout.monitors.size() == 1;
        const RECT home = layout.monitors[std::max(layout.home, 0)].bounds;
        int shownElsewhere = 0;
        int shapedAlone = 0;
        const auto traces = RecordWalks(stage, layout.home < 0 ? 30 : 1400, [&](int) {
            for (Actor* figure : Figures()) {
                bool shaped = false;
                const RECT visible = VisibleArea(figure->Window(), shaped);
                shownElsewhere +=
                    !alone && IsWindowVisible(figure->Window()) && !Inside(visible, home);
                shapedAlone += alone && shaped;
            }
        });
        if (layout.home < 0) {
            EXPECT_TRUE(traces.empty());
            continue;
        }
        const ActorTrace* walk = FindTrace(traces, Script::LadderVisit);
        ASSERT_NE(walk, nullptr);
        ASSERT_NE(walk->closedTick, 0) << "still out";
        EXPECT_NE(FindTrace(traces, Script::Sparkle), nullptr);
        EXPECT_EQ(walk->steps.front().origin.x, home.left - LADDER_WIDTH + 6);
        EXPECT_EQ(walk->steps.front().origin.y, layout.signY - 2);
        const RectI last = walk->steps.back().frameRect;
        EXPECT_LE(Right(last), home.left);
        EXPECT_GT(Right(last), home.left - 12);
        EXPECT_EQ(shownElsewhere, 0);
        // On a single monitor nothing beyond it can show, so nothing is cut off.
        EXPECT_EQ(shapedAlone, 0);
    }
}

// Everything at 2x: the sign's size, place and shape; the figure's frames, steps, start and
// stop. The pixels at 2x are watched from outside (HighDpiTest).
TEST_F(MonitorLayoutTest, AtTwiceTheDpiSignAndFigureAreTwiceAsLargeAndStepTwiceAsFar) {
    FakeMonitors monitors({{PRIMARY, 192}});
    srand(SeedForLadderDraws({true}));
    WalkStage stage(300, 250);
    SignWindow* sign = stage.Sign();
    ASSERT_NE(sign, nullptr);
    RECT target;
    GetWindowRect(stage.Target(), &target);
    EXPECT_EQ(sign->Scale(), 2);
    EXPECT_EQ(sign->Width(), 244);
    EXPECT_EQ(sign->Height(), 196);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{target.left - 244.0, target.top + 0.0}));
    EXPECT_TRUE(WindowHasShape(sign->Window(), 5001, 2));

    const auto traces = RecordWalks(stage, 700);
    const ActorTrace* walk = FindTrace(traces, Script::LadderVisit);
    ASSERT_NE(walk, nullptr);
    ASSERT_GT(walk->steps.size(), 3u);
    EXPECT_EQ(walk->steps[0].origin, (PointD{-2.0 * LADDER_WIDTH + 12, target.top - 4.0}));
    EXPECT_EQ(walk->steps[1].origin.x - walk->steps[0].origin.x, 12);
    EXPECT_EQ(walk->steps[0].frameRect.width, 2 * LADDER_WIDTH);
    EXPECT_EQ(walk->steps[0].frameRect.height, 2 * LADDER_HEIGHT);
    // The ladder figure stops twice 88 pixels left of the sign; frame 4 is drawn 214 below.
    const FrameStep standing = walk->FirstSteps().at(4);
    EXPECT_EQ(standing.origin.x, sign->PlacedPosition().x - 176);
    EXPECT_EQ(standing.frameRect.y - standing.origin.y, 2 * 214);
    const ActorTrace* sparkle = FindTrace(traces, Script::Sparkle);
    ASSERT_NE(sparkle, nullptr);
    EXPECT_EQ(sparkle->steps.front().frameRect.width, 2 * 41);

    // The face change's ladder stands there too; the placard vanishes on the target's edge.
    for (const Script script : {Script::SignChange, Script::Placard}) {
        ResetScheduler();
        const bool change = script == Script::SignChange;
        clock.Set(change ? LocalTime(2001, 10, 15) : LocalTime(2005, 6, 1));
        srand(SeedForLadderDraws({false}));
        WalkStage again(300, 250);
        const auto walks = RecordWalks(again, 900);
        ASSERT_EQ(walks.size(), 1u);
        ASSERT_EQ(walks[0].script, script);
        EXPECT_EQ(
            change ? walks[0].FirstSteps().at(4).origin.x : Right(walks[0].steps.back().frameRect),
            change ? again.Sign()->PlacedPosition().x - 176 : target.left);
    }
}

// A picture that is not stored indexed in the module, here one from a file, doubles crisply
// as well.
TEST_F(MonitorLayoutTest, PictureFromAFileIsTwiceAsLargeAndCrisp) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof(path), TestFramePattern(), int(FRAME_FIGURE));
    FrameBitmap frame(path);
    ASSERT_TRUE(frame.Load(nullptr, true, 2));
    const std::vector<uint32_t> pixels = PixelsOf(frame.Bitmap());
    ASSERT_EQ(pixels.size(), 4u * FIGURE_SIZE * FIGURE_SIZE);
    int wrong = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const COLORREF c =
            FigurePixel(int(i % (2 * FIGURE_SIZE)) / 2, int(i / (2 * FIGURE_SIZE)) / 2);
        wrong += pixels[i] != uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
    EXPECT_EQ(wrong, 0);
}

// A sign takes the scale of the monitor it hangs on as soon as its target moves there, and a
// resting one within a second of its monitor changing scale.
TEST_F(MonitorLayoutTest, SignFollowsItsTargetToAMonitorOfAnotherScale) {
    FakeMonitors monitors({{PRIMARY, 96}, {RIGHT_OF_PRIMARY, 192}});
    lastLaunchTime = CurrentTime();
    WalkStage stage(300, 250);
    SignWindow* sign = stage.Sign();
    ASSERT_NE(sign, nullptr);
    struct Move {
        int x;
        int scale;
    };
    for (const Move& move : {Move{1500, 2}, Move{400, 1}}) {
        SetWindowPos(stage.Target(), nullptr, move.x, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RunTicks(1);
        EXPECT_EQ(sign->Scale(), move.scale) << move.x;
        EXPECT_EQ(sign->Width(), 122 * move.scale);
        EXPECT_EQ(sign->PlacedPosition().x, move.x - 122 * move.scale);
        EXPECT_TRUE(WindowHasShape(sign->Window(), 5001, move.scale));
    }
    monitors.SetDpi(0, 144);
    RunTicks(20);
    EXPECT_EQ(sign->Scale(), 2);
    EXPECT_EQ(sign->PlacedPosition().x, 400 - 244);
}

// The smallest target that gets and shows a sign grows with the scale.
TEST_F(MonitorLayoutTest, SmallestSignedTargetGrowsWithTheScale) {
    struct Case {
        UINT dpi;
        int width, height;
        bool signable;
    };
    const Case cases[] = {
        {120, 11, 76, true},  {144, 21, 152, false}, {144, 22, 151, false},
        {144, 22, 152, true}, {288, 33, 228, true},  {288, 32, 228, false},
    };
    std::vector<HWND> windows;
    for (const Case& c : cases) {
        FakeMonitors monitors({{PRIMARY, c.dpi}});
        TestWindowOptions options;
        options.style = WS_POPUP | WS_VISIBLE;
        options.width = c.width;
        options.height = c.height;
        windows.push_back(CreateTestWindow(options));
        EXPECT_EQ(IsSignableWindow(windows.back()), c.signable)
            << c.dpi << " dpi, " << c.width << " x " << c.height;
    }
    for (HWND window : windows) {
        DestroyWindow(window);
    }
    PumpMessages();
}
}  // namespace
