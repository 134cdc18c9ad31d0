// The sign beside its target: placement and face states. Its size, shape and face on the
// screen and its clicks are watched from outside (ProgramTest).
#include <gtest/gtest.h>

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
// starts with the new face; the walks check every change of face a figure makes.
TEST_F(SignWindowTest, StartsWithTheFaceOfItsDay) {
    const time_t cutover = FaceChangeCutover();
    const std::tm local = *std::localtime(&cutover);
    EXPECT_EQ(local.tm_year * 10000 + local.tm_mon * 100 + local.tm_mday, 1011004);
    EXPECT_EQ(local.tm_hour, local.tm_isdst > 0 ? 1 : 0);
    for (const time_t made : {cutover, cutover + 1}) {
        FakeClock clock(made);
        SignWindow* sign = Hang();
        EXPECT_EQ(sign->State(), made > cutover ? SIGN_NEW_FACE : SIGN_OLD_FACE);
        EXPECT_EQ(sign->ResourceId(), made > cutover ? SIGN_NEW_FACE_BITMAP : SIGN_OLD_FACE_BITMAP);
        EXPECT_TRUE(WindowHasShape(sign->Window(), SIGN_SHAPE_REGION));
    }
}
}  // namespace
