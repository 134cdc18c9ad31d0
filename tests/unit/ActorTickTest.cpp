// When a figure goes on and when it leaves: its window's birth, the checks of its target, of
// the foreground window and of the animation setting on every tick, a click on it.
#include <gtest/gtest.h>

#include <functional>

#include "app/MainWindow.h"
#include "gfx/QuietSettings.h"
#include "support/ApiCounter.h"
#include "support/FakeQuietSettings.h"
#include "support/ScriptedActor.h"
#include "support/TestSupport.h"

namespace {
// A target, a stand-in for its sign, an unrelated window, and a figure sent to the target
// that has shown its first frame.
class ActorTickTest : public testing::Test {
public:
    void SetUp() override {
        target = CreateTestWindow({"Target", 300, 200, 300, 200});
        sign = CreateTestWindow({"Sign", 178, 200, 122, 98, WS_POPUP | WS_VISIBLE});
        other = CreateTestWindow({"Other", 700, 200, 300, 200});
        BringToFront(target);
        quiet.Answer(true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
        ReadQuietSettings();
        actor = LaunchScriptedActor(sign, target);
        actor->ShowAt(FRAME_SQUARE, 250, 150);
        PumpMessages();
    }
    void TearDown() override {
        DestroyAllSprites();
        for (HWND window : {target, sign, other}) {
            DestroyWindow(window);
        }
    }

    // One tick of the figure; true when it is still out after the posted messages ran.
    bool TickAndStillOut() {
        const HWND window = actor->Window();
        actor->ShowAt(FRAME_SQUARE, 250, 150);
        PumpMessages();
        return IsWindow(window);
    }
    void MoveTarget(int dx, int dy, int grow) {
        RECT rect;
        GetWindowRect(target, &rect);
        MoveWindow(target, rect.left + dx, rect.top + dy, rect.right - rect.left + grow,
                   rect.bottom - rect.top, TRUE);
        PumpMessages();
    }
    // Another sprite of this kind, shown and brought to the front.
    void BringSpriteToFront(int32_t kind) {
        ScriptedActor* second = LaunchScriptedActor(sign, target);
        second->SetKind(kind);
        second->ShowAt(FRAME_SQUARE, 700, 600);
        BringToFront(second->Window());
    }

    HWND target, sign, other;
    ScriptedActor* actor;
    FakeQuietSettings quiet;
};

TEST_F(ActorTickTest, NewFigureWaitsHiddenAndTopMostUntilItsFirstFrame) {
    ScriptedActor* fresh = LaunchScriptedActor(sign, target);
    const HWND window = fresh->Window();
    EXPECT_EQ(KindForWindow(window), KIND_ACTOR);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), mainWindowHandle);
    EXPECT_EQ(fresh->Count(), TEST_FRAME_COUNT);

    // The timer message is a tick; the first frame shows without taking the foreground.
    fresh->Plan(FRAME_SQUARE, 40, 30);
    SendMessageA(window, WM_TIMER, 1, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(fresh->WindowRect(), (RectI{40, 30, 10, 10}));
    EXPECT_EQ(GetForegroundWindow(), target);
}

TEST_F(ActorTickTest, LeavesWhenTheUserLeavesOrChangesTheTarget) {
    const std::pair<const char*, std::function<void(ActorTickTest&)>> cases[] = {
        {"target destroyed", [](ActorTickTest& t) { DestroyWindow(t.target); }},
        {"target minimised", [](ActorTickTest& t) { ShowWindow(t.target, SW_MINIMIZE); }},
        {"target maximised", [](ActorTickTest& t) { ShowWindow(t.target, SW_MAXIMIZE); }},
        {"target hidden", [](ActorTickTest& t) { ShowWindow(t.target, SW_HIDE); }},
        {"target moved right", [](ActorTickTest& t) { t.MoveTarget(1, 0, 0); }},
        {"target moved down", [](ActorTickTest& t) { t.MoveTarget(0, 1, 0); }},
        {"target one pixel wider", [](ActorTickTest& t) { t.MoveTarget(0, 0, 1); }},
        {"another window in front", [](ActorTickTest& t) { BringToFront(t.other); }},
        {"a sign in front", [](ActorTickTest& t) { t.BringSpriteToFront(KIND_SIGN); }},
        {"animations turned off",
         [](ActorTickTest& t) {
             t.quiet.Answer(false, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
             ReadQuietSettings();
         }},
    };
    for (const auto& [what, act] : cases) {
        SCOPED_TRACE(what);
        TearDown();
        SetUp();
        act(*this);
        const HWND window = actor->Window();
        // A second tick before the close is handled only posts it again.
        actor->Tick();
        actor->Tick();
        EXPECT_EQ(actor->NextFrameCalls(), 1);
        PumpMessages();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(ObjectForWindow(window), nullptr);
    }
}

TEST_F(ActorTickTest, GoesOnWhileTheUserStaysWithTheTargetItsSignOrTheFigures) {
    EXPECT_TRUE(TickAndStillOut());
    BringToFront(actor->Window());
    EXPECT_TRUE(TickAndStillOut());
    // Changing the target while it is not in front is no reason to leave...
    BringToFront(sign);
    MoveTarget(5, 0, 0);
    EXPECT_TRUE(TickAndStillOut());
    BringSpriteToFront(KIND_ACTOR);
    MoveTarget(0, 0, 5);
    EXPECT_TRUE(TickAndStillOut());

    // No frame from the script keeps the picture and the origin.
    ResetCallCounts();
    actor->ShowAt(-1, 999, 999);
    EXPECT_EQ(actor->NextFrameCalls(), 6);
    EXPECT_EQ(actor->Origin(), (PointD{250, 150}));
    EXPECT_EQ(CallCount("SetWindowPos") + CallCount("GetDC"), 0);

    // Quiet hours hold back the next figure only.
    quiet.Answer(true, NOTIFICATION_STATE_QUIET_TIME);
    ReadQuietSettings();
    EXPECT_TRUE(TickAndStillOut());

    // ...but once it is back in front, its new rectangle gives the figure away.
    BringToFront(target);
    EXPECT_FALSE(TickAndStillOut());
}

TEST_F(ActorTickTest, ClickOpensTheSponsorsPageAndThePostedCloseEndsTheFigure) {
    SendMessageA(actor->Window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(LastShellRequest().verb, "Open");
    EXPECT_EQ(LastShellRequest().file, SPONSOR_PAGE);
    EXPECT_EQ(LastShellRequest().showCommand, SW_SHOWNORMAL);

    PostMessageA(actor->Window(), WM_SPRITE_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(actor->Window()));
    PumpMessages();
    EXPECT_TRUE(handleRegistry.Empty());
}
}  // namespace
