// The sign beside its target: placement, face states, painting, clicks and closing.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

#include "app/ForegroundWatcher.h"
#include "sign/SignWindow.h"
#include "support/ApiCounter.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"
#include "support/WalkStage.h"

namespace {
using Pixels = std::vector<uint32_t>;

Pixels ResourcePixels(int id) {
    auto bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                  IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    const Pixels pixels = PixelsOf(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// SetWindowPos calls made by one tick of the sign.
int TickCalls(SignWindow* sign) {
    ResetCallCounts();
    sign->Tick();
    PumpMessages();
    return CallCount("SetWindowPos");
}

class SignWindowTest : public testing::Test {
protected:
    void TearDown() override {
        DestroyAllSprites();
        for (HWND window : targets) {
            DestroyWindow(window);
        }
        PumpMessages();
    }

    HWND Target(TestWindowOptions options = {}) {
        targets.push_back(CreateTestWindow(options));
        return targets.back();
    }

    static SignWindow* Hang(HWND target) {
        CreateSignFor(target);
        SignWindow* found = nullptr;
        handleRegistry.Walk([&](HWND, ScreenWindow* object) {
            auto* sign = dynamic_cast<SignWindow*>(object);
            found = sign && sign->Target() == target ? sign : found;
        });
        return found;
    }

    // The target goes without taking its sign along, as another program's window does.
    static void LoseTarget(SignWindow* sign) {
        SetWindowLongPtrA(sign->Window(), GWLP_HWNDPARENT, 0);
        DestroyWindow(sign->Target());
    }

    std::vector<HWND> targets;
};

// Pixels on the screen and real clicks are watched from outside (SignBesideWindowTest,
// SponsorPageTest).
TEST_F(SignWindowTest, IsCreatedHiddenSizedAndShapedAnswersItsPropertiesAndOpensThePage) {
    HWND target = Target();
    SignWindow* sign = Hang(target);
    ASSERT_NE(sign, nullptr);
    EXPECT_FALSE(IsWindowVisible(sign->Window()));
    const RECT rect = WindowRect(sign->Window());
    EXPECT_EQ(rect.right - rect.left, 122);
    EXPECT_EQ(rect.bottom - rect.top, 98);
    EXPECT_TRUE(WindowHasShape(sign->Window(), SIGN_SHAPE_REGION));
    EXPECT_EQ(sign->PlacedFlags(), 0);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{0.0, 0.0}));

    struct Query {
        int id;
        bool answered;
        LONG_PTR value;
    };
    for (const Query& query :
         {Query{PROP_TARGET, true, reinterpret_cast<LONG_PTR>(target)}, Query{PROP_SIGN, true, 0},
          Query{PROP_SELF, true, 0}, Query{3, false, -5}}) {
        LONG_PTR value = -5;
        ScreenWindow* object = nullptr;
        EXPECT_EQ(sign->QueryProperty(query.id, value, object), query.answered) << query.id;
        EXPECT_EQ(value, query.value) << query.id;
        EXPECT_EQ(object, query.answered ? sign : nullptr) << query.id;
    }
    ResetCallCounts();
    SendMessageA(sign->Window(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(CallCount("ShellExecuteA"), 1);
    EXPECT_EQ(LastShellRequest().verb, "Open");
    EXPECT_EQ(LastShellRequest().file, SPONSOR_PAGE);
    EXPECT_EQ(LastShellRequest().showCommand, SW_SHOWNORMAL);
}

// One tick after each change of the target: the SetWindowPos calls it costs, and what the
// sign was last placed with. A call is made only when position or flags differ.
TEST_F(SignWindowTest, FollowsItsTargetAndCallsThePlatformOnlyForChanges) {
    HWND target = Target();
    BringToFront(target);
    SignWindow* sign = Hang(target);
    ASSERT_NE(sign, nullptr);
    auto moveTo = [target](int x, int y) {
        return [=] { MoveWindow(target, x, y, 300, 200, TRUE); };
    };
    auto showAs = [target](int command) { return [=] { ShowWindow(target, command); }; };
    auto none = [] {};
    struct Step {
        const char* what;
        std::function<void()> change;
        int calls, flags, x, y;
        int shown;  // -1: whatever the system does with a minimised owner's windows
    };
    const Step steps[] = {
        {"first tick", none, 1, 81, 178, 200, 1},
        {"no change", none, 0, 81, 178, 200, 1},
        {"one pixel right", moveTo(301, 200), 1, 81, 179, 200, 1},
        {"one pixel up", moveTo(301, 199), 1, 81, 179, 199, 1},
        {"near the left edge", moveTo(50, 199), 1, 81, -72, 199, 1},
        {"maximised", showAs(SW_MAXIMIZE), 1, 145, -72, 199, 0},
        {"still maximised", none, 0, 145, -72, 199, 0},
        {"restored to the same place", showAs(SW_RESTORE), 1, 81, -72, 199, 1},
        {"minimised", showAs(SW_MINIMIZE), 0, 81, -72, 199, -1},
        {"restored from minimised", showAs(SW_RESTORE), 0, 81, -72, 199, 1},
        {"hidden", showAs(SW_HIDE), 1, 145, -72, 199, 0},
        {"moved while hidden", [=] { MoveWindow(target, 420, 260, 300, 200, FALSE); }, 0, 145, -72,
         199, 0},
        {"shown again", showAs(SW_SHOWNA), 1, 81, 298, 260, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        PumpMessages();
        const HWND front = GetForegroundWindow();
        EXPECT_EQ(TickCalls(sign), step.calls);
        // Placed beside its target without taking the focus.
        EXPECT_EQ(GetForegroundWindow(), front);
        EXPECT_EQ(sign->PlacedFlags(), step.flags);
        EXPECT_EQ(sign->PlacedPosition(), (PointD{double(step.x), double(step.y)}));
        if (step.shown >= 0) {
            EXPECT_EQ(IsWindowVisible(sign->Window()) != FALSE, step.shown == 1);
        }
        if (step.shown == 1) {
            EXPECT_EQ(WindowRect(sign->Window()).left, step.x);
            EXPECT_EQ(WindowRect(sign->Window()).top, step.y);
        }
    }
    EXPECT_FALSE(GetWindowLongA(sign->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);  // never above all
}

TEST_F(SignWindowTest, HidesAtTheOriginBesideAHiddenTargetAndBesideTargetsTooSmall) {
    TestWindowOptions popup;
    popup.style = WS_POPUP;
    popup.height = 76;
    HWND target = Target(popup);
    SignWindow* sign = Hang(target);
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_EQ(sign->PlacedFlags(), 145);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{0.0, 0.0}));
    EXPECT_EQ(WindowRect(sign->Window()).left, 0);
    EXPECT_FALSE(IsWindowVisible(sign->Window()));

    ShowWindow(target, SW_SHOWNA);
    for (SIZE size : {SIZE{300, 76}, SIZE{300, 75}, SIZE{11, 200}, SIZE{10, 200}, SIZE{11, 76}}) {
        SetWindowPos(target, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(TickCalls(sign), 1) << size.cx << " x " << size.cy;
        EXPECT_EQ(IsWindowVisible(sign->Window()) != FALSE, size.cx >= 11 && size.cy >= 76)
            << size.cx << " x " << size.cy;
    }
}

// A sign made strictly after the cutover, midnight of 4 November 2001 in local standard
// time, starts with the new face: old-face signs are made a second before, changing ones at
// the cutover itself. Every face message in every state: the state, shape and face bitmap
// it leaves.
TEST_F(SignWindowTest, StartsWithTheFaceOfItsDayAndFaceMessagesMoveOnlyAlongTheChange) {
    const time_t cutover = FaceChangeCutover();
    const std::tm local = *std::localtime(&cutover);
    EXPECT_EQ(local.tm_year, 101);
    EXPECT_EQ(local.tm_mon, 10);
    EXPECT_EQ(local.tm_mday, 4);
    EXPECT_EQ(local.tm_hour, local.tm_isdst > 0 ? 1 : 0);
    EXPECT_EQ(local.tm_min, 0);
    struct Case {
        int32_t from;
        UINT message;
        int32_t to;
        int shape;
        int32_t face;
    };
    const Case cases[] = {
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
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << "from " << test.from << " message " << test.message);
        FakeClock clock(cutover + (test.from == SIGN_OLD_FACE   ? -1
                                   : test.from == SIGN_CHANGING ? 0
                                                                : 1));
        HWND target = Target();
        SignWindow* sign = Hang(target);
        ASSERT_NE(sign, nullptr);
        if (test.from == SIGN_CHANGING) {
            SendMessageA(sign->Window(), WM_SIGN_BEGIN_CHANGE, 0, 0);
        }
        ASSERT_EQ(sign->State(), test.from);
        const int liveBefore = LiveGdiObjects();
        // Cancels arrive posted, the others sent, as the figures deliver them.
        if (test.message == WM_SIGN_CANCEL_CHANGE) {
            PostMessageA(sign->Window(), test.message, 0, 0);
            PumpMessages();
        } else {
            SendMessageA(sign->Window(), test.message, 0, 0);
        }
        EXPECT_EQ(sign->State(), test.to);
        EXPECT_TRUE(WindowHasShape(sign->Window(), test.shape));
        EXPECT_EQ(sign->ResourceId(), test.face);
        EXPECT_EQ(PixelsOf(sign->Bitmap()), ResourcePixels(test.face));
        EXPECT_EQ(sign->Width(), 122);
        EXPECT_EQ(sign->Height(), 98);
        EXPECT_EQ(LiveGdiObjects(), liveBefore);
        DestroyWindow(target);
    }
}

// Half the targets go in this thread, taking their signs along; the others go as another
// program's windows do, and their signs notice on their next tick. They close through a
// posted message: destroyed inside the tick, a sign would pull its entry out from under the
// registry walk.
TEST_F(SignWindowTest, SignsCloseWithTheirTargetsAndLeaveNoGdiObjectsBehind) {
    const int liveBefore = LiveGdiObjects();
    for (int i = 0; i < 30; ++i) {
        SignWindow* sign = Hang(Target());
        ASSERT_NE(sign, nullptr);
        const HWND signWindow = sign->Window();
        sign->Tick();
        SendMessageA(signWindow, WM_SIGN_BEGIN_CHANGE, 0, 0);
        if (i % 3) {
            SendMessageA(signWindow, WM_SIGN_COMMIT_CHANGE, 0, 0);
        }
        InvalidateRect(signWindow, nullptr, FALSE);
        PumpMessages();
        if (i % 2) {
            LoseTarget(sign);
            ASSERT_TRUE(IsWindow(signWindow));
            ResetCallCounts();
            sign->Tick();
            EXPECT_EQ(ObjectForWindow(signWindow), sign);
            EXPECT_EQ(CallCount("DestroyWindow"), 0);
            EXPECT_EQ(CallCount("PostMessageA"), 1);
            RunTicks(1);
        } else {
            DestroyWindow(sign->Target());
            PumpMessages();
        }
        EXPECT_FALSE(IsWindow(signWindow)) << i;
        EXPECT_EQ(ObjectForWindow(signWindow), nullptr) << i;
    }
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(LiveGdiObjects(), liveBefore);
}
}  // namespace
