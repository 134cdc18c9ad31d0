// Figures and signs on desktops of several monitors and scales, changing under the program: a
// figure comes in over its own monitor's left edge and never shows on a neighbour, a sign
// takes the scale of its target's monitor, and a figure leaves when the monitors change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "actors/Scheduler.h"
#include "app/MainWindow.h"
#include "gfx/Clock.h"
#include "support/ApiCounter.h"
#include "support/WalkStage.h"

namespace {
constexpr RECT PRIMARY = {0, 0, 1024, 768};
constexpr RECT RIGHT_OF_PRIMARY = {1024, 0, 2048, 768};
constexpr RECT LEFT_OF_PRIMARY = {-1024, 0, 0, 768};

class MonitorLayoutTest : public testing::Test {
protected:
    void SetUp() override { ResetScheduler(); }
    void TearDown() override { ResetScheduler(); }

    FakeClock clock{LocalTime(2005, 6, 1)};
};

// The ladder visit, whose walk out shows where a figure leaves its monitor. Checked after
// every move and every new shape, not only between ticks.
TEST_F(MonitorLayoutTest, FigureEntersAndLeavesOverItsOwnMonitorsLeftEdgeAndShowsNowhereElse) {
    const struct {
        const char* name;
        std::vector<MonitorArea> monitors;
        int signX, signY;
        int home;  // the sign's monitor, or -1 when its sign must get no figure
    } layouts[] = {
        {"sign on a monitor right of the primary", {{PRIMARY}, {RIGHT_OF_PRIMARY}}, 1224, 250, 1},
        {"sign on a monitor at negative x", {{PRIMARY}, {LEFT_OF_PRIMARY}}, -824, 250, 1},
        {"sign low on a shorter monitor", {{PRIMARY}, {{1024, 0, 2048, 600}}}, 1124, 480, 1},
        {"sign straddling, mostly on the right", {{PRIMARY}, {RIGHT_OF_PRIMARY}}, 1000, 250, -1},
        {"sign left of the leftmost monitor", {{PRIMARY}, {LEFT_OF_PRIMARY}}, -1100, 250, -1},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        FakeMonitors monitors(layout.monitors);
        ResetScheduler();
        srand(SeedForLadderDraws({true}));
        WalkStage stage(layout.signX, layout.signY);
        const RECT home = layout.monitors[std::max(layout.home, 0)].bounds;
        int shownElsewhere = 0;
        WatchWindowChanges([&](HWND window) {
            RECT area, box, outside;
            if (KindForWindow(window) == KIND_ACTOR && IsWindowVisible(window)) {
                GetWindowRect(window, &area);
                if (GetWindowRgnBox(window, &box) != ERROR) {
                    OffsetRect(&box, area.left, area.top);
                    area = box;
                }
                shownElsewhere += SubtractRect(&outside, &area, &home);
            }
        });
        const auto traces = RecordWalks(stage, layout.home < 0 ? 30 : 1400);
        WatchWindowChanges(nullptr);
        EXPECT_EQ(shownElsewhere, 0);
        if (layout.home < 0) {
            EXPECT_TRUE(traces.empty());
            continue;
        }
        const ActorTrace* walk = FindTrace(traces, Script::LadderVisit);
        ASSERT_NE(walk, nullptr);
        ASSERT_NE(walk->closedTick, 0) << "still out";
        EXPECT_NE(FindTrace(traces, Script::Sparkle), nullptr);
        // One step in from its first frame's width, 183, beyond the edge; out until it is gone.
        EXPECT_EQ(walk->steps.front().origin, (PointD{home.left - 177.0, layout.signY - 2.0}));
        const RectI last = walk->steps.back().frameRect;
        EXPECT_TRUE(last.x + last.width <= home.left && last.x + last.width > home.left - 12);
    }
}

// A sign belongs to the monitor holding its target's top-left corner: it takes that monitor's
// scale as soon as the target gets there, hidden or shown, and keeps it while the target
// stays, even where the sign itself hangs over a neighbour of another scale.
TEST_F(MonitorLayoutTest, SignTakesTheScaleOfTheMonitorHoldingItsTargetsCorner) {
    const struct {
        const char* name;
        std::vector<MonitorArea> monitors;
        int targetHeight;
        std::vector<std::tuple<int, int, bool>> moves;  // target x, scale, shown
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMonitors monitors(c.monitors);
        lastLaunchTime = CurrentTime();
        WalkStage stage(300, 250, 1, 0, c.targetHeight);
        SignWindow* sign = stage.Sign();
        ASSERT_NE(sign, nullptr);
        for (const auto& [x, scale, shown] : c.moves) {
            SCOPED_TRACE(x);
            SetWindowPos(stage.Target(), nullptr, x, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            RunTicks(1);
            EXPECT_EQ(sign->Scale(), scale);
            EXPECT_EQ(IsWindowVisible(sign->Window()) != FALSE, shown);
            EXPECT_TRUE(!shown || sign->PlacedPosition().x == x - 122 * scale);
            EXPECT_TRUE(WindowHasShape(sign->Window(), SIGN_SHAPE_REGION, scale));
            int changes = 0;
            for (int tick = 0; tick < 100; ++tick) {
                RunTicks(1);
                changes += sign->Scale() != scale;
            }
            EXPECT_EQ(changes, 0);
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
    const struct {
        const char* name;
        std::vector<MonitorArea> after;
        bool announced;
    } changes[] = {
        {"its monitor removed", {{PRIMARY}}, true},
        {"its monitor moved", {{PRIMARY}, {LEFT_OF_PRIMARY}}, true},
        {"its monitor rescaled", {{PRIMARY}, {RIGHT_OF_PRIMARY, 192}}, false},
    };
    for (const auto& change : changes) {
        for (const Script script :
             {Script::SignChange, Script::LadderVisit, Script::Sparkle, Script::Placard}) {
            SCOPED_TRACE(testing::Message() << change.name << ", script " << int(script));
            FakeMonitors monitors({{PRIMARY}, {RIGHT_OF_PRIMARY}});
            ResetScheduler();
            // Before the face change, signs show the old face and get the face-change walk.
            clock.Set(LocalTime(script == Script::SignChange ? 2001 : 2005, 10, 1));
            srand(SeedForLadderDraws({script == Script::LadderVisit || script == Script::Sparkle}));
            WalkStage stage(1300, 250);
            const int gdiObjects = LiveGdiObjects();
            Actor* figure = nullptr;
            for (int tick = 0; tick < 600 && !figure; ++tick) {
                RunTicks(1);
                figure = FigureOut(script);
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
}  // namespace
