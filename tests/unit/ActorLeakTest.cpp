// Figures run for minutes and come and go all day: none may leave GDI objects behind.
#include <gtest/gtest.h>

#include <cmath>

#include "support/ApiCounter.h"
#include "support/ScriptedActor.h"
#include "support/TestSupport.h"

namespace {
class ActorLeakTest : public testing::Test {
protected:
    void SetUp() override {
        TestWindowOptions options;
        options.x = 100;
        options.y = 100;
        options.width = 700;
        options.height = 500;
        target = CreateTestWindow(options);
        BringToFront(target);
    }

    void TearDown() override {
        DestroyAllSprites();
        DestroyWindow(target);
        PumpMessages();
    }

    HWND target = nullptr;
};

// Walks, stands, jumps, changes shape and skips frames, the way the scripts do.
void PlayMixedScript(ScriptedActor& actor, int ticks) {
    for (int tick = 0; tick < ticks; ++tick) {
        const int phase = tick % 60;
        const double x = 200 + 3 * (tick % 97) + 0.5;
        const double y = 250 + 40 * std::sin(tick / 10.0);
        int32_t frame = FRAME_FIGURE;
        if (phase < 10) {
            frame = FRAME_SHAPED + phase % 3;  // shape on, off, missing shape
        } else if (phase == 20) {
            frame = FRAME_WIDE;
        } else if (phase == 21) {
            frame = FRAME_TALL;
        } else if (phase == 30) {
            frame = FRAME_MISSING;
        } else if (phase % 4 == 0) {
            frame = -1;
        }
        actor.Plan(frame, phase == 40 ? x + 300 : x, y);
        actor.Tick();
        if (tick % 16 == 0) {
            PumpMessages();
        }
    }
    PumpMessages();
}
}  // namespace

TEST_F(ActorLeakTest, ThousandsOfFramesKeepTheObjectCountFlat) {
    const int before = LiveGdiObjects();
    ScriptedActor* actor =
        LaunchScriptedActor(nullptr, target, {-1, -1, -1, -1, -1, 5003, 0, 4999});
    ASSERT_NE(actor, nullptr);
    const HWND window = actor->Window();

    PlayMixedScript(*actor, 120);
    const int running = LiveGdiObjects();
    PlayMixedScript(*actor, 3000);
    EXPECT_EQ(LiveGdiObjects(), running);
    ASSERT_TRUE(IsWindow(window));

    PostMessageA(window, WM_SPRITE_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(ActorLeakTest, HundredsOfFiguresComeAndGoWithoutLeaving) {
    const int before = LiveGdiObjects();
    for (int life = 0; life < 300; ++life) {
        ScriptedActor* actor =
            LaunchScriptedActor(nullptr, target, {-1, -1, -1, -1, -1, 5003, 0, 4999});
        ASSERT_NE(actor, nullptr);
        // Some never show a frame, some end while holding a shape.
        PlayMixedScript(*actor, life % 7);
        if (life % 2 == 0) {
            PostMessageA(actor->Window(), WM_SPRITE_CLOSE, 0, 0);
        } else {
            BringToFront(target);
            ShowWindow(target, SW_HIDE);
            actor->Tick();  // the hidden target sends it away
            ShowWindow(target, SW_SHOW);
            BringToFront(target);
        }
        PumpMessages();
        ASSERT_TRUE(handleRegistry.Empty()) << "life " << life;
    }
    EXPECT_EQ(LiveGdiObjects(), before);
}
