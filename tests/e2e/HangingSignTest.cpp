// The running program hangs a sign on another program's window and keeps it there.
#include <gtest/gtest.h>

#include "e2e/support/ProgramProcess.h"

namespace {
constexpr DWORD STARTUP_MS = 15000;
constexpr DWORD FOLLOW_MS = 3000;

// The signs hanging on one window (figures belong to the program's main window instead).
std::vector<HWND> SignsOf(HWND target) {
    std::vector<HWND> signs;
    for (HWND sprite : SpriteWindows()) {
        if (GetWindow(sprite, GW_OWNER) == target) {
            signs.push_back(sprite);
        }
    }
    return signs;
}

bool ShownAt(HWND sign, int x, int y) {
    RECT rect;
    return IsWindowVisible(sign) && GetWindowRect(sign, &rect) && rect.left == x && rect.top == y &&
           rect.right == x + 122 && rect.bottom == y + 98;
}

TEST(HangingSign, FollowsAnotherProgramsWindowAndGoesWithIt) {
    ProgramProcess sample;
    ASSERT_TRUE(sample.Start("SampleWindow.exe", "\"Sign sample\" 300 200 400 300"));
    HWND target = nullptr;
    ASSERT_TRUE(WaitUntil(STARTUP_MS, [&] {
        target = FindWindowA(nullptr, "Sign sample");
        return target != nullptr;
    }));
    ProgramProcess program;
    ASSERT_TRUE(program.Start("Tarvolen.exe"));
    const HWND mainWindow = WaitForMainWindow(STARTUP_MS);
    ASSERT_NE(mainWindow, nullptr);
    SetForegroundWindow(target);

    ASSERT_TRUE(WaitUntil(FOLLOW_MS, [&] { return SignsOf(target).size() == 1; }));
    const HWND sign = SignsOf(target).front();
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return ShownAt(sign, 300 - 122, 200); }));
    Sleep(300);
    EXPECT_EQ(SignsOf(target).size(), 1u);
    EXPECT_EQ(GetForegroundWindow(), target);

    MoveWindow(target, 350, 240, 400, 300, TRUE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return ShownAt(sign, 350 - 122, 240); }));

    ShowWindow(target, SW_MAXIMIZE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return !IsWindowVisible(sign); }));
    ShowWindow(target, SW_RESTORE);
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return ShownAt(sign, 350 - 122, 240); }));

    PostMessageA(target, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(sample.WaitForExit(STARTUP_MS, exitCode));
    EXPECT_TRUE(WaitUntil(FOLLOW_MS, [&] { return !IsWindow(sign); }));
    EXPECT_TRUE(program.Running());

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit(STARTUP_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
}
}  // namespace
