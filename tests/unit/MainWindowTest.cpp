// The handle registry, the windows that get a sign, and the quiet settings the tick reads.
// The soak holds the tick to one sign a window, and ends with the orderly shutdown.
#include <gtest/gtest.h>

#include <vector>

#include "app/ForegroundWatcher.h"
#include "app/MainWindow.h"
#include "gfx/QuietSettings.h"
#include "support/TestBitmaps.h"
#include "support/TestSupport.h"

namespace {
class MainWindowTest : public testing::Test {
protected:
    void TearDown() override {
        DestroyAllSprites();
        for (HWND window : windows) {
            DestroyWindow(window);
        }
        PumpMessages();
    }
    HWND Window(TestWindowOptions options = {}) {
        windows.push_back(CreateTestWindow(options));
        return windows.back();
    }
    std::vector<HWND> windows;
};

// Entries added ahead of the walk are visited in it, removed ones do not derail it; the
// order is by unsigned handle value.
TEST_F(MainWindowTest, RegistryWalksInAscendingHandleOrderWhileEntriesComeAndGo) {
    ScreenWindow objects[6];
    const auto fake = [](uintptr_t key) { return reinterpret_cast<HWND>(key); };
    for (uintptr_t key : {0x30u, 0x10u, 0x20u, 0x80000010u}) {
        handleRegistry.Add(fake(key), &objects[0]);
    }
    std::vector<uintptr_t> visited;
    handleRegistry.Walk([&](HWND window, ScreenWindow*) {
        visited.push_back(reinterpret_cast<uintptr_t>(window));
        handleRegistry.Remove(window);
        if (window == fake(0x20)) {
            handleRegistry.Add(fake(0x28), &objects[1]);
            handleRegistry.Add(fake(0x18), &objects[2]);
        }
    });
    EXPECT_EQ(visited, (std::vector<uintptr_t>{0x10, 0x20, 0x28, 0x30, 0x80000010u}));
    handleRegistry.Remove(fake(0x18));
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(KindForWindow(GetDesktopWindow()), KIND_NONE);
}

// Titles compare exactly; a title longer than the buffer is read cut short and still counts.
TEST_F(MainWindowTest, OnlyOrdinaryWindowsOfSomeSizeGetASign) {
    for (const auto& [title, signable] :
         {std::pair{"Screen Saver", false},
          {"Tarvolen", false},
          {"", false},
          {"screen saver", true},
          {"Tarvolen ", true},
          {"A rather long document title that goes well past sixty-four characters", true}}) {
        EXPECT_EQ(IsSignableWindow(Window({title})), signable) << '"' << title << '"';
    }
    EXPECT_FALSE(IsSignableWindow(mainWindowHandle));
    HWND window = Window();
    FakeFrames frames(0);
    frames.Cloak(window);
    EXPECT_FALSE(IsSignableWindow(window)) << "cloaked";
    frames.Cloak(nullptr);
    for (int command : {SW_MINIMIZE, SW_MAXIMIZE, SW_HIDE}) {
        ShowWindow(window, command);
        EXPECT_FALSE(IsSignableWindow(window)) << "show command " << command;
        ShowWindow(window, SW_RESTORE);
    }
    EXPECT_FALSE(IsSignableWindow(Window({"Tool", 0, 0, 99, 99, WS_VISIBLE, WS_EX_TOOLWINDOW})));
    // Only a visible owner rules its popups out.
    const HWND dialog =
        Window({"Dialog", 0, 0, 99, 99, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, window});
    EXPECT_FALSE(IsSignableWindow(dialog));
    ShowWindow(window, SW_HIDE);
    EXPECT_TRUE(IsSignableWindow(dialog));
    // Borderless, so that no frame imposes a minimum size; it grows with the scale.
    const struct {
        UINT dpi;
        int width, height;
        bool signable;
    } sizes[] = {{96, 11, 76, true},   {96, 10, 76, false},   {96, 11, 75, false},
                 {120, 11, 76, true},  {144, 21, 152, false}, {144, 22, 151, false},
                 {144, 22, 152, true}, {288, 33, 228, true},  {288, 32, 228, false}};
    for (const auto& size : sizes) {
        FakeMonitors monitors({{{0, 0, 1024, 768}, size.dpi}});
        const HWND small = Window({"Small", 0, 0, size.width, size.height, WS_POPUP | WS_VISIBLE});
        EXPECT_EQ(IsSignableWindow(small), size.signable)
            << size.dpi << " dpi, " << size.width << " x " << size.height;
    }
}

// Quitting takes the tray icon along; the soak's last step checks what else goes with it.
TEST_F(MainWindowTest, QuittingTakesTheTrayIconAlong) {
    const HWND window = mainWindowHandle;
    ASSERT_TRUE(TaskbarHolds(window));
    DestroyWindow(window);
    EXPECT_FALSE(TaskbarHolds(window));
    ASSERT_TRUE(RestartMainWindow());
}

TEST_F(MainWindowTest, ReadsTheQuietSettingsAtStartEveryTwentiethTickAndOnAChange) {
    FakeQuietSettings quiet;
    quiet.Answer(false, NOTIFICATION_STATE_BUSY);
    DestroyWindow(mainWindowHandle);
    ASSERT_TRUE(RestartMainWindow());
    EXPECT_FALSE(AnimationsOn());
    EXPECT_TRUE(UserWantsQuiet());
    quiet.Answer(true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
    RunTicks(40);
    EXPECT_EQ(quiet.AnimationReads(), 2);
    EXPECT_EQ(quiet.StateReads(), 2);
    EXPECT_TRUE(AnimationsOn());
    EXPECT_FALSE(UserWantsQuiet());
    // The word that the animation setting changed is not kept waiting for the next read.
    quiet.Answer(false, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
    constexpr WPARAM SET_CLIENT_AREA_ANIMATION = 0x1043;
    SendMessageA(mainWindowHandle, WM_SETTINGCHANGE, SET_CLIENT_AREA_ANIMATION, 0);
    EXPECT_FALSE(AnimationsOn());
}

}  // namespace
