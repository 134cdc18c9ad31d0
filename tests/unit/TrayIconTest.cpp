// The notification-area icon, its menu and what the menu's commands do.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
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
constexpr DWORD MENU_WAIT_MS = 5000;

// Asks the taskbar whether it still holds the icon: modifying nothing succeeds only then.
bool TaskbarHoldsIcon(HWND window) {
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = window;
    probe.uID = TRAY_ICON_ID;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

HWND VisibleMenuWindow() {
    HWND menu = nullptr;
    while ((menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) != nullptr) {
        if (IsWindowVisible(menu)) {
            return menu;
        }
    }
    return nullptr;
}

// The menu loop blocks this thread, so a second one waits for the menu, notes where it
// appeared and what it holds, and then presses the given keys on it.
class MenuDriver {
public:
    explicit MenuDriver(std::vector<WPARAM> keys, DWORD waitMs = MENU_WAIT_MS)
        : worker([this, keys, waitMs] { Drive(keys, waitMs); }) {}
    ~MenuDriver() { Join(); }

    void Join() {
        if (worker.joinable()) {
            worker.join();
        }
    }

    bool seen = false;
    RECT area = {};
    HMENU popup = nullptr;
    std::vector<UINT> commands;

private:
    void Drive(const std::vector<WPARAM>& keys, DWORD waitMs) {
        HWND menu = nullptr;
        const DWORD start = GetTickCount();
        while (!(menu = VisibleMenuWindow())) {
            if (GetTickCount() - start > waitMs) {
                return;
            }
            Sleep(10);
        }
        seen = true;
        GetWindowRect(menu, &area);
        popup = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            commands.push_back(GetMenuItemID(popup, i));
        }
        for (WPARAM key : keys) {
            PostMessageA(menu, WM_KEYDOWN, key, 0);
            PostMessageA(menu, WM_KEYUP, key, 0);
        }
    }

    std::thread worker;
};

void CloseAboutDialog() {
    if (aboutDialog) {
        DestroyWindow(aboutDialog);
    }
    PumpMessages();
}

class TrayIconTest : public testing::Test {
protected:
    void SetUp() override { ResetCallCounts(); }
    void TearDown() override {
        CloseAboutDialog();
        appInstance = GetModuleHandleA(nullptr);
        SetTrayIcon(mainWindowHandle, true);
        PumpMessages();
    }
};

TEST_F(TrayIconTest, TheMainWindowAddsTheIconWithItsRecord) {
    EXPECT_EQ(trayIconData.cbSize, 88u);
    EXPECT_EQ(trayIconData.hWnd, mainWindowHandle);
    EXPECT_EQ(trayIconData.uID, 0x55AA55AAu);
    EXPECT_EQ(trayIconData.uFlags, 7u);
    EXPECT_EQ(trayIconData.uCallbackMessage, 1028u);
    EXPECT_STREQ(trayIconData.szTip, "Tarvolen");
    ASSERT_NE(trayIconData.hIcon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(trayIconData.hIcon, &info));
    BITMAP mask = {};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(mask.bmWidth, 16);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) {
        DeleteObject(info.hbmColor);
    }
    EXPECT_TRUE(TaskbarHoldsIcon(mainWindowHandle));
}

TEST_F(TrayIconTest, RemovingTakesTheIconOffAndARestartedTaskbarGetsItBack) {
    ASSERT_TRUE(TaskbarHoldsIcon(mainWindowHandle));
    const HICON image = trayIconData.hIcon;
    EXPECT_EQ(SetTrayIcon(mainWindowHandle, false), 0);
    EXPECT_FALSE(TaskbarHoldsIcon(mainWindowHandle));
    // Removing again is harmless.
    EXPECT_EQ(SetTrayIcon(mainWindowHandle, false), 0);

    ResetCallCounts();
    SendMessageA(mainWindowHandle, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(TaskbarHoldsIcon(mainWindowHandle));
    // Each restart must not cost another icon image.
    EXPECT_EQ(CallCount("LoadImageA"), 0);
    EXPECT_EQ(trayIconData.hIcon, image);

    // A broadcast while the icon is still there leaves one icon, which one removal takes.
    SendMessageA(mainWindowHandle, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    SetTrayIcon(mainWindowHandle, false);
    EXPECT_FALSE(TaskbarHoldsIcon(mainWindowHandle));
}

TEST_F(TrayIconTest, RightButtonReleaseOpensTheMenuWithItsCornerAtTheMouse) {
    ASSERT_TRUE(SetCursorPos(600, 500));
    MenuDriver driver({VK_ESCAPE});
    SendMessageA(mainWindowHandle, WM_TRAY_NOTIFY, 0, WM_RBUTTONUP);
    driver.Join();

    ASSERT_TRUE(driver.seen);
    EXPECT_EQ(driver.area.right, 600);
    EXPECT_EQ(driver.area.bottom, 500);
    EXPECT_EQ(driver.commands, (std::vector<UINT>{ID_TRAY_ABOUT, ID_TRAY_EXIT}));
    EXPECT_EQ(CallCount("TrackPopupMenu"), 1);
    // Dismissed: no command ran, and the menu loaded for this click is gone again.
    EXPECT_EQ(aboutDialog, nullptr);
    EXPECT_EQ(CallCount("CreateDialogParamA"), 0);
    EXPECT_TRUE(IsWindow(mainWindowHandle));
    EXPECT_FALSE(IsMenu(driver.popup));
}

TEST_F(TrayIconTest, OtherMouseEventsOnTheIconOpenNothing) {
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                       WM_RBUTTONDBLCLK, WM_MBUTTONUP, WM_MOUSEMOVE}) {
        // Should a menu open after all, it is dismissed rather than blocking the test.
        MenuDriver driver({VK_ESCAPE}, 300);
        SendMessageA(mainWindowHandle, WM_TRAY_NOTIFY, 0, mouse);
        driver.Join();
        EXPECT_FALSE(driver.seen) << "mouse message " << mouse;
    }
    EXPECT_EQ(CallCount("TrackPopupMenu"), 0);
}

TEST_F(TrayIconTest, TheMenuReturnsTheChosenCommandOrZero) {
    struct Case {
        std::vector<WPARAM> keys;
        int command;
    };
    const Case cases[] = {
        {{VK_DOWN, VK_RETURN}, ID_TRAY_ABOUT},
        {{VK_DOWN, VK_DOWN, VK_RETURN}, ID_TRAY_EXIT},
        {{VK_ESCAPE}, 0},
    };
    for (const Case& c : cases) {
        MenuDriver driver(c.keys);
        EXPECT_EQ(TrackTrayMenu(mainWindowHandle, 500, 400), c.command);
        driver.Join();
        EXPECT_TRUE(driver.seen);
        EXPECT_FALSE(IsMenu(driver.popup));
    }
    // Choosing is all it does: the main window lives on, no dialog opened.
    EXPECT_TRUE(IsWindow(mainWindowHandle));
    EXPECT_EQ(aboutDialog, nullptr);
}

TEST_F(TrayIconTest, AboutFromTheMenuTwiceOpensOneDialogAndFocusesIt) {
    for (int i = 0; i < 2; ++i) {
        MenuDriver driver({VK_DOWN, VK_RETURN});
        SendMessageA(mainWindowHandle, WM_TRAY_NOTIFY, 0, WM_RBUTTONUP);
        driver.Join();
        PumpMessages();
        ASSERT_NE(aboutDialog, nullptr);
        if (i == 0) {
            // Something else takes the focus before the second choice.
            SetFocus(mainWindowHandle);
        }
    }
    EXPECT_EQ(CallCount("CreateDialogParamA"), 1);
    EXPECT_TRUE(IsWindowVisible(aboutDialog));
    const HWND focus = GetFocus();
    EXPECT_TRUE(focus == aboutDialog || IsChild(aboutDialog, focus));
    int aboutWindows = 0;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, nullptr, "About")) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        aboutWindows += process == GetCurrentProcessId() ? 1 : 0;
    }
    EXPECT_EQ(aboutWindows, 1);
}

TEST_F(TrayIconTest, AMenuThatCannotBeLoadedRunsNoCommand) {
    // A module without the menu resource stands in for a damaged executable.
    const HINSTANCE withoutMenu = GetModuleHandleA("kernel32.dll");
    ASSERT_EQ(FindResourceA(withoutMenu, MAKEINTRESOURCEA(IDM_TRAY), MAKEINTRESOURCEA(4)), nullptr);
    appInstance = withoutMenu;

    EXPECT_EQ(TrackTrayMenu(mainWindowHandle, 500, 400), -1);
    MenuDriver driver({VK_DOWN, VK_RETURN}, 300);
    SendMessageA(mainWindowHandle, WM_TRAY_NOTIFY, 0, WM_RBUTTONUP);
    driver.Join();
    EXPECT_FALSE(driver.seen);
    EXPECT_EQ(CallCount("TrackPopupMenu"), 0);
    EXPECT_EQ(CallCount("CreateDialogParamA"), 0);
    EXPECT_TRUE(IsWindow(mainWindowHandle));
}
}  // namespace
