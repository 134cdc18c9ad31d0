// Figures come and go all day and run for minutes: none may leave a GDI object behind.
#include <gtest/gtest.h>

#include <cmath>

#include "app/MainWindow.h"
#include "gfx/QuietSettings.h"
#include "support/ApiCounter.h"
#include "support/FakeQuietSettings.h"
#include "support/ScriptedActor.h"
#include "support/WalkStage.h"

namespace {
// Walks, stands, jumps, changes shape (on, off, one that cannot load) and skips frames.
void PlayMixedScript(ScriptedActor& actor, int ticks) {
    for (int tick = 0; tick < ticks; ++tick) {
        const int phase = tick % 60;
        int32_t frame = phase % 4 == 0 ? -1 : FRAME_FIGURE;
        if (phase < 10) {
            frame = FRAME_SHAPED + phase % 3;
        } else if (phase == 21 || phase == 22 || phase == 30) {
            frame = phase == 21 ? FRAME_WIDE : phase == 22 ? FRAME_TALL : FRAME_MISSING;
        }
        actor.ShowAt(frame, 200 + 3 * (tick % 97) + 0.5 + (phase == 40 ? 300 : 0),
                     250 + 40 * std::sin(tick / 10.0));
        if (tick % 16 == 0) {
            PumpMessages();
        }
    }
    PumpMessages();
}

TEST(LeakTest, AThousandFiguresAndThousandsOfFramesLeaveNothingBehind) {
    const HWND target = CreateTestWindow({"Target", 100, 100, 700, 500});
    BringToFront(target);
    const std::vector<int32_t> regions = {-1, -1, -1, -1, -1, 5003, 0, 4999};
    FakeQuietSettings quiet;
    const int before = LiveGdiObjects();
    ScriptedActor* actor = LaunchScriptedActor(nullptr, target, regions);
    PlayMixedScript(*actor, 120);
    const int running = LiveGdiObjects();
    PlayMixedScript(*actor, 1000);
    EXPECT_EQ(LiveGdiObjects(), running);
    PostMessageA(actor->Window(), WM_SPRITE_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_EQ(LiveGdiObjects(), before);

    for (int life = 0; life < 1000; ++life) {
        actor = LaunchScriptedActor(nullptr, target, regions);
        // Some never show a frame, some end holding a shape; closed either way.
        PlayMixedScript(*actor, life % 7);
        if (life % 2 == 0) {
            PostMessageA(actor->Window(), WM_SPRITE_CLOSE, 0, 0);
        } else {
            // Closed by its own Tick: the user turned animations off.
            quiet.Answer(false, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
            ReadQuietSettings();
            actor->Tick();
            quiet.Answer(true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
            ReadQuietSettings();
        }
        PumpMessages();
        ASSERT_TRUE(handleRegistry.Empty()) << "life " << life;
    }
    EXPECT_EQ(LiveGdiObjects(), before);
    DestroyWindow(target);
}

// What the figures share while any is out goes with the last, also when the program quits.
TEST(LeakTest, QuittingInTheMiddleOfWalksLeavesNothingBehind) {
    const HWND target = CreateTestWindow({"Target", 100, 100, 700, 500});
    BringToFront(target);
    const int before = LiveGdiObjects();
    PlayMixedScript(*LaunchScriptedActor(nullptr, target), 45);
    PlayMixedScript(*LaunchScriptedActor(nullptr, target), 25);
    ASSERT_GT(LiveGdiObjects(), before);

    DestroyWindow(mainWindowHandle);
    EXPECT_EQ(LiveGdiObjects(), before);
    ASSERT_TRUE(RestartMainWindow());
    DestroyWindow(target);
}

}  // namespace
