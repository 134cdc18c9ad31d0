// Figures and signs on desktops of several monitors, at high DPI, changing under the program,
// and with window frames as Windows 10 and 11 draw them: a figure comes in over its own
// monitor's left edge and never shows on a neighbour; at 2x everything is twice the size,
// crisp, and steps twice as far.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "actors/Scheduler.h"
#include "app/ForegroundWatcher.h"
#include "app/MainWindow.h"
#include "gfx/Clock.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestFrames.h"
#include "support/WalkStage.h"
#include "windows/FrameBitmap.h"

namespace {
constexpr RECT PRIMARY = {0, 0, 1024, 768};
constexpr RECT RIGHT_OF_PRIMARY = {1024, 0, 2048, 768};
constexpr RECT LEFT_OF_PRIMARY = {-1024, 0, 0, 768};
constexpr RECT SHORT_RIGHT_OF_PRIMARY = {1024, 0, 2048, 600};
// The ladder visit's first walking frame.
constexpr int LADDER_WIDTH = 183;

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
        // After every move and every new shape, not only between ticks.
        WatchWindowChanges([&](HWND window) {
            bool shaped = false;
            const RECT visible = VisibleArea(window, shaped);
            shownElsewhere += KindForWindow(window) == KIND_ACTOR && IsWindowVisible(window) &&
                              !alone && !Inside(visible, home);
        });
        const auto traces = RecordWalks(stage, layout.home < 0 ? 30 : 1400, [&](int) {
            for (Actor* figure : Figures()) {
                bool shaped = false;
                VisibleArea(figure->Window(), shaped);
                shapedAlone += alone && shaped;
            }
        });
        WatchWindowChanges(nullptr);
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

// A sign belongs to the monitor holding its target's top-left corner: it takes that monitor's
// scale as soon as the target gets there, hidden or shown, and keeps it while the target
// stays, even where the sign itself hangs over a neighbour of another scale.
TEST_F(MonitorLayoutTest, SignTakesTheScaleOfTheMonitorHoldingItsTargetsCorner) {
    struct Move {
        int targetX;
        int scale;
        bool shown;
    };
    struct Case {
        const char* name;
        std::vector<MonitorArea> monitors;
        int targetHeight;
        std::vector<Move> moves;
    };
    const Case cases[] = {
        {"to a finer monitor and back",
         {{PRIMARY}, {RIGHT_OF_PRIMARY, 192}},
         200,
         {{422, 1, true}, {1500, 2, true}, {400, 1, true}}},
        {"just right of a finer monitor's edge",
         {{PRIMARY}, {RIGHT_OF_PRIMARY, 192}},
         200,
         {{1124, 2, true}}},
        {"low, its sign over a finer neighbour",
         {{PRIMARY}, {LEFT_OF_PRIMARY, 192}},
         100,
         {{50, 1, true}, {-600, 2, false}, {400, 1, true}}},
        {"at 168 dpi", {{PRIMARY, 168}}, 300, {{422, 2, true}}},
        {"at 240 dpi", {{PRIMARY, 240}}, 300, {{422, 3, true}}},
        {"at 288 dpi", {{PRIMARY, 288}}, 300, {{422, 3, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMonitors monitors(c.monitors);
        lastLaunchTime = CurrentTime();
        WalkStage stage(300, 250, 1, 0, c.targetHeight);
        SignWindow* sign = stage.Sign();
        ASSERT_NE(sign, nullptr);
        for (const Move& move : c.moves) {
            SetWindowPos(stage.Target(), nullptr, move.targetX, 250, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
            RunTicks(1);
            EXPECT_EQ(sign->Scale(), move.scale) << move.targetX;
            EXPECT_EQ(sign->Width(), 122 * move.scale);
            EXPECT_EQ(IsWindowVisible(sign->Window()) != FALSE, move.shown) << move.targetX;
            if (move.shown) {
                EXPECT_EQ(sign->PlacedPosition().x, move.targetX - 122 * move.scale);
            }
            EXPECT_TRUE(WindowHasShape(sign->Window(), 5001, move.scale));
            int changes = 0;
            for (int tick = 0; tick < 100; ++tick) {
                RunTicks(1);
                changes += sign->Scale() != move.scale;
            }
            EXPECT_EQ(changes, 0) << move.targetX;
        }
    }
    // A resting sign follows its monitor's new scale within a second.
    FakeMonitors monitors({{PRIMARY}});
    WalkStage stage(300, 250);
    monitors.SetDpi(0, 144);
    RunTicks(20);
    EXPECT_EQ(stage.Sign()->Scale(), 2);
    EXPECT_EQ(stage.Sign()->PlacedPosition().x, 422 - 244);
}

// Windows 7 and 8.0 cannot tell each monitor's DPI: every monitor takes the system's.
TEST_F(MonitorLayoutTest, WithoutADpiPerMonitorEveryMonitorTakesTheSystems) {
    const std::vector<MonitorArea> perMonitor = ReadSystemMonitors(SystemDpiSource());
    const std::vector<MonitorArea> systemWide =
        ReadSystemMonitors({nullptr, [] { return UINT(144); }});
    ASSERT_FALSE(perMonitor.empty());
    ASSERT_EQ(systemWide.size(), perMonitor.size());
    for (size_t i = 0; i < systemWide.size(); ++i) {
        EXPECT_TRUE(EqualRect(&systemWide[i].bounds, &perMonitor[i].bounds));
        EXPECT_EQ(systemWide[i].dpi, 144u);
    }
}

// The desktop changes while a figure is out: it leaves, unseen, on the tick the program
// learns of it (at once when the system announces it, else within a second), frees its sign
// and leaves nothing behind.
TEST_F(MonitorLayoutTest, FigureLeavesUnseenWhenTheMonitorsChange) {
    struct Change {
        const char* name;
        std::vector<MonitorArea> after;
        bool announced;
    };
    const Change changes[] = {
        {"its monitor removed", {{PRIMARY}}, true},
        {"its monitor moved", {{PRIMARY}, {LEFT_OF_PRIMARY}}, true},
        {"its monitor rescaled", {{PRIMARY}, {RIGHT_OF_PRIMARY, 192}}, false},
    };
    struct Kind {
        Script script;
        bool ladder;
    };
    const Kind kinds[] = {{Script::SignChange, false},
                          {Script::LadderVisit, true},
                          {Script::Sparkle, true},
                          {Script::Placard, false}};
    for (const Change& change : changes) {
        for (const Kind& kind : kinds) {
            SCOPED_TRACE(testing::Message() << change.name << ", script " << int(kind.script));
            FakeMonitors monitors({{PRIMARY}, {RIGHT_OF_PRIMARY}});
            ResetScheduler();
            // Before the face change, signs show the old face and get the face-change walk.
            clock.Set(kind.script == Script::SignChange ? LocalTime(2001, 10, 1)
                                                        : LocalTime(2005, 6, 1));
            srand(SeedForLadderDraws({kind.ladder}));
            WalkStage stage(1300, 250);
            const int gdiObjects = LiveGdiObjects();
            Actor* figure = nullptr;
            for (int tick = 0; tick < 600 && !figure; ++tick) {
                RunTicks(1);
                figure = FigureOut(kind.script);
            }
            ASSERT_NE(figure, nullptr);
            RunTicks(6);
            const HWND window = figure->Window();
            ASSERT_TRUE(IsWindowVisible(window));

            monitors.Lay(change.after);
            if (change.announced) {
                SendMessageA(mainWindowHandle, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
            }
            int ticks = 1;
            for (RunTick(); IsWindowVisible(window) && ticks < 21; ++ticks) {
                PumpMessages();
                RunTick();
            }
            EXPECT_TRUE(change.announced ? ticks == 1 : ticks <= 20) << ticks;
            EXPECT_FALSE(IsWindowVisible(window));
            ASSERT_EQ(ObjectForWindow(window), figure) << "gone before its close came";
            EXPECT_EQ(figure->SavedBackground(), nullptr) << "could paint an old desktop";
            PumpMessages();
            EXPECT_TRUE(Figures().empty());
            EXPECT_EQ(busySign, nullptr);
            EXPECT_NE(stage.Sign()->State(), SIGN_CHANGING);
            EXPECT_EQ(LiveGdiObjects(), gdiObjects);
        }
    }
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
