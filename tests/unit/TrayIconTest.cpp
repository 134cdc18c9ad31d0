// The tray icon's menu. Where it appears, the About dialog it opens, the icon itself and what
// Exit does are watched from outside (ProgramTest).
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "app/TrayIcon.h"
#include "resource.h"
#include "support/TestSupport.h"

namespace {
// Runs the action, whose menu loop blocks this thread, while a second thread waits for the
// menu and presses the keys on it. The menu it showed, or null when none came.
HMENU WithMenu(const std::vector<WPARAM>& keys, const std::function<void()>& action,
               DWORD waitMs = 5000) {
    HMENU shown = nullptr;
    std::thread driver([&] {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < waitMs; Sleep(10)) {
            HWND menu = FindWindowA("#32768", nullptr);
            if (menu && IsWindowVisible(menu)) {
                shown = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
                for (WPARAM key : keys) {
                    PostMessageA(menu, WM_KEYDOWN, key, 0);
                    PostMessageA(menu, WM_KEYUP, key, 0);
                }
                return;
            }
        }
    });
    action();
    driver.join();
    PumpMessages();
    return shown;
}

// The menu loaded for each opening is gone again afterwards; choosing runs no command here.
TEST(TrayIconTest, OnlyARightButtonReleaseOpensTheMenuWhichGoesAgainOnceClosed) {
    for (UINT mouse : {WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}) {
        const bool opens = mouse == WM_RBUTTONUP;
        const auto notify = [mouse] { SendMessageA(mainWindowHandle, WM_TRAY_NOTIFY, 0, mouse); };
        EXPECT_EQ(WithMenu({VK_ESCAPE}, notify, opens ? 5000 : 300) != nullptr, opens) << mouse;
    }
    for (const auto& [keys, command] :
         {std::pair{std::vector<WPARAM>{VK_DOWN, VK_RETURN}, int(ID_TRAY_ABOUT)},
          {{VK_DOWN, VK_DOWN, VK_RETURN}, int(ID_TRAY_EXIT)},
          {{VK_ESCAPE}, 0}}) {
        int chosen = -2;
        const HMENU shown =
            WithMenu(keys, [&] { chosen = TrackTrayMenu(mainWindowHandle, 500, 400); });
        EXPECT_NE(shown, nullptr);
        EXPECT_EQ(chosen, command);
        EXPECT_FALSE(IsMenu(shown));
    }
    EXPECT_EQ(aboutDialog, nullptr);
}
}  // namespace
