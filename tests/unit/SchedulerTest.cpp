// When the tick sends a figure to the sign in front, and which one: one at a time, ten
// seconds apart, the busy hour, the face-change date, the runtime's draw, the signs that
// get none, and launches that fail on the way.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "actors/Scheduler.h"
#include "app/Clock.h"
#include "app/MainWindow.h"
#include "support/ApiCounter.h"
#include "support/WalkStage.h"

namespace {
bool failNothrowAllocations = false;
}  // namespace

// The program allocates its figures without exceptions; this lets a test make that fail.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failNothrowAllocations) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

namespace {
// The first moment the face change is due: 10 September 2001, 00:00, daylight-saving time.
time_t FaceChangeStartTime() {
    std::tm start = {};
    start.tm_mday = 10;
    start.tm_mon = 8;
    start.tm_year = 101;
    start.tm_isdst = 1;
    return std::mktime(&start);
}

Script OnlyFigureOut() {
    Script found = Script::Unknown;
    int count = 0;
    handleRegistry.Walk([&](HWND, ScreenWindow* object) {
        if (dynamic_cast<Actor*>(object)) {
            found = ScriptOf(object);
            ++count;
        }
    });
    return count == 1 ? found : Script::Unknown;
}

HWND FigureWindow() {
    HWND found = nullptr;
    handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
        if (!found && dynamic_cast<Actor*>(object)) {
            found = window;
        }
    });
    return found;
}

class SchedulerTest : public testing::Test {
protected:
    void SetUp() override { ResetScheduler(); }

    void TearDown() override {
        failNothrowAllocations = false;
        DestroyAllSprites();
        ResetScheduler();
    }

    static void ResetScheduler() {
        busySign = nullptr;
        lastLaunchTime = 0;
    }

    // Signs made now show the new face; the script depends on the draw alone.
    FakeClock clock{LocalTime(2005, 6, 1)};
};

TEST_F(SchedulerTest, SendsOneFigureAtATimeTenSecondsAfterTheLastLaunchOrEnd) {
    srand(SeedForLadderDraws({false, false}));
    WalkStage stage;
    const time_t start = clock.Now();

    // The first figure may go on the first tick that finds the sign placed.
    RunTicks(1);
    EXPECT_EQ(OnlyFigureOut(), Script::Placard);
    EXPECT_EQ(busySign, stage.SignHandle());
    EXPECT_EQ(lastLaunchTime, start);

    // While it is out nobody else goes, however long it takes.
    clock.Set(start + 11);
    RunTicks(3);
    EXPECT_EQ(FiguresOut(), 1);

    // A figure that walked 25 s: the next one follows no sooner than 10 s after it left.
    clock.Set(start + 25);
    DestroyWindow(FigureWindow());
    PumpMessages();
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, start + 25);
    clock.Set(start + 34);
    RunTicks(3);
    EXPECT_EQ(FiguresOut(), 0);
    EXPECT_EQ(lastLaunchTime, start + 25);
    clock.Set(start + 35);
    RunTicks(1);
    EXPECT_EQ(OnlyFigureOut(), Script::Placard);
    EXPECT_EQ(lastLaunchTime, start + 35);
}

TEST_F(SchedulerTest, AFigureOutForAnHourNoLongerHoldsTheOthersBack) {
    srand(SeedForLadderDraws({false, false, false}));
    WalkStage stage;
    const time_t start = clock.Now();
    RunTicks(1);
    const HWND first = FigureWindow();
    ASSERT_NE(first, nullptr);

    clock.Set(start + 3599);
    RunTicks(2);
    EXPECT_EQ(FiguresOut(), 1);

    clock.Set(start + 3600);
    RunTicks(1);
    EXPECT_EQ(FiguresOut(), 2);
    EXPECT_EQ(busySign, stage.SignHandle());
    EXPECT_EQ(lastLaunchTime, start + 3600);

    // The first one's end frees the scheduler although the second is still out.
    clock.Set(start + 3605);
    DestroyWindow(first);
    PumpMessages();
    EXPECT_EQ(FiguresOut(), 1);
    EXPECT_EQ(busySign, nullptr);
    EXPECT_EQ(lastLaunchTime, start + 3605);
    clock.Set(start + 3615);
    RunTicks(1);
    EXPECT_EQ(FiguresOut(), 2);
}

TEST_F(SchedulerTest, FaceChangeGoesOnlyToOldFacesAfterItsDateWithoutADraw) {
    const time_t due = FaceChangeStartTime();
    std::tm programs = FaceChangeStart;
    EXPECT_EQ(std::mktime(&programs), due);

    struct Case {
        const char* what;
        time_t now;
        Script expected;
    };
    // Signs made before 4 November 2001 show the old face, later ones the new face. The
    // seed makes the draw a placard stroll wherever a draw is made.
    const Case cases[] = {
        {"old face, the day before", due - 86400, Script::Placard},
        {"old face, on the very second", due, Script::Placard},
        {"old face, one second later", due + 1, Script::SignChange},
        {"old face, weeks later", LocalTime(2001, 11, 1), Script::SignChange},
        {"new face", LocalTime(2001, 11, 5), Script::Placard},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetScheduler();
        clock.Set(c.now);
        const unsigned seed = SeedForLadderDraws({false});
        srand(seed);
        WalkStage stage;
        RunTicks(1);
        EXPECT_EQ(OnlyFigureOut(), c.expected);
        // The face change draws nothing: the generator is where the seed left it.
        uint32_t state = seed;
        const int firstDraw = NextRand(state);
        const int secondDraw = NextRand(state);
        EXPECT_EQ(rand(), c.expected == Script::SignChange ? firstDraw : secondDraw);
    }
}

TEST_F(SchedulerTest, DrawsTheScriptFromTheRuntimeGeneratorAboutOneLadderInThree) {
    WalkStage stage;
    const unsigned seed = 20010910;
    srand(seed);
    uint32_t predicted = seed;
    const int liveBefore = LiveGdiObjects();

    constexpr int LAUNCHES = 300;
    int ladders = 0;
    for (int i = 0; i < LAUNCHES; ++i) {
        clock.Advance(10);
        RunTicks(1);
        const Script expected =
            NextRand(predicted) % 100 < 34 ? Script::LadderVisit : Script::Placard;
        ASSERT_EQ(OnlyFigureOut(), expected) << "launch " << i;
        ladders += expected == Script::LadderVisit ? 1 : 0;
        DestroyWindow(FigureWindow());
        PumpMessages();
    }
    EXPECT_NEAR(static_cast<double>(ladders) / LAUNCHES, 0.34, 0.06);
    EXPECT_EQ(LiveGdiObjects(), liveBefore);
}

TEST_F(SchedulerTest, SignInTheMiddleOfAFaceChangeGetsNoLadderButDrawsAgainNextTick) {
    clock.Set(LocalTime(2001, 10, 15));
    WalkStage stage;
    SendMessageA(stage.SignHandle(), WM_SIGN_BEGIN_CHANGE, 0, 0);
    ASSERT_EQ(stage.Sign()->State(), SIGN_CHANGING);
    srand(SeedForLadderDraws({true, true, false}));

    RunTicks(2);
    EXPECT_EQ(FiguresOut(), 0);
    EXPECT_EQ(lastLaunchTime, 0);
    EXPECT_EQ(busySign, nullptr);
    RunTicks(1);
    EXPECT_EQ(OnlyFigureOut(), Script::Placard);
    EXPECT_EQ(lastLaunchTime, clock.Now());
}

TEST_F(SchedulerTest, HiddenSignsAndSignsOverTheLeftEdgeGetNoFigure) {
    {
        SCOPED_TRACE("sign at x = -1");
        WalkStage stage(-1, 250);
        ASSERT_EQ(stage.Sign()->PlacedPosition().x, -1);
        for (int i = 0; i < 30; ++i) {
            clock.Advance(5);
            RunTicks(1);
        }
        EXPECT_EQ(FiguresOut(), 0);
        EXPECT_EQ(lastLaunchTime, 0);
    }
    {
        SCOPED_TRACE("sign at x = 0");
        ResetScheduler();
        WalkStage stage(0, 250);
        RunTicks(1);
        EXPECT_EQ(FiguresOut(), 1);
    }
    {
        SCOPED_TRACE("hidden sign");
        ResetScheduler();
        WalkStage stage;
        // Too low a target hides its sign; it stays in front all the same.
        SetWindowPos(stage.Target(), nullptr, 0, 0, 300, 60,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (int i = 0; i < 30; ++i) {
            clock.Advance(5);
            RunTicks(1);
        }
        ASSERT_EQ(GetForegroundWindow(), stage.Target());
        EXPECT_TRUE(stage.Sign()->PlacedFlags() & SWP_HIDEWINDOW);
        EXPECT_EQ(FiguresOut(), 0);
        EXPECT_EQ(lastLaunchTime, 0);

        SetWindowPos(stage.Target(), nullptr, 0, 0, 300, 200,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RunTicks(1);
        EXPECT_EQ(FiguresOut(), 1);
    }
}

TEST_F(SchedulerTest, FailedAllocationStampsNothingAndFailedWindowStampsTheTime) {
    WalkStage stage;

    failNothrowAllocations = true;
    ScheduleWalker(stage.Sign(), stage.Target());
    failNothrowAllocations = false;
    EXPECT_EQ(FiguresOut(), 0);
    EXPECT_EQ(lastLaunchTime, 0);
    EXPECT_EQ(busySign, nullptr);

    // A second sign on the same target, made by a main window that is gone by the time a
    // figure is sent: the figure's window, owned by it, cannot be created.
    TestWindowOptions options;
    options.title = "Stand-in main window";
    options.style = WS_POPUP;
    HWND standIn = CreateTestWindow(options);
    auto* orphan = new SignWindow;
    orphan->SetKind(KIND_SIGN);
    ASSERT_TRUE(orphan->Create(standIn, stage.Target()));
    orphan->Tick();
    DestroyWindow(standIn);
    PumpMessages();
    ASSERT_EQ(orphan->PlacedPosition(), (PointD{300, 250}));

    const int liveBefore = LiveGdiObjects();
    const size_t entriesBefore = handleRegistry.Size();
    ScheduleWalker(orphan, stage.Target());
    EXPECT_EQ(handleRegistry.Size(), entriesBefore);
    EXPECT_EQ(LiveGdiObjects(), liveBefore);
    EXPECT_EQ(lastLaunchTime, clock.Now());
    EXPECT_EQ(busySign, nullptr);

    // With the busy hour over, a failed window leaves the busy sign as it was.
    clock.Advance(3600);
    busySign = stage.SignHandle();
    lastLaunchTime = clock.Now() - 3600;
    ScheduleWalker(orphan, stage.Target());
    EXPECT_EQ(busySign, stage.SignHandle());
    EXPECT_EQ(lastLaunchTime, clock.Now());
    EXPECT_EQ(handleRegistry.Size(), entriesBefore);
}
}  // namespace
