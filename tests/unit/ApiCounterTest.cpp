// The import-table counter that the leak checks of other tests rely on: were it blind to
// some kind of object, those checks would pass without proving anything. Its call counts and
// shell requests are read by the sign tests, which fail when it stops seeing them.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/ApiCounter.h"
#include "support/TestSupport.h"

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
