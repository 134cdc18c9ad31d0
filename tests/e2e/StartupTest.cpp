// Starting and stopping the real program.
#include <gtest/gtest.h>

#include "e2e/support/SpriteWatch.h"

namespace {
TEST(Startup, SecondCopyLeavesAtOnceAndTheFirstRunsOn) {
    ProgramProcess first;
    const HWND mainWindow = StartProgram(first);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(mainWindow));

    ProgramProcess second;
    ASSERT_TRUE(second.Start("Tarvolen.exe"));
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(STARTUP_MS, exitCode));
    EXPECT_EQ(exitCode, 0u);

    EXPECT_TRUE(first.Running());
    EXPECT_EQ(FindWindowA("TARVOLENV10", "Tarvolen"), mainWindow);
    ASSERT_TRUE(CloseProgram(first, mainWindow));
}

TEST(Startup, CloseFromOutsideTakesTheSignAndTheWalkingFigureAlong) {
    ProgramProcess program;
    const HWND mainWindow = StartProgram(program);
    ASSERT_NE(mainWindow, nullptr);
    ProgramProcess sample;
    const HWND target = StartSample(sample, "Startup sample", 300, 200, 400, 300);
    ASSERT_NE(target, nullptr);
    // Closed in mid-walk: the figure and its sign both still hold their pictures.
    ASSERT_TRUE(WaitUntil(STARTUP_MS, [&] {
        return SignsOf(target).size() == 1 && VisibleFigure(mainWindow) != nullptr;
    }));

    ASSERT_TRUE(CloseProgram(program, mainWindow));
    EXPECT_TRUE(SpriteWindows().empty());
    EXPECT_EQ(FindWindowA("TARVOLENV10", "Tarvolen"), nullptr);
    EXPECT_TRUE(IsWindow(target));
}
}  // namespace
