// The sign beside its target: placement, the face of its day, and window shapes from REGION
// resources, which signs and figures take alike. Its face on the screen and its clicks are
// watched from outside (ProgramTest).
#include <gtest/gtest.h>

#include <functional>

#include "app/ForegroundWatcher.h"
#include "gfx/RegionResource.h"
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

// Shape 7001 of the tests' resources: bars across top and bottom, two side blocks with a gap
// between them; 7002 claims more rectangles than it holds. Only the low 16 bits of the id
// count; a missing or damaged resource leaves the old shape, and every region made is handed
// to the window or deleted.
TEST_F(SignWindowTest, WindowsShowExactlyTheRectanglesOfTheirRegionResource) {
    constexpr COLORREF BLUE = RGB(20, 40, 200), ORANGE = RGB(230, 120, 10);
    const HINSTANCE module = GetModuleHandleA(nullptr);
    HWND back = CreateTestWindow({"", 220, 160, 100, 80, WS_POPUP | WS_VISIBLE, 0, nullptr, BLUE});
    HWND top = CreateTestWindow({"", 240, 180, 60, 40, WS_POPUP | WS_VISIBLE, 0, nullptr, ORANGE});
    BringToFront(top);
    const auto shows = [](bool (*visible)(int, int)) {
        PumpFor(100);
        const std::vector<uint32_t> seen = ScreenPixels({240, 180, 300, 220});
        int wrong = 0;
        for (size_t i = 0; i < seen.size(); ++i) {
            const COLORREF c = visible(int(i % 60), int(i / 60)) ? ORANGE : BLUE;
            wrong += seen[i] != uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
        }
        return wrong == 0;
    };
    const int before = LiveGdiObjects();
    EXPECT_NE(ApplyRegionResource(module, top, 7001 + 0x10000, true), 0);
    EXPECT_TRUE(shows(
        [](int x, int y) { return y < 10 || y >= 30 ? x >= 10 && x < 50 : x < 20 || x >= 40; }));
    ASSERT_TRUE(SetWindowRgn(top, CreateRectRgn(5, 5, 25, 25), TRUE));
    EXPECT_EQ(ApplyRegionResource(module, top, 7099, true), 0);
    EXPECT_EQ(ApplyRegionResource(module, top, 7002, true), 0);
    EXPECT_TRUE(shows([](int x, int y) { return x >= 5 && x < 25 && y >= 5 && y < 25; }));
    // Refused by SetWindowRgn: a window handle that does not exist.
    EXPECT_EQ(ApplyRegionResource(module, reinterpret_cast<HWND>(0x4321), 7001, false), 0);
    EXPECT_EQ(LiveGdiObjects(), before);
    DestroyWindow(top);
    DestroyWindow(back);
}
}  // namespace
