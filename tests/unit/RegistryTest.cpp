// The handle registry and the sprite window procedure that feeds it.
#include <gtest/gtest.h>

#include <vector>

#include "app/MainWindow.h"
#include "support/TestSupport.h"
#include "windows/HandleRegistry.h"
#include "windows/SpriteWindowClass.h"

namespace {
HWND FakeHandle(uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

// What a probe saw; it outlives the probe, which the window procedure deletes.
struct ProbeLog {
    std::vector<UINT> messages;
    bool foundDuringCreate = false;
    HWND windowDuringCreate = FakeHandle(1);
    bool foundDuringDestroy = false;
    bool deleted = false;
};

class ProbeWindow : public ScreenWindow {
public:
    explicit ProbeWindow(ProbeLog& log) : log(log) {}
    ~ProbeWindow() override { log.deleted = true; }

    int HandleMessage(HWND handle, UINT message, WPARAM, LPARAM) override {
        log.messages.push_back(message);
        if (message == WM_CREATE) {
            log.foundDuringCreate = ObjectForWindow(handle) == this;
            log.windowDuringCreate = window;
        }
        if (message == WM_DESTROY) {
            log.foundDuringDestroy = ObjectForWindow(handle) == this;
        }
        return message == handledMessage ? 1 : 0;
    }

    UINT handledMessage = 0;

private:
    ProbeLog& log;
};

class RegistryTest : public testing::Test {
protected:
    void TearDown() override {
        for (uintptr_t key : fakeKeys) {
            handleRegistry.Remove(FakeHandle(key));
        }
        DestroyAllSprites();
    }

    void AddFake(uintptr_t key, ScreenWindow* object) {
        fakeKeys.push_back(key);
        handleRegistry.Add(FakeHandle(key), object);
    }

    std::vector<uintptr_t> fakeKeys;
};

TEST_F(RegistryTest, WalksInAscendingUnsignedOrderAndSeesEntriesAddedAhead) {
    ScreenWindow a, b, c, late, early, high;
    AddFake(0x30, &a);
    AddFake(0x10, &b);
    AddFake(0x20, &c);
    AddFake(0x80000010u, &high);  // above every small handle, though negative when signed

    std::vector<uintptr_t> visited;
    handleRegistry.Walk([&](HWND window, ScreenWindow*) {
        const auto key = reinterpret_cast<uintptr_t>(window);
        visited.push_back(key);
        if (key == 0x20) {
            AddFake(0x28, &late);
            AddFake(0x18, &early);
        }
    });
    EXPECT_EQ(visited, (std::vector<uintptr_t>{0x10, 0x20, 0x28, 0x30, 0x80000010u}));
}

TEST_F(RegistryTest, SurvivesAnEntryRemovedDuringTheWalk) {
    ScreenWindow a, b, c;
    AddFake(0x10, &a);
    AddFake(0x20, &b);
    AddFake(0x30, &c);

    std::vector<uintptr_t> visited;
    handleRegistry.Walk([&](HWND window, ScreenWindow*) {
        visited.push_back(reinterpret_cast<uintptr_t>(window));
        handleRegistry.Remove(window);
    });
    EXPECT_EQ(visited, (std::vector<uintptr_t>{0x10, 0x20, 0x30}));
}

TEST_F(RegistryTest, ReplacesAndLooksUp) {
    ScreenWindow first, second;
    second.SetKind(KIND_ACTOR);
    AddFake(0x40, &first);
    AddFake(0x40, &second);
    EXPECT_EQ(handleRegistry.Size(), 1u);
    EXPECT_EQ(ObjectForWindow(FakeHandle(0x40)), &second);
    EXPECT_EQ(KindForWindow(FakeHandle(0x40)), KIND_ACTOR);

    EXPECT_EQ(ObjectForWindow(FakeHandle(0x44)), nullptr);
    EXPECT_EQ(KindForWindow(FakeHandle(0x44)), -1);
    EXPECT_EQ(KindForWindow(nullptr), -1);
    EXPECT_EQ(KindForWindow(GetDesktopWindow()), -1);
}

TEST(ValueTypes, CompareExactly) {
    EXPECT_EQ((PointD{1.0, 2.0}), (PointD{1.0, 2.0}));
    EXPECT_NE((PointD{1.0, 2.0}), (PointD{1.0, 2.5}));
    EXPECT_EQ((RectI{5, 6, 10, 20}), (RectI{5, 6, 10, 20}));
    EXPECT_NE((RectI{5, 6, 10, 20}), (RectI{5, 6, 11, 20}));
    EXPECT_NE((RectI{5, 6, 10, 20}), (RectI{5, 6, 10, 21}));
    const RectI unset;
    EXPECT_EQ(unset, (RectI{0, 0, -1, -1}));
}

TEST(ScreenWindowBase, AnswersOnlyItself) {
    ScreenWindow object;
    LONG_PTR value = 77;
    ScreenWindow* answer = nullptr;
    EXPECT_TRUE(object.QueryProperty(PROP_SELF, value, answer));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(answer, &object);

    value = 77;
    answer = nullptr;
    EXPECT_FALSE(object.QueryProperty(PROP_TARGET, value, answer));
    EXPECT_EQ(value, 77);
    EXPECT_EQ(answer, nullptr);
    EXPECT_EQ(object.Kind(), KIND_NONE);
    EXPECT_EQ(object.Width(), -1);
    EXPECT_EQ(object.Height(), -1);
}

TEST_F(RegistryTest, SpriteWindowLivesFromCreateToDestroy) {
    ProbeLog log;
    auto* probe = new ProbeWindow(log);
    ASSERT_TRUE(probe->CreateSpriteWindow(mainWindowHandle, mainWindowHandle));
    const HWND window = probe->Window();

    ASSERT_FALSE(log.messages.empty());
    EXPECT_EQ(log.messages.front(), static_cast<UINT>(WM_CREATE));  // nothing before it
    EXPECT_TRUE(log.foundDuringCreate);
    EXPECT_EQ(log.windowDuringCreate, nullptr);
    EXPECT_EQ(probe->Instance(), GetModuleHandleA(nullptr));
    EXPECT_EQ(GetWindow(window, GW_OWNER), mainWindowHandle);
    EXPECT_FALSE(IsWindowVisible(window));

    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ(className, "TarvolenStrollkin");
    EXPECT_EQ(GetWindowTextLengthA(window), 0);

    DestroyWindow(window);
    EXPECT_TRUE(log.foundDuringDestroy);
    EXPECT_TRUE(log.deleted);
    EXPECT_EQ(log.messages.back(), static_cast<UINT>(WM_DESTROY));  // nothing after it
    EXPECT_EQ(ObjectForWindow(window), nullptr);
    EXPECT_EQ(KindForWindow(window), -1);
}

TEST_F(RegistryTest, HandledMessagesAnswerZeroOthersGetDefaultProcessing) {
    ProbeLog log;
    auto* probe = new ProbeWindow(log);
    ASSERT_TRUE(probe->CreateSpriteWindow(mainWindowHandle, mainWindowHandle));
    const HWND window = probe->Window();

    // WM_GETTEXTLENGTH's default answer is the title length; handled, it must be 0.
    SetWindowTextA(window, "abc");
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 3);
    probe->handledMessage = WM_GETTEXTLENGTH;
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 0);
}
}  // namespace
