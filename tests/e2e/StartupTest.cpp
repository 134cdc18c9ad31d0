// Starting and stopping the real program.
#include <gtest/gtest.h>

#include "e2e/support/ProgramProcess.h"

namespace {
constexpr DWORD STARTUP_MS = 15000;

TEST(Startup, SecondCopyLeavesAtOnceAndTheFirstRunsOn) {
    ProgramProcess first;
    ASSERT_TRUE(first.Start("Tarvolen.exe"));
    const HWND mainWindow = WaitForMainWindow(STARTUP_MS);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(mainWindow));

    ProgramProcess second;
    ASSERT_TRUE(second.Start("Tarvolen.exe"));
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(STARTUP_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);

    EXPECT_TRUE(first.Running());
    EXPECT_EQ(FindWindowA("TARVOLENV10", "Tarvolen"), mainWindow);

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(STARTUP_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(Startup, CloseFromOutsideTakesEverySpriteWindowAlong) {
    ProgramProcess sample;
    ASSERT_TRUE(sample.Start("SampleWindow.exe", "\"Startup sample\" 300 200 400 300"));
    ProgramProcess program;
    ASSERT_TRUE(program.Start("Tarvolen.exe"));
    const HWND mainWindow = WaitForMainWindow(STARTUP_MS);
    ASSERT_NE(mainWindow, nullptr);
    const HWND target = FindWindowA(nullptr, "Startup sample");
    ASSERT_NE(target, nullptr);
    SetForegroundWindow(target);
    // Once signs exist, the sample window gets one; either way, closing must leave none.
    Sleep(500);

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(STARTUP_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(SpriteWindows().empty());
    EXPECT_EQ(FindWindowA("TARVOLENV10", "Tarvolen"), nullptr);
}
}  // namespace
