// The tick that drives every sprite, when it reads the quiet settings, and the orderly
// shutdown of the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/MainWindow.h"
#include "gfx/QuietSettings.h"
#include "support/ApiCounter.h"
#include "support/FakeQuietSettings.h"
#include "support/TestSupport.h"

namespace {
struct Journal {
    std::vector<HWND> ticks;
    std::vector<HWND> queries;
    std::vector<HWND> destroyed;
};

// A sprite that writes down what the tick and the window procedure do to it, and can
// pretend to be the sign of a target window.
class JournalSprite : public ScreenWindow {
public:
    JournalSprite(Journal& journal, HWND target = nullptr) : journal(journal), target(target) {}

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

HWND AddSprite(Journal& journal, HWND target = nullptr, HWND owner = mainWindowHandle) {
    auto* sprite = new JournalSprite(journal, target);
    EXPECT_TRUE(sprite->CreateSpriteWindow(mainWindowHandle, owner));
    return sprite->Window();
}

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
        if (target) {
            DestroyWindow(target);
        }
        PumpMessages();
    }

    Journal journal;
    HWND target = nullptr;
};

TEST_F(MainWindowTest, EverySpriteTicksInHandleOrder) {
    const std::vector<HWND> sprites = {AddSprite(journal), AddSprite(journal), AddSprite(journal)};
    RunTicks(1);
    EXPECT_EQ(journal.ticks, Ascending(sprites));
}

TEST_F(MainWindowTest, ASpriteInFrontClaimsItselfWithoutBeingAsked) {
    const HWND first = AddSprite(journal);
    const HWND second = AddSprite(journal);
    ShowWindow(second, SW_SHOW);
    BringToFront(second);
    ASSERT_EQ(GetForegroundWindow(), second);
    const size_t spritesBefore = handleRegistry.Size();

    RunTicks(1);
    EXPECT_EQ(journal.ticks.size(), 2u);
    EXPECT_EQ(std::count(journal.queries.begin(), journal.queries.end(), second), 0);
    EXPECT_EQ(std::count(journal.queries.begin(), journal.queries.end(), first), 1);
    EXPECT_EQ(handleRegistry.Size(), spritesBefore);
}

TEST_F(MainWindowTest, TheSignOfTheWindowInFrontClaimsIt) {
    target = CreateTestWindow({"Claimed target"});
    BringToFront(target);
    AddSprite(journal);
    AddSprite(journal, target);
    AddSprite(journal);
    const size_t spritesBefore = handleRegistry.Size();

    RunTicks(3);
    // Claimed by its sign, the target never gets a second one.
    EXPECT_EQ(handleRegistry.Size(), spritesBefore);
    EXPECT_EQ(journal.ticks.size(), 9u);
}

TEST_F(MainWindowTest, TimerTicksOnlyWithItsOwnId) {
    AddSprite(journal);
    EXPECT_EQ(SendMessageA(mainWindowHandle, WM_TIMER, timerId + 7, 0), 0);
    EXPECT_TRUE(journal.ticks.empty());
    EXPECT_EQ(SendMessageA(mainWindowHandle, WM_TIMER, timerId, 0), 0);
    EXPECT_EQ(journal.ticks.size(), 1u);
}

TEST_F(MainWindowTest, ReadsTheQuietSettingsAtStartEveryTwentiethTickAndOnAChange) {
    FakeQuietSettings quiet;
    quiet.Answer(false, NOTIFICATION_STATE_BUSY);
    DestroyWindow(mainWindowHandle);
    PumpMessages();
    ASSERT_TRUE(CreateMainWindow(GetModuleHandleA(nullptr), SW_HIDE));
    KillTimer(mainWindowHandle, timerId);
    EXPECT_FALSE(AnimationsOn());
    EXPECT_TRUE(UserWantsQuiet());

    quiet.Answer(true, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
    RunTicks(40);
    EXPECT_EQ(quiet.AnimationReads(), 2);
    EXPECT_EQ(quiet.StateReads(), 2);
    EXPECT_TRUE(AnimationsOn());
    EXPECT_FALSE(UserWantsQuiet());

    // The word that the animation setting changed is not kept waiting for the next read.
    constexpr WPARAM SET_CLIENT_AREA_ANIMATION = 0x1043;
    quiet.Answer(false, NOTIFICATION_STATE_ACCEPTS_NOTIFICATIONS);
    SendMessageA(mainWindowHandle, WM_SETTINGCHANGE, SET_CLIENT_AREA_ANIMATION, 0);
    EXPECT_FALSE(AnimationsOn());
}

TEST_F(MainWindowTest, ShutdownDestroysSpritesLowestFirstThenStopsEverything) {
    // Like signs, these are owned by another window, so the main window's own destruction
    // does not take them along before its shutdown runs.
    target = CreateTestWindow({"Owner of five"});
    std::vector<HWND> sprites;
    for (int i = 0; i < 5; ++i) {
        sprites.push_back(AddSprite(journal, nullptr, target));
    }
    ResetCallCounts();
    const UINT_PTR runningTimer = timerId;

    DestroyWindow(mainWindowHandle);
    EXPECT_EQ(journal.destroyed, Ascending(sprites));
    EXPECT_TRUE(handleRegistry.Empty());
    EXPECT_EQ(CallCount("DestroyWindow"), 1 + 5);
    EXPECT_EQ(CallCount("KillTimer"), runningTimer != 0 ? 1 : 0);
    EXPECT_EQ(CallCount("PostQuitMessage"), 1);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);

    // The other tests need a main window again.
    ASSERT_TRUE(CreateMainWindow(GetModuleHandleA(nullptr), SW_HIDE));
    KillTimer(mainWindowHandle, timerId);
}
}  // namespace
