// Which windows in front get a sign, and that each gets exactly one.
#include <gtest/gtest.h>

#include <vector>

#include "app/ForegroundWatcher.h"
#include "app/MainWindow.h"
#include "sign/SignWindow.h"
#include "support/TestSupport.h"

namespace {
class ForegroundWatcherTest : public testing::Test {
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

    // The signs of one target, or of every target when it is null.
    static std::vector<SignWindow*> SignsOf(HWND target) {
        std::vector<SignWindow*> signs;
        handleRegistry.Walk([&](HWND, ScreenWindow* object) {
            auto* sign = dynamic_cast<SignWindow*>(object);
            if (sign && (!target || sign->Target() == target)) {
                signs.push_back(sign);
            }
        });
        return signs;
    }

    std::vector<HWND> windows;
};

// Titles compare exactly, case and blanks included; a title longer than the buffer is read
// cut short and still counts.
TEST_F(ForegroundWatcherTest, ComparesTitlesExactly) {
    const std::pair<const char*, bool> titles[] = {
        {"Screen Saver", false},
        {"Tarvolen", false},
        {"", false},
        {"screen saver", true},
        {"Screen Saver ", true},
        {"Screen Saver2", true},
        {"TARVOLEN", true},
        {"Tarvolen ", true},
        {" Tarvolen", true},
        {"A rather long document title that goes well past sixty-four characters", true}};
    for (const auto& [title, signable] : titles) {
        TestWindowOptions options;
        options.title = title;
        EXPECT_EQ(IsSignableWindow(Window(options)), signable) << '"' << title << '"';
    }
    EXPECT_FALSE(IsSignableWindow(mainWindowHandle));
}

TEST_F(ForegroundWatcherTest, RefusesWindowsInTheWrongStateOwnedPopupsAndSmallWindows) {
    HWND window = Window();
    EXPECT_TRUE(IsSignableWindow(window));
    for (int command : {SW_MINIMIZE, SW_MAXIMIZE, SW_HIDE}) {
        ShowWindow(window, command);
        EXPECT_FALSE(IsSignableWindow(window)) << "show command " << command;
        ShowWindow(window, SW_RESTORE);
        EXPECT_TRUE(IsSignableWindow(window)) << "restored from " << command;
    }
    TestWindowOptions tool;
    tool.exStyle = WS_EX_TOOLWINDOW;
    EXPECT_FALSE(IsSignableWindow(Window(tool)));

    // Only a visible owner rules its popups out.
    TestWindowOptions popup;
    popup.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    popup.owner = window;
    HWND dialog = Window(popup);
    EXPECT_FALSE(IsSignableWindow(dialog));
    ShowWindow(window, SW_HIDE);
    EXPECT_TRUE(IsSignableWindow(dialog));

    // Borderless, so that no frame imposes a minimum size.
    for (SIZE size : {SIZE{11, 76}, SIZE{10, 76}, SIZE{11, 75}}) {
        TestWindowOptions options;
        options.style = WS_POPUP | WS_VISIBLE;
        options.width = size.cx;
        options.height = size.cy;
        EXPECT_EQ(IsSignableWindow(Window(options)), size.cx >= 11 && size.cy >= 76)
            << size.cx << " x " << size.cy;
    }
    EXPECT_FALSE(IsSignableWindow(nullptr));
}

TEST_F(ForegroundWatcherTest, WindowInFrontGetsExactlyOneSignOnTheFirstTickItQualifies) {
    HWND window = Window();
    BringToFront(window);
    ShowWindow(window, SW_MAXIMIZE);
    RunTicks(3);
    EXPECT_TRUE(SignsOf(window).empty());

    ShowWindow(window, SW_RESTORE);
    BringToFront(window);
    RunTicks(1);
    ASSERT_EQ(SignsOf(window).size(), 1u);
    EXPECT_EQ(SignsOf(window)[0]->Kind(), KIND_SIGN);
    EXPECT_EQ(GetWindow(SignsOf(window)[0]->Window(), GW_OWNER), window);
    RunTicks(5);
    EXPECT_EQ(SignsOf(nullptr).size(), 1u);
}
}  // namespace
