// Figures come and go all day and run for minutes: none may leave a GDI object behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/MainWindow.h"
#include "gfx/QuietSettings.h"
#include "support/ApiCounter.h"
#include "support/FakeQuietSettings.h"
#include "support/ScriptedActor.h"
#include "support/WalkStage.h"

namespace {
// Were the counter blind to some kind of object, every check below would pass for nothing.
TEST(LeakTest, CounterFollowsEveryKindOfObjectUntilItIsReleased) {
    const int before = LiveGdiObjects();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    HANDLE loaded = LoadImageA(nullptr, MAKEINTRESOURCEA(32760), IMAGE_BITMAP, 0, 0, 0);
    EXPECT_EQ(LiveGdiObjects(), before + 5);
    ReleaseDC(nullptr, screen);
    DeleteDC(memory);
    DeleteObject(bitmap);
    DeleteObject(bitmap);
    DeleteObject(loaded);
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    DeleteObject(region);
    EXPECT_EQ(LiveGdiObjects(), before);
}

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
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ASSERT_TRUE(CreateMainWindow(GetModuleHandleA(nullptr), SW_HIDE));
    KillTimer(mainWindowHandle, timerId);
    DestroyWindow(target);
}

// Every script and the sparkle, played to their ends with the clock hurried along between
// them. Each walk must leave exactly what was there before, so a leak shows at its first walk.
constexpr int WALKS = 30;

TEST(LeakTest, CompleteWalksLeaveNoGdiObjectOrRegistryEntryBehind) {
    // The first figure changes the old face; after it the scripts are drawn.
    FakeClock clock(LocalTime(2001, 10, 15));
    srand(1234);
    ResetScheduler();
    const int before = LiveGdiObjects();
    std::map<Script, int> walks;
    {
        // At the left screen edge the walks in and out are short.
        WalkStage stage(0, 250);
        const int withSign = LiveGdiObjects();
        for (int i = 0; i < WALKS; ++i) {
            for (const ActorTrace& trace : RecordWalks(stage, 1000)) {
                ASSERT_NE(trace.closedTick, 0) << "walk " << i;
                ++walks[trace.script];
            }
            ASSERT_EQ(handleRegistry.Size(), 1u) << "walk " << i;
            ASSERT_EQ(LiveGdiObjects(), withSign) << "walk " << i;
            clock.Advance(10);
        }
    }
    EXPECT_EQ(walks[Script::SignChange], 1);
    EXPECT_GT(walks[Script::LadderVisit], WALKS / 7);
    EXPECT_EQ(walks[Script::Sparkle], walks[Script::LadderVisit]);
    EXPECT_GT(walks[Script::Placard], WALKS / 2);
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(LiveGdiObjects(), before);
}
}  // namespace
