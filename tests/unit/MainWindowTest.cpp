// The handle registry and the sprite window procedure, the tick that drives every sprite and
// gives the window in front its sign, the quiet settings it reads, and the orderly shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "app/ForegroundWatcher.h"
#include "app/MainWindow.h"
#include "gfx/QuietSettings.h"
#include "support/ApiCounter.h"
#include "support/FakeQuietSettings.h"
#include "support/TestSupport.h"

namespace {
struct Journal {
    std::vector<HWND> ticks, queries, destroyed;
    bool deleted = false;
};

// A sprite that writes down what the tick and the window procedure do to it, and can
// pretend to be the sign of a target window.
class JournalSprite : public ScreenWindow {
public:
    JournalSprite(Journal& journal, HWND target) : journal(journal), target(target) {}
    ~JournalSprite() override { journal.deleted = true; }

    void Tick() override { journal.ticks.push_back(window); }
    bool QueryProperty(int id, LONG_PTR& value, ScreenWindow*& object) override {
        journal.queries.push_back(window);
        if (id == PROP_TARGET && target) {
            value = reinterpret_cast<LONG_PTR>(target);
            object = this;
            return true;
        }
        return ScreenWindow::QueryProperty(id, value, object);
    }
    int HandleMessage(HWND handle, UINT message, WPARAM, LPARAM) override {
        if (message == WM_DESTROY) {
            journal.destroyed.push_back(handle);
        }
        return 0;
    }

private:
    Journal& journal;
    HWND target;
};

std::vector<HWND> Ascending(std::vector<HWND> windows) {
    std::sort(windows.begin(), windows.end(), [](HWND a, HWND b) {
        return reinterpret_cast<uintptr_t>(a) < reinterpret_cast<uintptr_t>(b);
    });
    return windows;
}

class MainWindowTest : public testing::Test {
protected:
    void TearDown() override {
        DestroyAllSprites();
        for (HWND window : windows) {
            DestroyWindow(window);
        }
        PumpMessages();
    }
    HWND Sprite(HWND target = nullptr, HWND owner = mainWindowHandle) {
        auto* sprite = new JournalSprite(journal, target);
        EXPECT_TRUE(sprite->CreateSpriteWindow(mainWindowHandle, owner));
        return sprite->Window();
    }
    HWND Window(TestWindowOptions options = {}) {
        windows.push_back(CreateTestWindow(options));
        return windows.back();
    }

    Journal journal;
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

// Every sprite ticks, in handle order, and only on the tick timer's own id; a sprite in front
// claims itself unasked, the sign of the window in front claims it, so it gets no second.
TEST_F(MainWindowTest, EverySpriteTicksInHandleOrderAndTheWindowInFrontIsClaimed) {
    const HWND target = Window();
    BringToFront(target);
    const std::vector<HWND> sprites = {Sprite(), Sprite(target), Sprite()};
    EXPECT_EQ(SendMessageA(mainWindowHandle, WM_TIMER, timerId + 7, 0), 0);
    EXPECT_TRUE(journal.ticks.empty());
    SendMessageA(mainWindowHandle, WM_TIMER, timerId, 0);
    EXPECT_EQ(journal.ticks, Ascending(sprites));
    RunTicks(2);
    EXPECT_EQ(handleRegistry.Size(), 3u);

    ShowWindow(sprites[2], SW_SHOWNA);
    BringToFront(sprites[2]);
    journal.queries.clear();
    RunTicks(1);
    EXPECT_EQ(std::count(journal.queries.begin(), journal.queries.end(), sprites[2]), 0);
    EXPECT_EQ(handleRegistry.Size(), 3u);
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
    for (const auto& [dpi, width, height, signable] : {std::tuple{96u, 11, 76, true},
                                                       {96u, 10, 76, false},
                                                       {96u, 11, 75, false},
                                                       {120u, 11, 76, true},
                                                       {144u, 21, 152, false},
                                                       {144u, 22, 151, false},
                                                       {144u, 22, 152, true},
                                                       {288u, 33, 228, true},
                                                       {288u, 32, 228, false}}) {
        FakeMonitors monitors({{{0, 0, 1024, 768}, dpi}});
        EXPECT_EQ(IsSignableWindow(Window({"Small", 0, 0, width, height, WS_POPUP | WS_VISIBLE})),
                  signable)
            << dpi << " dpi, " << width << " x " << height;
    }
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

// Like signs, these sprites are owned by another window, so the main window's destruction
// does not take them along before its shutdown runs.
TEST_F(MainWindowTest, ShutdownDestroysSpritesLowestFirstThenStopsTheTimerAndTheIcon) {
    const HWND owner = Window();
    std::vector<HWND> sprites;
    for (int i = 0; i < 5; ++i) {
        sprites.push_back(Sprite(nullptr, owner));
    }
    ResetCallCounts();
    DestroyWindow(mainWindowHandle);
    EXPECT_EQ(journal.destroyed, Ascending(sprites));
    EXPECT_TRUE(journal.deleted);
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(CallCount("Shell_NotifyIconA"), 1);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    ASSERT_TRUE(RestartMainWindow());
}
}  // namespace
