// The running program's signs, watched from another process: where they hang, what they
// show, how they follow their windows and when they go.
#include <gtest/gtest.h>

#include <cstdio>

#include "e2e/support/DesktopProbe.h"
#include "e2e/support/SpriteWatch.h"

namespace {
constexpr DWORD FOLLOW_MS = 3000;

// The sign of a window, when it has exactly one.
HWND OnlySignOf(HWND target) {
    const std::vector<HWND> signs = SignsOf(target);
    return signs.size() == 1 ? signs.front() : nullptr;
}

bool HiddenAndStill(HWND sign, const RECT& where) {
    const RECT rect = RectOf(sign);
    return !IsWindowVisible(sign) && EqualRect(&rect, &where);
}

TEST(SignBesideWindow, HangsLeftOfTheWindowWithItsFaceAndShapeOnTheFirstTicks) {
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    const RECT place = {300 - SIGN_WIDTH, 200, 300, 200 + SIGN_HEIGHT};
    const PixelImage desktopBefore = CaptureScreen(place);

    ProgramProcess sample;
    const HWND target = StartSample(sample, "Face sample", 300, 200, 400, 300);
    ASSERT_NE(target, nullptr);
    const DWORD shownAt = GetTickCount();
    HWND sign = nullptr;
    // Two ticks of 50 ms: one makes the sign, the next places it.
    ASSERT_TRUE(WaitUntil(FOLLOW_MS, [&] {
        sign = OnlySignOf(target);
        return sign && SignShownAt(sign, place.left, place.top);
    }));
    std::printf("sign shown %lu ms after its window\n", GetTickCount() - shownAt);

    EXPECT_EQ(GetForegroundWindow(), target) << "the sign must not take the activation";
    EXPECT_FALSE(GetWindowLongA(sign, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowTextLengthA(sign), 0);

    EXPECT_TRUE(ShowsFaceInShape(sign, place, desktopBefore));

    ASSERT_TRUE(CloseProgram(program, mainWindow));
}

TEST(SignBesideWindow, FollowsItsWindowAndHidesWhileTheWindowCannotCarryIt) {
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    ProgramProcess sample;
    const HWND target = StartSample(sample, "Moving sample", 400, 150, 400, 300);
    ASSERT_NE(target, nullptr);
    HWND sign = nullptr;
    ASSERT_TRUE(WaitUntil(FOLLOW_MS, [&] { return (sign = OnlySignOf(target)); }));
    ASSERT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignShownAt(sign, 400 - SIGN_WIDTH, 150); }));

    SetWindowPos(target, nullptr, 450, 260, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignShownAt(sign, 450 - SIGN_WIDTH, 260); }));
    // Only the top-left corner counts.
    SetWindowPos(target, nullptr, 450, 260, 250, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    EXPECT_TRUE(SignShownAt(sign, 450 - SIGN_WIDTH, 260));

    // A window too small to carry a sign hides it where it is; one pixel more shows it.
    const RECT placed = RectOf(sign);
    SetWindowPos(target, nullptr, 0, 0, 250, 75, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return HiddenAndStill(sign, placed); }));
    SetWindowPos(target, nullptr, 0, 0, 250, 76, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignShownAt(sign, 450 - SIGN_WIDTH, 260); }));
    SetWindowPos(target, nullptr, 0, 0, 10, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return HiddenAndStill(sign, placed); }));
    SetWindowPos(target, nullptr, 0, 0, 11, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignShownAt(sign, 450 - SIGN_WIDTH, 260); }));
    SetWindowPos(target, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    ShowWindow(target, SW_MAXIMIZE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return HiddenAndStill(sign, placed); }));
    Sleep(300);
    EXPECT_FALSE(IsWindowVisible(sign));
    ShowWindow(target, SW_RESTORE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignShownAt(sign, 450 - SIGN_WIDTH, 260); }));

    ShowWindow(target, SW_HIDE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return HiddenAndStill(sign, placed); }));
    ShowWindow(target, SW_SHOW);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignShownAt(sign, 450 - SIGN_WIDTH, 260); }));

    // Minimised, the window takes its sign out of sight; restored, the sign is where it was.
    ShowWindow(target, SW_MINIMIZE);
    Sleep(300);
    EXPECT_EQ(SignsOf(target).size(), 1u);
    ShowWindow(target, SW_RESTORE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignShownAt(sign, 450 - SIGN_WIDTH, 260); }));

    PostMessageA(target, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(sample.WaitForExit(STARTUP_MS, exitCode));
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return !IsWindow(sign); }));
    EXPECT_TRUE(program.Running());
    ASSERT_TRUE(CloseProgram(program, mainWindow));
}

TEST(SignBesideWindow, EveryWindowBroughtToTheFrontGetsOneSignOfItsOwn) {
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    ProgramProcess firstSample;
    const HWND first = StartSample(firstSample, "First sample", 200, 100, 300, 200);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignsOf(first).size() == 1; }));
    ProgramProcess secondSample;
    const HWND second = StartSample(secondSample, "Second sample", 600, 400, 300, 200);
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignsOf(second).size() == 1; }));

    // Back and forth: each window keeps the one sign it got.
    const HWND firstSign = SignsOf(first).front();
    const HWND secondSign = SignsOf(second).front();
    for (int round = 0; round < 3; ++round) {
        SetForegroundWindow(first);
        Sleep(150);
        SetForegroundWindow(second);
        Sleep(150);
    }
    EXPECT_EQ(SignsOf(first), std::vector<HWND>{firstSign});
    EXPECT_EQ(SignsOf(second), std::vector<HWND>{secondSign});
    EXPECT_TRUE(SignShownAt(firstSign, 200 - SIGN_WIDTH, 100));
    EXPECT_TRUE(SignShownAt(secondSign, 600 - SIGN_WIDTH, 400));

    // A window that is merely behind others keeps its sign; a closed one takes it along.
    PostMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return !IsWindow(firstSign); }));
    Sleep(200);
    EXPECT_TRUE(IsWindow(secondSign));
    EXPECT_TRUE(SignShownAt(secondSign, 600 - SIGN_WIDTH, 400));
    ASSERT_TRUE(CloseProgram(program, mainWindow));
    EXPECT_TRUE(SpriteWindows().empty());
}
}  // namespace
