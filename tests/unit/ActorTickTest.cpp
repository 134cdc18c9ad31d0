// When a figure goes on and when it leaves: its window's birth, the checks of its target
// and of the foreground window on every tick, a click on it.
#include <gtest/gtest.h>

#include <functional>

#include "app/MainWindow.h"
#include "support/ApiCounter.h"
#include "support/ScriptedActor.h"
#include "support/TestSupport.h"

namespace {
constexpr RECT TARGET_AREA = {300, 200, 600, 400};

// A target with a stand-in for its sign, an unrelated window, and a figure sent to the
// target that has shown its first frame.
class ActorTickTest : public testing::Test {
public:
    void SetUp() override { Build(); }
    void TearDown() override { Clear(); }

    void Build() {
        TestWindowOptions options;
        options.title = "Target";
        options.x = TARGET_AREA.left;
        options.y = TARGET_AREA.top;
        options.width = TARGET_AREA.right - TARGET_AREA.left;
        options.height = TARGET_AREA.bottom - TARGET_AREA.top;
        target = CreateTestWindow(options);
        options.title = "Sign";
        options.x = 178;
        options.width = 122;
        options.height = 98;
        options.style = WS_POPUP | WS_VISIBLE;
        sign = CreateTestWindow(options);
        options.title = "Other";
        options.x = 700;
        options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        other = CreateTestWindow(options);
        BringToFront(target);

        actor = LaunchScriptedActor(sign, target);
        ASSERT_NE(actor, nullptr);
        actorWindow = actor->Window();
        actor->ShowAt(FRAME_SQUARE, 250, 150);
        PumpMessages();
        ASSERT_TRUE(IsWindowVisible(actorWindow));
    }

    void Clear() {
        DestroyAllSprites();
        for (HWND window : {target, sign, other}) {
            if (IsWindow(window)) {
                DestroyWindow(window);
            }
        }
        PumpMessages();
    }

    // One tick of the figure; true when it is still out after the posted messages ran.
    bool TickAndStillOut() {
        if (!IsWindow(actorWindow)) {
            return false;
        }
        actor->Plan(FRAME_SQUARE, 250, 150);
        actor->Tick();
        PumpMessages();
        return IsWindow(actorWindow);
    }

    void MoveTargetBy(int dx, int dy, int grow) {
        RECT rect;
        GetWindowRect(target, &rect);
        SetWindowPos(target, nullptr, rect.left + dx, rect.top + dy, rect.right - rect.left + grow,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
    }

    // A second figure of the given kind, shown and brought to the front.
    HWND BringOtherSpriteToFront(int32_t kind) {
        ScriptedActor* second = LaunchScriptedActor(sign, target);
        second->SetKind(kind);
        second->ShowAt(FRAME_SQUARE, 700, 600);
        BringToFront(second->Window());
        return second->Window();
    }

    HWND target = nullptr;
    HWND sign = nullptr;
    HWND other = nullptr;
    ScriptedActor* actor = nullptr;
    HWND actorWindow = nullptr;
};
}  // namespace

TEST_F(ActorTickTest, NewFigureWaitsHiddenAndTopMostWithItsFramesLoaded) {
    DestroyAllSprites();
    ScriptedActor* fresh = LaunchScriptedActor(sign, target);
    ASSERT_NE(fresh, nullptr);
    const HWND window = fresh->Window();

    EXPECT_EQ(ObjectForWindow(window), fresh);
    EXPECT_EQ(KindForWindow(window), KIND_ACTOR);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), mainWindowHandle);
    EXPECT_EQ(fresh->Count(), TEST_FRAME_COUNT);
    EXPECT_NE(fresh->FrameAt(FRAME_FIGURE)->Mask(), nullptr);
    EXPECT_EQ(fresh->StartTargetRect().left, TARGET_AREA.left);
    EXPECT_EQ(fresh->StartTargetRect().bottom, TARGET_AREA.bottom);
    EXPECT_EQ(fresh->WindowRect(), RectI{});

    // The timer message is a tick, and the first frame shows the window without taking
    // the foreground from the target.
    fresh->Plan(FRAME_SQUARE, 40, 30);
    SendMessageA(window, WM_TIMER, 1, 0);
    PumpMessages();
    EXPECT_EQ(fresh->NextFrameCalls(), 1);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(fresh->WindowRect(), (RectI{40, 30, 10, 10}));
    EXPECT_EQ(GetForegroundWindow(), target);
}

TEST_F(ActorTickTest, LeavesWhenTheUserLeavesOrChangesTheTarget) {
    struct Case {
        const char* what;
        std::function<void(ActorTickTest&)> act;
    };
    const Case cases[] = {
        {"target destroyed", [](ActorTickTest& t) { DestroyWindow(t.target); }},
        {"target minimised", [](ActorTickTest& t) { ShowWindow(t.target, SW_MINIMIZE); }},
        {"target maximised", [](ActorTickTest& t) { ShowWindow(t.target, SW_MAXIMIZE); }},
        {"target hidden", [](ActorTickTest& t) { ShowWindow(t.target, SW_HIDE); }},
        {"target moved one pixel", [](ActorTickTest& t) { t.MoveTargetBy(1, 0, 0); }},
        {"target moved down", [](ActorTickTest& t) { t.MoveTargetBy(0, 1, 0); }},
        {"target one pixel wider", [](ActorTickTest& t) { t.MoveTargetBy(0, 0, 1); }},
        {"another window in front", [](ActorTickTest& t) { BringToFront(t.other); }},
        {"a sprite that is no figure in front",
         [](ActorTickTest& t) { t.BringOtherSpriteToFront(KIND_SIGN); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Clear();
        Build();
        c.act(*this);
        PumpMessages();

        const int framesAsked = actor->NextFrameCalls();
        actor->Tick();
        actor->Tick();  // a second tick before the close is handled only posts it again
        EXPECT_EQ(actor->NextFrameCalls(), framesAsked);
        PumpMessages();
        EXPECT_FALSE(IsWindow(actorWindow));
        EXPECT_EQ(ObjectForWindow(actorWindow), nullptr);
    }
}

TEST_F(ActorTickTest, GoesOnWhileTheUserStaysWithTheTargetItsSignOrTheFigures) {
    EXPECT_TRUE(TickAndStillOut());

    BringToFront(actorWindow);
    EXPECT_TRUE(TickAndStillOut());

    // Moving the target while it is not in front is no reason to leave...
    BringToFront(sign);
    MoveTargetBy(5, 0, 0);
    EXPECT_TRUE(TickAndStillOut());

    BringOtherSpriteToFront(KIND_ACTOR);
    MoveTargetBy(0, 0, 5);
    EXPECT_TRUE(TickAndStillOut());
    EXPECT_GE(actor->NextFrameCalls(), 5);

    // ...but once it is back in front, its new rectangle gives the figure away.
    BringToFront(target);
    EXPECT_FALSE(TickAndStillOut());
}

TEST_F(ActorTickTest, NoFrameFromTheScriptKeepsPictureAndOrigin) {
    const PointD origin = actor->Origin();
    const RectI shown = actor->WindowRect();
    ResetCallCounts();
    actor->Plan(-1, 999, 999);
    actor->Tick();
    PumpMessages();
    EXPECT_EQ(actor->NextFrameCalls(), 2);
    EXPECT_EQ(actor->Origin(), origin);
    EXPECT_EQ(actor->WindowRect(), shown);
    EXPECT_EQ(CallCount("SetWindowPos"), 0);
    EXPECT_EQ(CallCount("GetDC"), 0);
    EXPECT_TRUE(IsWindowVisible(actorWindow));
}

TEST_F(ActorTickTest, ClickOpensTheSponsorsPage) {
    SendMessageA(actorWindow, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(LastShellRequest().verb, "Open");
    EXPECT_EQ(LastShellRequest().file, SPONSOR_PAGE);
    EXPECT_EQ(LastShellRequest().showCommand, SW_SHOWNORMAL);
    EXPECT_TRUE(IsWindow(actorWindow));
}

TEST_F(ActorTickTest, PostedCloseMessageEndsTheFigure) {
    PostMessageA(actorWindow, WM_SPRITE_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(actorWindow));
    PumpMessages();
    EXPECT_FALSE(IsWindow(actorWindow));
    EXPECT_TRUE(handleRegistry.Empty());
}
