// When the tick sends a figure to the sign in front, and which: one at a time, ten seconds
// apart, the busy hour, the face-change date, the runtime's draw, the signs that get none and
// the user's quiet settings.
#include <gtest/gtest.h>

#include <cstdlib>

#include "actors/Scheduler.h"
#include "gfx/QuietSettings.h"
#include "support/WalkStage.h"

namespace {
class SchedulerTest : public testing::Test {
protected:
    void SetUp() override { ResetScheduler(); }
    void TearDown() override {
        DestroyAllSprites();
        ResetScheduler();
    }
    size_t FiguresAfterTicks(time_t now, int ticks) {
        clock.Set(now);
        RunTicks(ticks);
        return Figures().size();
    }
    void EndFigure(HWND figure, time_t now) {
        clock.Set(now);
        DestroyWindow(figure);
        PumpMessages();
    }

    // Signs made now show the new face; the script depends on the draw alone.
    FakeClock clock{LocalTime(2005, 6, 1)};
};

// The next figure goes 10 s after the later of the last launch and end, unless the one out
// has been out for an hour; an end frees the scheduler even while another figure is out.
TEST_F(SchedulerTest, SendsOneFigureAtATimeTenSecondsAfterTheLastLaunchOrEnd) {
    srand(SeedForLadderDraws({false, false, false, false}));
    WalkStage stage;
    const time_t start = clock.Now();
    ASSERT_EQ(FiguresAfterTicks(start, 1), 1u);
    EXPECT_EQ(ScriptOf(Figures()[0]), Script::Placard);
    EXPECT_EQ(FiguresAfterTicks(start + 11, 3), 1u);
    EndFigure(Figures()[0]->Window(), start + 25);
    EXPECT_EQ(FiguresAfterTicks(start + 34, 3), 0u);
    ASSERT_EQ(FiguresAfterTicks(start + 35, 1), 1u);

    const HWND first = Figures()[0]->Window();
    EXPECT_EQ(FiguresAfterTicks(start + 35 + 3599, 2), 1u);
    EXPECT_EQ(FiguresAfterTicks(start + 35 + 3600, 1), 2u);
    EndFigure(first, start + 3640);
    EXPECT_EQ(FiguresAfterTicks(start + 3649, 1), 1u);
    EXPECT_EQ(FiguresAfterTicks(start + 3650, 1), 2u);
}

// Signs made before 4 November 2001 show the old face; the face change goes to them strictly
// after 10 September 2001, 00:00 daylight-saving time. Where a draw is made, the seed makes it
// a placard stroll.
TEST_F(SchedulerTest, FaceChangeGoesOnlyToOldFacesAfterItsDate) {
    std::tm start = {0, 0, 0, 10, 8, 101, 0, 0, 1};
    const time_t due = std::mktime(&start);
    for (const auto& [now, expected] : {std::pair{due - 86400, Script::Placard},
                                        {due, Script::Placard},
                                        {due + 1, Script::SignChange},
                                        {LocalTime(2001, 11, 5), Script::Placard}}) {
        SCOPED_TRACE(testing::Message() << now - due << " s after the date");
        ResetScheduler();
        clock.Set(now);
        srand(SeedForLadderDraws({false}));
        WalkStage stage;
        ASSERT_EQ(FiguresAfterTicks(now, 1), 1u);
        EXPECT_EQ(ScriptOf(Figures()[0]), expected);
    }
}

// No figure and no stamp for a hidden sign, here of a target too low to carry it, in front
// all the same; nor while the user asks for calm: no motion, a full-screen program, a
// presentation or quiet hours. The sign follows its window meanwhile, and once the user lets
// them, figures come again.
TEST_F(SchedulerTest, SendsNoFigureToAHiddenSignOrWhileTheUserAsksForCalm) {
    const struct {
        bool animationsOn;
        int state, targetHeight;
        bool sent;
    } cases[] = {
        {true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS, 200, true},
        {true, NOTIFICATION_STATE_BUSY, 200, false},
        {true, NOTIFICATION_STATE_NOT_PRESENT, 200, true},
        {true, NOTIFICATION_STATE_D3D_FULL_SCREEN, 200, false},
        {true, NOTIFICATION_STATE_APP, 200, true},
        {true, NOTIFICATION_STATE_PRESENTATION_MODE, 200, false},
        {true, NOTIFICATION_STATE_QUIET_TIME, 200, false},
        {false, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS, 200, false},
        {true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS, 60, false},
        {true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS, 200, true},
    };
    FakeQuietSettings quiet;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "animations " << c.animationsOn << ", state " << c.state
                                        << ", target " << c.targetHeight << " high");
        ResetScheduler();
        WalkStage stage;
        quiet.Answer(c.animationsOn, c.state);
        ReadQuietSettings();
        SetWindowPos(stage.Target(), nullptr, 440, 260, 300, c.targetHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(FiguresAfterTicks(clock.Now(), 2), c.sent ? 1u : 0u);
        ASSERT_EQ(GetForegroundWindow(), stage.Target());
        EXPECT_EQ(lastLaunchTime, c.sent ? clock.Now() : 0);
        const bool hidden = c.targetHeight < 76;
        EXPECT_EQ((stage.Sign()->PlacedFlags() & SWP_HIDEWINDOW) != 0, hidden);
        EXPECT_TRUE(hidden || stage.Sign()->PlacedPosition() == (PointD{440 - 122, 260}));
    }
}
}  // namespace
