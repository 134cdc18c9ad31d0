// The sign beside its target: placement and face states. Its size, shape and face on the
// screen and its clicks are watched from outside (ProgramTest).
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "app/ForegroundWatcher.h"
#include "support/ApiCounter.h"
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
    // A new target's sign, made as the watcher makes it: hidden until its first tick.
    SignWindow* Hang() {
        targets.push_back(CreateTestWindow());
        CreateSignFor(targets.back());
        SignWindow* found = nullptr;
        handleRegistry.Walk([&](HWND, ScreenWindow* object) {
            auto* sign = dynamic_cast<SignWindow*>(object);
            found = sign && sign->Target() == targets.back() ? sign : found;
        });
        EXPECT_FALSE(IsWindowVisible(found->Window()));
        return found;
    }
    std::vector<HWND> targets;
};

// One tick after each change of the target: the SetWindowPos calls it costs (only for a
// change of place or flags), and what the sign was last placed with, never taking the focus.
// A target that the system cloaks counts as hidden.
TEST_F(SignWindowTest, FollowsItsTargetAndCallsThePlatformOnlyForChanges) {
    FakeFrames frames(0);
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
        {[&frames, target] { frames.Cloak(target); }, 1, 145, 298, 260, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(&step - steps);
        step.change();
        PumpMessages();
        const HWND front = GetForegroundWindow();
        ResetCallCounts();
        sign->Tick();
        PumpMessages();
        EXPECT_EQ(CallCount("SetWindowPos"), step.calls);
        EXPECT_EQ(GetForegroundWindow(), front);
        EXPECT_EQ(sign->PlacedFlags(), step.flags);
        EXPECT_EQ(sign->PlacedPosition(), (PointD{double(step.x), double(step.y)}));
        RECT rect;
        GetWindowRect(sign->Window(), &rect);
        EXPECT_TRUE(step.shown < 0 || (IsWindowVisible(sign->Window()) != FALSE) == step.shown);
        EXPECT_TRUE(step.shown != 1 || (rect.left == step.x && rect.top == step.y));
    }
    EXPECT_FALSE(GetWindowLongA(sign->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// A sign made strictly after the cutover, midnight of 4 November 2001 in local standard time,
// starts with the new face. Every face message in every state: the state, face and shape it
// leaves; the face on the screen is the walks' to check.
TEST_F(SignWindowTest, StartsWithTheFaceOfItsDayAndFaceMessagesMoveOnlyAlongTheChange) {
    const time_t cutover = FaceChangeCutover();
    const std::tm local = *std::localtime(&cutover);
    EXPECT_EQ(local.tm_year * 10000 + local.tm_mon * 100 + local.tm_mday, 1011004);
    EXPECT_EQ(local.tm_hour, local.tm_isdst > 0 ? 1 : 0);
    const UINT messages[] = {WM_SIGN_BEGIN_CHANGE, WM_SIGN_COMMIT_CHANGE, WM_SIGN_CANCEL_CHANGE};
    // The state that each of those messages leaves, by the state it finds.
    const std::pair<int32_t, std::array<int32_t, 3>> states[] = {
        {SIGN_OLD_FACE, {SIGN_CHANGING, SIGN_OLD_FACE, SIGN_OLD_FACE}},
        {SIGN_CHANGING, {SIGN_CHANGING, SIGN_NEW_FACE, SIGN_OLD_FACE}},
        {SIGN_NEW_FACE, {SIGN_NEW_FACE, SIGN_NEW_FACE, SIGN_NEW_FACE}}};
    for (const auto& [from, after] : states) {
        for (size_t m = 0; m < 3; ++m) {
            const int32_t to = after[m];
            SCOPED_TRACE(testing::Message() << "from " << from << " message " << messages[m]);
            FakeClock clock(cutover + (from == SIGN_OLD_FACE ? -1 : from == SIGN_NEW_FACE));
            SignWindow* sign = Hang();
            if (from == SIGN_CHANGING) {
                SendMessageA(sign->Window(), WM_SIGN_BEGIN_CHANGE, 0, 0);
            }
            ASSERT_EQ(sign->State(), from);
            // Cancels arrive posted, the others sent, as the figures deliver them.
            if (messages[m] == WM_SIGN_CANCEL_CHANGE) {
                PostMessageA(sign->Window(), messages[m], 0, 0);
                PumpMessages();
            } else {
                SendMessageA(sign->Window(), messages[m], 0, 0);
            }
            EXPECT_EQ(sign->State(), to);
            EXPECT_EQ(sign->ResourceId(),
                      to == SIGN_NEW_FACE ? SIGN_NEW_FACE_BITMAP : SIGN_OLD_FACE_BITMAP);
            EXPECT_TRUE(WindowHasShape(sign->Window(),
                                       to == SIGN_CHANGING ? SIGN_RIM_REGION : SIGN_SHAPE_REGION));
            DestroyWindow(targets.back());
        }
    }
}
}  // namespace
