// The import-table counter that the leak and call-count checks of other tests rely on.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "support/ApiCounter.h"
#include "support/TestSupport.h"

TEST(ApiCounterTest, CountsCallsOfThisBinaryAndResets) {
    HWND window = CreateTestWindow();
    ResetCallCounts();
    SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(window, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(CallCount("SetWindowPos"), 2);
    EXPECT_EQ(CallCount("DestroyWindow"), 0);

    // The shim forwards: the window really moved.
    RECT area;
    GetWindowRect(window, &area);
    EXPECT_EQ(area.left, 20);

    DestroyWindow(window);
    EXPECT_EQ(CallCount("DestroyWindow"), 1);
    ResetCallCounts();
    EXPECT_EQ(CallCount("SetWindowPos"), 0);
}

TEST(ApiCounterTest, CatchesALeakedBitmapAndDc) {
    const int before = LiveGdiObjects();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    EXPECT_EQ(LiveGdiObjects(), before + 3);

    ReleaseDC(nullptr, screen);
    DeleteDC(memory);
    EXPECT_EQ(LiveGdiObjects(), before + 1) << "the bitmap is still alive";
    DeleteObject(bitmap);
    EXPECT_EQ(LiveGdiObjects(), before);

    // Deleting something twice does not hide a leak elsewhere.
    HBITMAP leaked = CreateBitmap(4, 4, 1, 1, nullptr);
    DeleteObject(bitmap);
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    DeleteObject(leaked);
}

TEST(ApiCounterTest, RegionGivenToAWindowIsNoLongerCounted) {
    HWND window = CreateTestWindow();
    const int before = LiveGdiObjects();
    HRGN region = CreateRectRgn(0, 0, 50, 50);
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    ASSERT_TRUE(SetWindowRgn(window, region, TRUE));
    EXPECT_EQ(LiveGdiObjects(), before);

    // Refused: the caller still owns it.
    HRGN refused = CreateRectRgn(0, 0, 5, 5);
    EXPECT_FALSE(SetWindowRgn(reinterpret_cast<HWND>(0x1234), refused, TRUE));
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    DeleteObject(refused);
    DestroyWindow(window);
    PumpMessages();
}

TEST(ApiCounterTest, OnlyLoadedBitmapsCountAsGdiObjects) {
    constexpr WORD SYSTEM_ARROW_CURSOR = 32512;
    constexpr WORD SYSTEM_CHECK_BITMAP = 32760;
    const int before = LiveGdiObjects();
    HANDLE cursor = LoadImageA(nullptr, MAKEINTRESOURCEA(SYSTEM_ARROW_CURSOR), IMAGE_CURSOR, 0, 0,
                               LR_SHARED | LR_DEFAULTSIZE);
    EXPECT_NE(cursor, nullptr);
    HANDLE bitmap =
        LoadImageA(nullptr, MAKEINTRESOURCEA(SYSTEM_CHECK_BITMAP), IMAGE_BITMAP, 0, 0, 0);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(LiveGdiObjects(), before + 1);
    DeleteObject(bitmap);
    EXPECT_EQ(LiveGdiObjects(), before);
    EXPECT_GE(CallCount("LoadImageA"), 2);
}

TEST(ApiCounterTest, ShellRequestsAreRecordedNotCarriedOut) {
    ResetCallCounts();
    HINSTANCE result =
        ShellExecuteA(nullptr, "Open", "http://example.invalid/", nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<INT_PTR>(result), 32);
    EXPECT_EQ(CallCount("ShellExecuteA"), 1);
    EXPECT_EQ(LastShellRequest().verb, "Open");
    EXPECT_EQ(LastShellRequest().file, "http://example.invalid/");
    EXPECT_EQ(LastShellRequest().showCommand, SW_SHOWNORMAL);
}
