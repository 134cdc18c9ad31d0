// The sign beside its target: placement, face states and clicks.
#include <gtest/gtest.h>

#include <functional>

#include "app/ForegroundWatcher.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/WalkStage.h"

namespace {
class SignWindowTest : public testing::Test {
protected:
    void TearDown() override {
        DestroyAllSprites();
        for (HWND window : targets) {
            DestroyWindow(window);
        }
        PumpMessages();
    }
    SignWindow* Hang(TestWindowOptions options = {}) {
        targets.push_back(CreateTestWindow(options));
        CreateSignFor(targets.back());
        SignWindow* found = nullptr;
        handleRegistry.Walk([&](HWND, ScreenWindow* object) {
            auto* sign = dynamic_cast<SignWindow*>(object);
            found = sign && sign->Target() == targets.back() ? sign : found;
        });
        return found;
    }
    // SetWindowPos calls made by one tick of the sign.
    static int TickCalls(SignWindow* sign) {
        ResetCallCounts();
        sign->Tick();
        PumpMessages();
        return CallCount("SetWindowPos");
    }
    std::vector<HWND> targets;
};

// Its size, shape and face on the screen are watched from outside (ProgramTest).
TEST_F(SignWindowTest, IsCreatedHiddenAndAClickOpensTheSponsorsPage) {
    SignWindow* sign = Hang();
    ASSERT_NE(sign, nullptr);
    EXPECT_FALSE(IsWindowVisible(sign->Window()));
    SendMessageA(sign->Window(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(LastShellRequest().verb, "Open");
    EXPECT_EQ(LastShellRequest().file, SPONSOR_PAGE);
    EXPECT_EQ(LastShellRequest().showCommand, SW_SHOWNORMAL);
}

// One tick after each change of the target: the SetWindowPos calls it costs (only for a
// change of place or flags), and what the sign was last placed with, never taking the focus.
TEST_F(SignWindowTest, FollowsItsTargetAndCallsThePlatformOnlyForChanges) {
    SignWindow* sign = Hang();
    const HWND target = targets[0];
    BringToFront(target);
    const auto move = [target](int x, int y, BOOL repaint = TRUE) {
        return [=] { MoveWindow(target, x, y, 300, 200, repaint); };
    };
    const auto show = [target](int command) { return [=] { ShowWindow(target, command); }; };
    const struct {
        std::function<void()> change;
        int calls, flags, x, y;
        int shown;  // -1: whatever the system does with a minimised owner's windows
    } steps[] = {
        {[] {}, 1, 81, 178, 200, 1},
        {[] {}, 0, 81, 178, 200, 1},
        {move(301, 200), 1, 81, 179, 200, 1},
        {move(301, 199), 1, 81, 179, 199, 1},
        {move(50, 199), 1, 81, -72, 199, 1},
        {show(SW_MAXIMIZE), 1, 145, -72, 199, 0},
        {[] {}, 0, 145, -72, 199, 0},
        {show(SW_RESTORE), 1, 81, -72, 199, 1},
        {show(SW_MINIMIZE), 0, 81, -72, 199, -1},
        {show(SW_RESTORE), 0, 81, -72, 199, 1},
        {show(SW_HIDE), 1, 145, -72, 199, 0},
        {move(420, 260, FALSE), 0, 145, -72, 199, 0},
        {show(SW_SHOWNA), 1, 81, 298, 260, 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(&step - steps);
        step.change();
        PumpMessages();
        const HWND front = GetForegroundWindow();
        EXPECT_EQ(TickCalls(sign), step.calls);
        EXPECT_EQ(GetForegroundWindow(), front);
        EXPECT_EQ(sign->PlacedFlags(), step.flags);
        EXPECT_EQ(sign->PlacedPosition(), (PointD{double(step.x), double(step.y)}));
        RECT rect;
        GetWindowRect(sign->Window(), &rect);
        if (step.shown >= 0) {
            EXPECT_EQ(IsWindowVisible(sign->Window()) != FALSE, step.shown == 1);
            EXPECT_TRUE(!step.shown || (rect.left == step.x && rect.top == step.y));
        }
    }
    EXPECT_FALSE(GetWindowLongA(sign->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// A sign made strictly after the cutover, midnight of 4 November 2001 in local standard time,
// starts with the new face. Every face message in every state: the state, shape and face it
// leaves.
TEST_F(SignWindowTest, StartsWithTheFaceOfItsDayAndFaceMessagesMoveOnlyAlongTheChange) {
    const time_t cutover = FaceChangeCutover();
    const std::tm local = *std::localtime(&cutover);
    EXPECT_EQ(local.tm_year * 10000 + local.tm_mon * 100 + local.tm_mday, 1011004);
    EXPECT_EQ(local.tm_hour, local.tm_isdst > 0 ? 1 : 0);
    const struct {
        int32_t from;
        UINT message;
        int32_t to;
        int shape, face;
    } cases[] = {
        {SIGN_OLD_FACE, WM_SIGN_BEGIN_CHANGE, SIGN_CHANGING, SIGN_RIM_REGION, 4001},
        {SIGN_OLD_FACE, WM_SIGN_COMMIT_CHANGE, SIGN_OLD_FACE, SIGN_SHAPE_REGION, 4001},
        {SIGN_OLD_FACE, WM_SIGN_CANCEL_CHANGE, SIGN_OLD_FACE, SIGN_SHAPE_REGION, 4001},
        {SIGN_CHANGING, WM_SIGN_BEGIN_CHANGE, SIGN_CHANGING, SIGN_RIM_REGION, 4001},
        {SIGN_CHANGING, WM_SIGN_COMMIT_CHANGE, SIGN_NEW_FACE, SIGN_SHAPE_REGION, 4002},
        {SIGN_CHANGING, WM_SIGN_CANCEL_CHANGE, SIGN_OLD_FACE, SIGN_SHAPE_REGION, 4001},
        {SIGN_NEW_FACE, WM_SIGN_BEGIN_CHANGE, SIGN_NEW_FACE, SIGN_SHAPE_REGION, 4002},
        {SIGN_NEW_FACE, WM_SIGN_COMMIT_CHANGE, SIGN_NEW_FACE, SIGN_SHAPE_REGION, 4002},
        {SIGN_NEW_FACE, WM_SIGN_CANCEL_CHANGE, SIGN_NEW_FACE, SIGN_SHAPE_REGION, 4002},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " message " << c.message);
        FakeClock clock(cutover + (c.from == SIGN_OLD_FACE ? -1 : c.from == SIGN_NEW_FACE));
        SignWindow* sign = Hang();
        if (c.from == SIGN_CHANGING) {
            SendMessageA(sign->Window(), WM_SIGN_BEGIN_CHANGE, 0, 0);
        }
        ASSERT_EQ(sign->State(), c.from);
        const int liveBefore = LiveGdiObjects();
        // Cancels arrive posted, the others sent, as the figures deliver them.
        if (c.message == WM_SIGN_CANCEL_CHANGE) {
            PostMessageA(sign->Window(), c.message, 0, 0);
            PumpMessages();
        } else {
            SendMessageA(sign->Window(), c.message, 0, 0);
        }
        EXPECT_EQ(sign->State(), c.to);
        EXPECT_TRUE(WindowHasShape(sign->Window(), c.shape));
        HBITMAP face = static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(c.face), IMAGE_BITMAP, 0, 0, 0));
        EXPECT_EQ(PixelsOf(sign->Bitmap()), PixelsOf(face));
        DeleteObject(face);
        EXPECT_EQ(LiveGdiObjects(), liveBefore);
        DestroyWindow(targets.back());
    }
}
}  // namespace
