// The sign beside its target: placement, face states, painting, clicks and closing.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <vector>

#include "app/ForegroundWatcher.h"
#include "app/MainWindow.h"
#include "sign/SignWindow.h"
#include "support/ApiCounter.h"
#include "support/TestSupport.h"

namespace {
using Pixels = std::vector<uint32_t>;

Pixels BitmapPixels(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    Pixels pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (uint32_t& pixel : pixels) {
        pixel &= 0x00FFFFFF;
    }
    return pixels;
}

Pixels ResourcePixels(int id) {
    auto bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                  IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    Pixels pixels = bitmap ? BitmapPixels(bitmap) : Pixels();
    DeleteObject(bitmap);
    return pixels;
}

Pixels ScreenPixels(const RECT& area) {
    PumpMessages();
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, copy);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    Pixels pixels = BitmapPixels(copy);
    DeleteObject(copy);
    return pixels;
}

// True when the window's shape is exactly the REGION resource.
bool HasShape(HWND window, int regionId) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(regionId), "REGION");
    if (!resource) {
        return false;
    }
    const auto* data = static_cast<const RGNDATA*>(LockResource(LoadResource(nullptr, resource)));
    HRGN expected = ExtCreateRegion(nullptr, SizeofResource(nullptr, resource), data);
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    const bool same =
        expected && GetWindowRgn(window, actual) != ERROR && EqualRgn(expected, actual);
    DeleteObject(expected);
    DeleteObject(actual);
    return same;
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

SignWindow* SignOf(HWND target) {
    SignWindow* found = nullptr;
    handleRegistry.Walk([&](HWND, ScreenWindow* object) {
        auto* sign = dynamic_cast<SignWindow*>(object);
        if (sign && sign->Target() == target) {
            found = sign;
        }
    });
    return found;
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
        HWND window = CreateTestWindow(options);
        targets.push_back(window);
        return window;
    }

    HWND PopupTarget(int width, int height) {
        TestWindowOptions options;
        options.style = WS_POPUP | WS_VISIBLE;
        options.width = width;
        options.height = height;
        return Target(options);
    }

    static SignWindow* Hang(HWND target) {
        CreateSignFor(target);
        return SignOf(target);
    }

    std::vector<HWND> targets;
};

TEST_F(SignWindowTest, IsCreatedHiddenSizedAndShapedWithoutPlacement) {
    HWND target = Target();
    SignWindow* sign = Hang(target);
    ASSERT_NE(sign, nullptr);
    EXPECT_FALSE(IsWindowVisible(sign->Window()));
    const RECT rect = WindowRect(sign->Window());
    EXPECT_EQ(rect.right - rect.left, 122);
    EXPECT_EQ(rect.bottom - rect.top, 98);
    EXPECT_TRUE(HasShape(sign->Window(), SIGN_SHAPE_REGION));
    EXPECT_EQ(sign->PlacedFlags(), 0);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{0.0, 0.0}));
    EXPECT_FALSE(GetWindowLongA(sign->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    LONG_PTR value = -5;
    ScreenWindow* object = nullptr;
    EXPECT_TRUE(sign->QueryProperty(PROP_TARGET, value, object));
    EXPECT_EQ(reinterpret_cast<HWND>(value), target);
    EXPECT_EQ(object, sign);
    object = nullptr;
    EXPECT_TRUE(sign->QueryProperty(PROP_SIGN, value, object));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(object, sign);
    object = nullptr;
    EXPECT_TRUE(sign->QueryProperty(PROP_SELF, value, object));
    EXPECT_EQ(object, sign);
    value = -5;
    object = nullptr;
    EXPECT_FALSE(sign->QueryProperty(3, value, object));
    EXPECT_EQ(value, -5);
    EXPECT_EQ(object, nullptr);
}

TEST_F(SignWindowTest, HangsAtTheTargetsTopLeftAndMovesOnlyWhenItMoves) {
    HWND target = Target();
    BringToFront(target);
    SignWindow* sign = Hang(target);
    ASSERT_NE(sign, nullptr);

    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_TRUE(IsWindowVisible(sign->Window()));
    const RECT rect = WindowRect(sign->Window());
    EXPECT_EQ(rect.left, 300 - 122);
    EXPECT_EQ(rect.top, 200);
    EXPECT_EQ(rect.right, 300);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{178.0, 200.0}));
    EXPECT_EQ(sign->PlacedFlags(), 81);
    // Shown beside its target without taking the focus or floating above everything.
    EXPECT_EQ(GetForegroundWindow(), target);
    EXPECT_FALSE(GetWindowLongA(sign->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    EXPECT_EQ(TickCalls(sign), 0);
    EXPECT_EQ(TickCalls(sign), 0);

    MoveWindow(target, 301, 200, 300, 200, TRUE);
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_EQ(WindowRect(sign->Window()).left, 301 - 122);
    MoveWindow(target, 301, 199, 300, 200, TRUE);
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_EQ(WindowRect(sign->Window()).top, 199);
    EXPECT_EQ(TickCalls(sign), 0);

    // Near the left screen edge the sign sticks out, but still shows.
    MoveWindow(target, 50, 199, 300, 200, TRUE);
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{-72.0, 199.0}));
    EXPECT_TRUE(IsWindowVisible(sign->Window()));
}

TEST_F(SignWindowTest, HidesWithAMaximisedOrHiddenTargetAndReturnsBesideIt) {
    HWND target = Target();
    BringToFront(target);
    SignWindow* sign = Hang(target);
    ASSERT_EQ(TickCalls(sign), 1);

    ShowWindow(target, SW_MAXIMIZE);
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_FALSE(IsWindowVisible(sign->Window()));
    EXPECT_EQ(sign->PlacedFlags(), 145);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{178.0, 200.0}));
    EXPECT_EQ(TickCalls(sign), 0);

    // Back at the same place: only the flags differ, and that is enough.
    ShowWindow(target, SW_RESTORE);
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_TRUE(IsWindowVisible(sign->Window()));
    EXPECT_EQ(sign->PlacedFlags(), 81);

    ShowWindow(target, SW_HIDE);
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_FALSE(IsWindowVisible(sign->Window()));
    MoveWindow(target, 420, 260, 300, 200, FALSE);
    EXPECT_EQ(TickCalls(sign), 0);
    ShowWindow(target, SW_SHOWNA);
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_TRUE(IsWindowVisible(sign->Window()));
    EXPECT_EQ(WindowRect(sign->Window()).left, 420 - 122);
    EXPECT_EQ(WindowRect(sign->Window()).top, 260);
}

TEST_F(SignWindowTest, HidesBesideTargetsTooSmallForASign) {
    HWND target = PopupTarget(300, 76);
    SignWindow* sign = Hang(target);
    struct Step {
        int width, height;
        bool shown;
    };
    for (const Step& step : {Step{300, 76, true}, Step{300, 75, false}, Step{11, 200, true},
                             Step{10, 200, false}, Step{11, 76, true}}) {
        SetWindowPos(target, nullptr, 0, 0, step.width, step.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(TickCalls(sign), 1) << step.width << " x " << step.height;
        EXPECT_EQ(IsWindowVisible(sign->Window()) != FALSE, step.shown)
            << step.width << " x " << step.height;
    }
}

TEST_F(SignWindowTest, LeavesEverythingAloneWhileTheTargetIsMinimised) {
    HWND target = Target();
    BringToFront(target);
    SignWindow* sign = Hang(target);
    ASSERT_EQ(TickCalls(sign), 1);

    ShowWindow(target, SW_MINIMIZE);
    EXPECT_EQ(TickCalls(sign), 0);
    EXPECT_EQ(TickCalls(sign), 0);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{178.0, 200.0}));
    EXPECT_EQ(sign->PlacedFlags(), 81);

    ShowWindow(target, SW_RESTORE);
    EXPECT_EQ(TickCalls(sign), 0);
    EXPECT_TRUE(IsWindowVisible(sign->Window()));
    EXPECT_EQ(WindowRect(sign->Window()).left, 178);
}

TEST_F(SignWindowTest, FirstTickBesideAHiddenTargetHidesAtTheOrigin) {
    TestWindowOptions hidden;
    hidden.style = WS_OVERLAPPEDWINDOW;
    SignWindow* sign = Hang(Target(hidden));
    EXPECT_EQ(TickCalls(sign), 1);
    EXPECT_EQ(sign->PlacedFlags(), 145);
    EXPECT_EQ(sign->PlacedPosition(), (PointD{0.0, 0.0}));
    EXPECT_EQ(WindowRect(sign->Window()).left, 0);
    EXPECT_FALSE(IsWindowVisible(sign->Window()));
}

TEST_F(SignWindowTest, ShowsItsFaceInsideItsShapeAndTheDesktopAround) {
    FakeClock clock(FaceChangeCutover() + 1);
    HWND target = Target();
    BringToFront(target);
    SignWindow* sign = Hang(target);
    const RECT place = {178, 200, 300, 298};
    PumpFor(100);
    const Pixels before = ScreenPixels(place);

    sign->Tick();
    PumpFor(100);
    const Pixels after = ScreenPixels(place);
    const Pixels face = ResourcePixels(SIGN_NEW_FACE_BITMAP);
    ASSERT_EQ(face.size(), after.size());

    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(sign->Window(), shape), ERROR);
    int faceMismatches = 0, desktopMismatches = 0, inside = 0;
    for (int y = 0; y < 98; ++y) {
        for (int x = 0; x < 122; ++x) {
            const size_t i = static_cast<size_t>(y) * 122 + x;
            if (PtInRegion(shape, x, y)) {
                ++inside;
                faceMismatches += after[i] != face[i];
            } else {
                desktopMismatches += after[i] != before[i];
            }
        }
    }
    DeleteObject(shape);
    EXPECT_GT(inside, 5000);
    EXPECT_EQ(faceMismatches, 0);
    EXPECT_EQ(desktopMismatches, 0);
}

TEST_F(SignWindowTest, FaceDependsOnTheCutover) {
    const time_t cutover = FaceChangeCutover();
    // Midnight of 4 November 2001, local standard time.
    std::tm local = *std::localtime(&cutover);
    EXPECT_EQ(local.tm_year, 101);
    EXPECT_EQ(local.tm_mon, 10);
    EXPECT_EQ(local.tm_mday, 4);
    EXPECT_EQ(local.tm_hour, local.tm_isdst > 0 ? 1 : 0);
    EXPECT_EQ(local.tm_min, 0);

    struct Moment {
        time_t now;
        int32_t state;
        int32_t face;
    };
    for (const Moment& moment : {Moment{cutover - 1, SIGN_OLD_FACE, SIGN_OLD_FACE_BITMAP},
                                 Moment{cutover, SIGN_OLD_FACE, SIGN_OLD_FACE_BITMAP},
                                 Moment{cutover + 1, SIGN_NEW_FACE, SIGN_NEW_FACE_BITMAP}}) {
        FakeClock clock(moment.now);
        SignWindow* sign = Hang(Target());
        ASSERT_NE(sign, nullptr);
        EXPECT_EQ(sign->State(), moment.state) << moment.now - cutover;
        EXPECT_EQ(sign->ResourceId(), moment.face);
        EXPECT_EQ(BitmapPixels(sign->Bitmap()), ResourcePixels(moment.face));
    }
}

// Every face message in every state: the state, shape and face bitmap it leaves.
TEST_F(SignWindowTest, FaceMessagesMoveOnlyAlongTheChange) {
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
    const time_t cutover = FaceChangeCutover();
    for (const Case& test : cases) {
        FakeClock clock(test.from == SIGN_NEW_FACE ? cutover + 1 : cutover);
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
        SCOPED_TRACE(testing::Message() << "from " << test.from << " message " << test.message);
        EXPECT_EQ(sign->State(), test.to);
        EXPECT_TRUE(HasShape(sign->Window(), test.shape));
        EXPECT_EQ(sign->ResourceId(), test.face);
        EXPECT_EQ(BitmapPixels(sign->Bitmap()), ResourcePixels(test.face));
        EXPECT_EQ(sign->Width(), 122);
        EXPECT_EQ(sign->Height(), 98);
        EXPECT_EQ(LiveGdiObjects(), liveBefore);
        DestroyWindow(target);
    }
}

TEST_F(SignWindowTest, ClickOnTheFaceOpensTheSponsorPage) {
    HWND target = Target();
    BringToFront(target);
    SignWindow* sign = Hang(target);
    sign->Tick();
    PumpFor(100);

    auto clickAt = [](int x, int y) {
        ResetCallCounts();
        SetCursorPos(x, y);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, input, sizeof(INPUT));
        PumpFor(200);
        return CallCount("ShellExecuteA");
    };
    // The top-left corner of the sign's box lies outside its round shape.
    EXPECT_EQ(clickAt(178 + 2, 200 + 2), 0);
    EXPECT_EQ(clickAt(178 + 49, 200 + 49), 1);
    EXPECT_EQ(LastShellRequest().verb, "Open");
    EXPECT_EQ(LastShellRequest().file, SPONSOR_PAGE);
    EXPECT_EQ(LastShellRequest().showCommand, SW_SHOWNORMAL);
}

TEST_F(SignWindowTest, GoesWithATargetDestroyedInThisThread) {
    HWND target = Target();
    const int liveBefore = LiveGdiObjects();
    SignWindow* sign = Hang(target);
    const HWND signWindow = sign->Window();
    DestroyWindow(target);
    PumpMessages();
    EXPECT_FALSE(IsWindow(signWindow));
    EXPECT_EQ(ObjectForWindow(signWindow), nullptr);
    EXPECT_EQ(LiveGdiObjects(), liveBefore);
}

// A target of another thread, as the windows of other programs are: its destruction does
// not take the sign along, the sign has to notice.
class ForeignTarget {
public:
    ForeignTarget() {
        ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(ready, 5000);
    }
    ~ForeignTarget() {
        Close();
        CloseHandle(thread);
        CloseHandle(ready);
    }
    HWND Window() const { return window; }

    // Closes the window and waits for its thread, pumping this thread's messages meanwhile.
    void Close() {
        if (IsWindow(window)) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        while (MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1) {
            PumpMessages();
        }
    }

private:
    // Only calls the test binary does not watch, so the counters see this thread alone.
    static DWORD WINAPI Run(void* parameter) {
        auto* self = static_cast<ForeignTarget*>(parameter);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = "SignTestForeignTarget";
        RegisterClassA(&windowClass);
        self->window = CreateWindowExA(0, windowClass.lpszClassName, "Foreign target",
                                       WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 300, 200,
                                       nullptr, nullptr, windowClass.hInstance, nullptr);
        SetEvent(self->ready);
        MSG message;
        while (IsWindow(self->window) && GetMessageA(&message, nullptr, 0, 0) > 0) {
            DispatchMessageA(&message);
        }
        return 0;
    }

    HANDLE ready = nullptr;
    HANDLE thread = nullptr;
    HWND window = nullptr;
};

TEST_F(SignWindowTest, ClosesItselfAfterItsTargetIsGone) {
    const int liveBefore = LiveGdiObjects();
    ForeignTarget target;
    ASSERT_NE(target.Window(), nullptr);
    SignWindow* sign = Hang(target.Window());
    ASSERT_NE(sign, nullptr);
    const HWND signWindow = sign->Window();
    ASSERT_EQ(TickCalls(sign), 1);

    target.Close();
    ASSERT_FALSE(IsWindow(target.Window()));
    ASSERT_TRUE(IsWindow(signWindow));

    // Not inside the tick: the registry walk must keep every entry until it ends.
    ResetCallCounts();
    sign->Tick();
    EXPECT_TRUE(IsWindow(signWindow));
    EXPECT_EQ(ObjectForWindow(signWindow), sign);
    EXPECT_EQ(CallCount("DestroyWindow"), 0);
    EXPECT_EQ(CallCount("PostMessageA"), 1);

    RunTicks(1);
    EXPECT_FALSE(IsWindow(signWindow));
    EXPECT_EQ(ObjectForWindow(signWindow), nullptr);
    EXPECT_EQ(LiveGdiObjects(), liveBefore);
}

TEST_F(SignWindowTest, ManySignsLeaveNoGdiObjectsBehind) {
    const int liveBefore = LiveGdiObjects();
    for (int i = 0; i < 30; ++i) {
        ForeignTarget target;
        SignWindow* sign = Hang(target.Window());
        ASSERT_NE(sign, nullptr);
        sign->Tick();
        SendMessageA(sign->Window(), WM_SIGN_BEGIN_CHANGE, 0, 0);
        if (i % 2) {
            SendMessageA(sign->Window(), WM_SIGN_COMMIT_CHANGE, 0, 0);
        }
        InvalidateRect(sign->Window(), nullptr, FALSE);
        PumpMessages();
        target.Close();
        RunTicks(2);
    }
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(LiveGdiObjects(), liveBefore);
}
}  // namespace
