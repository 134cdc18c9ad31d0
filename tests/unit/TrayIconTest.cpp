// The notification-area icon, its menu and what the menu's commands do.
#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "resource.h"
#include "support/ApiCounter.h"
#include "support/TestSupport.h"
#include "windows/SpriteTypes.h"

namespace {
// Asks the taskbar whether it still holds the icon: modifying nothing succeeds only then.
bool TaskbarHoldsIcon() {
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = mainWindowHandle;
    probe.uID = TRAY_ICON_ID;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

struct MenuSeen {
    bool seen = false;
    RECT area = {};
    HMENU popup = nullptr;
};

// Runs the action, whose menu loop blocks this thread, while a second thread waits for the
// menu, notes where it appeared and which menu it shows, and then presses the keys on it.
MenuSeen WithMenu(const std::vector<WPARAM>& keys, const std::function<void()>& action,
                  DWORD waitMs = 5000) {
    MenuSeen result;
    std::thread driver([&] {
        HWND menu = nullptr;
        for (const DWORD start = GetTickCount(); !menu; Sleep(10)) {
            if (GetTickCount() - start > waitMs) {
                return;
            }
            for (HWND w = nullptr; !menu && (w = FindWindowExA(nullptr, w, "#32768", nullptr));) {
                menu = IsWindowVisible(w) ? w : nullptr;
            }
        }
        result.seen = true;
        GetWindowRect(menu, &result.area);
        result.popup = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        for (WPARAM key : keys) {
            PostMessageA(menu, WM_KEYDOWN, key, 0);
            PostMessageA(menu, WM_KEYUP, key, 0);
        }
    });
    action();
    driver.join();
    PumpMessages();
    return result;
}

// What the tray branch of the main window does with one mouse event on the icon.
std::function<void()> NotifyTray(UINT mouse) {
    return [mouse] { SendMessageA(mainWindowHandle, WM_TRAY_NOTIFY, 0, mouse); };
}

class TrayIconTest : public testing::Test {
protected:
    void SetUp() override { ResetCallCounts(); }
    void TearDown() override {
        if (aboutDialog) {
            DestroyWindow(aboutDialog);
        }
        appInstance = GetModuleHandleA(nullptr);
        SetTrayIcon(mainWindowHandle, true);
        PumpMessages();
    }
};

// Removing is harmless twice; a restarted taskbar gets the icon back without another image.
TEST_F(TrayIconTest, TheMainWindowAddsTheIconAndARestartedTaskbarGetsItBack) {
    // The first version of the record: 88 bytes in the 32-bit program.
    static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88);
    EXPECT_EQ(trayIconData.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(trayIconData.hWnd, mainWindowHandle);
    EXPECT_EQ(trayIconData.uID, 0x55AA55AAu);
    EXPECT_EQ(trayIconData.uFlags, 7u);
    EXPECT_EQ(trayIconData.uCallbackMessage, 1028u);
    EXPECT_STREQ(trayIconData.szTip, "Tarvolen");
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(trayIconData.hIcon, &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, 16);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    ASSERT_TRUE(TaskbarHoldsIcon());

    const HICON image = trayIconData.hIcon;
    EXPECT_EQ(SetTrayIcon(mainWindowHandle, false), 0);
    EXPECT_FALSE(TaskbarHoldsIcon());
    EXPECT_EQ(SetTrayIcon(mainWindowHandle, false), 0);
    SendMessageA(mainWindowHandle, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(TaskbarHoldsIcon());
    EXPECT_EQ(CallCount("LoadImageA"), 0);
    EXPECT_EQ(trayIconData.hIcon, image);
    // A broadcast while the icon is still there leaves one icon, which one removal takes.
    SendMessageA(mainWindowHandle, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    SetTrayIcon(mainWindowHandle, false);
    EXPECT_FALSE(TaskbarHoldsIcon());
}

// The menu loaded for each opening is gone again afterwards; choosing is all TrackTrayMenu
// does: the main window lives on, no dialog opens.
TEST_F(TrayIconTest, OnlyARightButtonReleaseOpensTheMenuAtTheMouseAndItReturnsTheChoice) {
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                       WM_RBUTTONDBLCLK, WM_MBUTTONUP, WM_MOUSEMOVE}) {
        // Should a menu open after all, it is dismissed rather than blocking the test.
        EXPECT_FALSE(WithMenu({VK_ESCAPE}, NotifyTray(mouse), 300).seen) << "mouse " << mouse;
    }
    EXPECT_EQ(CallCount("TrackPopupMenu"), 0);
    ASSERT_TRUE(SetCursorPos(600, 500));
    const MenuSeen menu = WithMenu({VK_ESCAPE}, NotifyTray(WM_RBUTTONUP));
    ASSERT_TRUE(menu.seen);
    EXPECT_EQ(menu.area.right, 600);
    EXPECT_EQ(menu.area.bottom, 500);
    EXPECT_FALSE(IsMenu(menu.popup));
    EXPECT_EQ(CallCount("TrackPopupMenu"), 1);

    const std::pair<std::vector<WPARAM>, int> choices[] = {
        {{VK_DOWN, VK_RETURN}, ID_TRAY_ABOUT},
        {{VK_DOWN, VK_DOWN, VK_RETURN}, ID_TRAY_EXIT},
        {{VK_ESCAPE}, 0}};
    for (const auto& [keys, command] : choices) {
        int chosen = -2;
        const MenuSeen seen =
            WithMenu(keys, [&] { chosen = TrackTrayMenu(mainWindowHandle, 500, 400); });
        EXPECT_EQ(chosen, command);
        EXPECT_FALSE(IsMenu(seen.popup));
    }
    EXPECT_TRUE(IsWindow(mainWindowHandle));
    EXPECT_EQ(CallCount("CreateDialogParamA"), 0);
}

TEST_F(TrayIconTest, AMenuThatCannotBeLoadedRunsNoCommand) {
    // A module without the menu resource stands in for a damaged executable.
    appInstance = GetModuleHandleA("kernel32.dll");
    ASSERT_EQ(FindResourceA(appInstance, MAKEINTRESOURCEA(IDM_TRAY), RT_MENU), nullptr);
    EXPECT_EQ(TrackTrayMenu(mainWindowHandle, 500, 400), -1);
    EXPECT_FALSE(WithMenu({VK_DOWN, VK_RETURN}, NotifyTray(WM_RBUTTONUP), 300).seen);
    EXPECT_EQ(CallCount("TrackPopupMenu"), 0);
    EXPECT_EQ(CallCount("CreateDialogParamA"), 0);
    EXPECT_TRUE(IsWindow(mainWindowHandle));
}
}  // namespace
