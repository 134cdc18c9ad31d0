// Which windows in front get a sign, and that each gets exactly one.
#include <gtest/gtest.h>

#include <vector>

#include "app/ForegroundWatcher.h"
#include "app/MainWindow.h"
#include "sign/SignWindow.h"
#include "support/TestSupport.h"

namespace {
// The signs of one target, or of every target when it is null.
std::vector<SignWindow*> SignsOf(HWND target) {
    std::vector<SignWindow*> signs;
    handleRegistry.Walk([&](HWND, ScreenWindow* object) {
        auto* sign = dynamic_cast<SignWindow*>(object);
        if (sign && (!target || sign->Target() == target)) {
            signs.push_back(sign);
        }
    });
    return signs;
}

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
        HWND window = CreateTestWindow(options);
        windows.push_back(window);
        return window;
    }

    HWND Titled(const char* title) {
        TestWindowOptions options;
        options.title = title;
        return Window(options);
    }

    // A borderless window, so that no frame imposes a minimum size.
    HWND Sized(int width, int height) {
        TestWindowOptions options;
        options.style = WS_POPUP | WS_VISIBLE;
        options.width = width;
        options.height = height;
        return Window(options);
    }

    std::vector<HWND> windows;
};

TEST_F(ForegroundWatcherTest, ComparesTitlesExactly) {
    EXPECT_FALSE(IsSignableWindow(Titled("Screen Saver")));
    EXPECT_FALSE(IsSignableWindow(Titled("Tarvolen")));
    EXPECT_FALSE(IsSignableWindow(Titled("")));

    EXPECT_TRUE(IsSignableWindow(Titled("screen saver")));
    EXPECT_TRUE(IsSignableWindow(Titled("Screen Saver ")));
    EXPECT_TRUE(IsSignableWindow(Titled("Screen Saver2")));
    EXPECT_TRUE(IsSignableWindow(Titled("TARVOLEN")));
    EXPECT_TRUE(IsSignableWindow(Titled("Tarvolen ")));
    EXPECT_TRUE(IsSignableWindow(Titled(" Tarvolen")));
    // Longer than the title buffer: read truncated, still a title.
    EXPECT_TRUE(IsSignableWindow(
        Titled("A rather long document title that goes well past sixty-four characters")));

    EXPECT_FALSE(IsSignableWindow(mainWindowHandle));
}

TEST_F(ForegroundWatcherTest, RefusesWindowsInTheWrongState) {
    HWND window = Window();
    EXPECT_TRUE(IsSignableWindow(window));

    ShowWindow(window, SW_MINIMIZE);
    EXPECT_FALSE(IsSignableWindow(window));
    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(IsSignableWindow(window));
    ShowWindow(window, SW_MAXIMIZE);
    EXPECT_FALSE(IsSignableWindow(window));
    ShowWindow(window, SW_RESTORE);
    ShowWindow(window, SW_HIDE);
    EXPECT_FALSE(IsSignableWindow(window));

    TestWindowOptions tool;
    tool.exStyle = WS_EX_TOOLWINDOW;
    EXPECT_FALSE(IsSignableWindow(Window(tool)));
}

TEST_F(ForegroundWatcherTest, RefusesPopupsOwnedByVisibleWindows) {
    HWND owner = Window();
    TestWindowOptions popup;
    popup.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    popup.owner = owner;
    HWND dialog = Window(popup);
    EXPECT_FALSE(IsSignableWindow(dialog));

    // Only a visible owner rules its popups out.
    ShowWindow(owner, SW_HIDE);
    EXPECT_TRUE(IsSignableWindow(dialog));
}

TEST_F(ForegroundWatcherTest, NeedsElevenBySeventySixPixels) {
    EXPECT_TRUE(IsSignableWindow(Sized(11, 76)));
    EXPECT_FALSE(IsSignableWindow(Sized(10, 76)));
    EXPECT_FALSE(IsSignableWindow(Sized(11, 75)));
    EXPECT_FALSE(IsSignableWindow(nullptr));
}

TEST_F(ForegroundWatcherTest, WindowInFrontGetsExactlyOneSignOnTheFirstTick) {
    HWND window = Window();
    BringToFront(window);
    ASSERT_EQ(GetForegroundWindow(), window);

    RunTicks(1);
    const std::vector<SignWindow*> signs = SignsOf(window);
    ASSERT_EQ(signs.size(), 1u);
    EXPECT_EQ(signs[0]->Kind(), KIND_SIGN);
    EXPECT_EQ(GetWindow(signs[0]->Window(), GW_OWNER), window);

    RunTicks(5);
    EXPECT_EQ(SignsOf(window).size(), 1u);
    EXPECT_EQ(SignsOf(nullptr).size(), 1u);

    // Every other window brought to the front gets its own.
    HWND second = Window();
    BringToFront(second);
    RunTicks(2);
    BringToFront(window);
    RunTicks(2);
    EXPECT_EQ(SignsOf(second).size(), 1u);
    EXPECT_EQ(SignsOf(window).size(), 1u);
    EXPECT_EQ(SignsOf(nullptr).size(), 2u);
}

TEST_F(ForegroundWatcherTest, RestoredWindowGetsItsSignOnceRestored) {
    HWND window = Window();
    BringToFront(window);
    ShowWindow(window, SW_MAXIMIZE);
    BringToFront(window);
    RunTicks(3);
    EXPECT_TRUE(SignsOf(window).empty());

    ShowWindow(window, SW_RESTORE);
    BringToFront(window);
    RunTicks(1);
    EXPECT_EQ(SignsOf(window).size(), 1u);
}
}  // namespace
