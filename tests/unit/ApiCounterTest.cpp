// The import-table counter that the leak and call-count checks of other tests rely on: were
// it blind, those checks would pass without proving anything.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "support/ApiCounter.h"
#include "support/TestSupport.h"

TEST(ApiCounterTest, CountsCallsThatStillReachThePlatformAndResets) {
    HWND window = CreateTestWindow();
    ResetCallCounts();
    SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(window, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(CallCount("SetWindowPos"), 2);
    EXPECT_EQ(CallCount("DestroyWindow"), 0);
    RECT area;
    GetWindowRect(window, &area);
    EXPECT_EQ(area.left, 20);
    DestroyWindow(window);
    EXPECT_EQ(CallCount("DestroyWindow"), 1);
    ResetCallCounts();
    EXPECT_EQ(CallCount("SetWindowPos"), 0);

    // Recorded, not carried out: no browser starts during unit tests.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "Open", "http://example.invalid/", nullptr, nullptr, SW_SHOWNORMAL));
    EXPECT_GT(result, 32);
    EXPECT_EQ(CallCount("ShellExecuteA"), 1);
    EXPECT_EQ(LastShellRequest().verb, "Open");
    EXPECT_EQ(LastShellRequest().file, "http://example.invalid/");
    EXPECT_EQ(LastShellRequest().showCommand, SW_SHOWNORMAL);
}

// Window DCs, memory DCs, bitmaps (made or loaded) and regions count until released; a
// region a window accepts is the window's; deleting one object twice hides no other leak.
TEST(ApiCounterTest, FollowsGdiObjectsUntilTheyAreReleasedOrHandedToAWindow) {
    HWND window = CreateTestWindow();
    const int before = LiveGdiObjects();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HANDLE checkMark = LoadImageA(nullptr, MAKEINTRESOURCEA(32760), IMAGE_BITMAP, 0, 0, 0);
    ASSERT_NE(checkMark, nullptr);
    EXPECT_NE(LoadImageA(nullptr, MAKEINTRESOURCEA(32512), IMAGE_CURSOR, 0, 0, LR_SHARED), nullptr);
    HRGN region = CreateRectRgn(0, 0, 50, 50);
    HRGN refused = CreateRectRgn(0, 0, 5, 5);
    EXPECT_EQ(LiveGdiObjects(), before + 6);

    ReleaseDC(nullptr, screen);
    DeleteDC(memory);
    EXPECT_EQ(LiveGdiObjects(), before + 4);
    ASSERT_TRUE(SetWindowRgn(window, region, TRUE));
    EXPECT_FALSE(SetWindowRgn(reinterpret_cast<HWND>(0x1234), refused, TRUE));
    EXPECT_EQ(LiveGdiObjects(), before + 3);
    DeleteObject(bitmap);
    DeleteObject(bitmap);
    EXPECT_EQ(LiveGdiObjects(), before + 2);
    DeleteObject(checkMark);
    DeleteObject(refused);
    EXPECT_EQ(LiveGdiObjects(), before);
    DestroyWindow(window);
    PumpMessages();
}
