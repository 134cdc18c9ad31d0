// The tray icon of the real program, driven from outside as the taskbar would.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "e2e/support/ProgramProcess.h"

namespace {
constexpr DWORD STARTUP_MS = 15000;
constexpr DWORD APPEAR_MS = 5000;
constexpr UINT TRAY_NOTIFY = WM_USER + 4;
constexpr UINT TRAY_ICON_ID = 0x55AA55AA;

// Asks the taskbar whether it holds the program's icon: modifying nothing succeeds only
// then. Looked up at run time, so that end-to-end tests need no shell library of their own.
bool TaskbarHoldsIcon(HWND mainWindow, DWORD message = NIM_MODIFY) {
    using NotifyIcon = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
    static const auto notifyIcon = reinterpret_cast<NotifyIcon>(reinterpret_cast<void (*)()>(
        GetProcAddress(LoadLibraryA("shell32.dll"), "Shell_NotifyIconA")));
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = mainWindow;
    probe.uID = TRAY_ICON_ID;
    return notifyIcon(message, &probe) != FALSE;
}

void DropIconAsATaskbarRestartWould(HWND mainWindow) {
    TaskbarHoldsIcon(mainWindow, NIM_DELETE);
}

bool OfProcess(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title,
                                  bool visibleOnly) {
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, title)) != nullptr) {
        if (OfProcess(window, processId) && (!visibleOnly || IsWindowVisible(window))) {
            found.push_back(window);
        }
    }
    return found;
}

HWND WaitForMenu(DWORD processId, DWORD timeoutMs) {
    HWND menu = nullptr;
    WaitUntil(timeoutMs, [&] {
        const std::vector<HWND> menus = TopLevelWindows(processId, "#32768", nullptr, true);
        menu = menus.empty() ? nullptr : menus.front();
        return menu != nullptr;
    });
    return menu;
}

void PressKeys(HWND window, std::initializer_list<WPARAM> keys) {
    for (WPARAM key : keys) {
        PostMessageA(window, WM_KEYDOWN, key, 0);
        PostMessageA(window, WM_KEYUP, key, 0);
    }
}

class TrayTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.Start("Tarvolen.exe"));
        mainWindow = WaitForMainWindow(STARTUP_MS);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(WaitUntil(APPEAR_MS, [this] { return TaskbarHoldsIcon(mainWindow); }));
    }

    // Right-clicks the icon and waits for the program's menu.
    HWND OpenMenu() {
        PostMessageA(mainWindow, TRAY_NOTIFY, 0, WM_RBUTTONUP);
        return WaitForMenu(program.Id(), APPEAR_MS);
    }

    std::vector<HWND> AboutDialogs() {
        return TopLevelWindows(program.Id(), "#32770", "About", false);
    }

    void ExpectEndsCleanly() {
        DWORD exitCode = 99;
        ASSERT_TRUE(program.WaitForExit(STARTUP_MS, exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(FindWindowA("TARVOLENV10", "Tarvolen"), nullptr);
        EXPECT_FALSE(TaskbarHoldsIcon(mainWindow));
    }

    ProgramProcess program;
    HWND mainWindow = nullptr;
};

TEST_F(TrayTest, AboutTwiceThenExitWithTheDialogOpenEndsTheProgramWithoutIcon) {
    // Left clicks and double clicks open nothing.
    PostMessageA(mainWindow, TRAY_NOTIFY, 0, WM_LBUTTONUP);
    PostMessageA(mainWindow, TRAY_NOTIFY, 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ(WaitForMenu(program.Id(), 500), nullptr);

    ASSERT_TRUE(SetCursorPos(700, 600));
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    RECT area;
    GetWindowRect(menu, &area);
    EXPECT_EQ(area.right, 700);
    EXPECT_EQ(area.bottom, 600);
    PressKeys(menu, {VK_DOWN, VK_RETURN});
    // The dialog exists before it has been centred and shown: wait for it to be visible.
    ASSERT_TRUE(WaitUntil(APPEAR_MS, [this] {
        const std::vector<HWND> dialogs = AboutDialogs();
        return !dialogs.empty() && IsWindowVisible(dialogs.front());
    }));
    const HWND dialog = AboutDialogs().front();
    GetWindowRect(dialog, &area);
    EXPECT_EQ(area.left, (1024 - (area.right - area.left)) / 2);
    EXPECT_EQ(area.top, (768 - (area.bottom - area.top)) / 2);

    menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    PressKeys(menu, {VK_DOWN, VK_RETURN});
    ASSERT_TRUE(WaitUntil(APPEAR_MS, [&] { return !IsWindow(menu) || !IsWindowVisible(menu); }));
    Sleep(300);
    EXPECT_EQ(AboutDialogs(), std::vector<HWND>{dialog});

    menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    PressKeys(menu, {VK_DOWN, VK_DOWN, VK_RETURN});
    ExpectEndsCleanly();
}

TEST_F(TrayTest, DismissingTheMenuRunsNothingAndClosingTheDialogLetsAboutOpenAgain) {
    HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    PressKeys(menu, {VK_ESCAPE});
    ASSERT_TRUE(WaitUntil(APPEAR_MS, [&] { return !IsWindow(menu) || !IsWindowVisible(menu); }));
    Sleep(300);
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(AboutDialogs().empty());

    for (int round = 0; round < 2; ++round) {
        menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        PressKeys(menu, {VK_DOWN, VK_RETURN});
        ASSERT_TRUE(WaitUntil(APPEAR_MS, [this] { return AboutDialogs().size() == 1; }));
        const HWND dialog = AboutDialogs().front();
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        // Gone for good, not kept hidden for the rest of the run.
        EXPECT_TRUE(WaitUntil(APPEAR_MS, [this] { return AboutDialogs().empty(); }));
    }

    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    ExpectEndsCleanly();
}

TEST_F(TrayTest, ARestartedTaskbarGetsTheIconBack) {
    DropIconAsATaskbarRestartWould(mainWindow);
    ASSERT_FALSE(TaskbarHoldsIcon(mainWindow));

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitUntil(APPEAR_MS, [this] { return TaskbarHoldsIcon(mainWindow); }));

    // The icon that came back still opens the menu.
    const HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    PressKeys(menu, {VK_DOWN, VK_DOWN, VK_RETURN});
    ExpectEndsCleanly();
}
}  // namespace
