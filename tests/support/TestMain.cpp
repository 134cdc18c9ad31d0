// Brings up the program's classes and hidden main window once per test binary. The tick
// timer is stopped: tests drive the ticks themselves.
#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "support/ApiCounter.h"
#include "support/TestSupport.h"
#include "windows/SpriteWindowClass.h"

namespace {
class ProgramEnvironment : public testing::Environment {
public:
    void SetUp() override {
        InstallApiCounter();
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        LoadStringA(instance, STRING_TITLE, mainWindowTitle, STRING_BUFFER_SIZE);
        LoadStringA(instance, STRING_CLASS_NAME, mainWindowClassName, STRING_BUFFER_SIZE);
        spriteCursor = LoadCursorA(instance, MAKEINTRESOURCEA(5012));
        RegisterMainClass(instance);
        RegisterSpriteClass(instance);
        ASSERT_TRUE(CreateMainWindow(instance, SW_HIDE));
        KillTimer(mainWindowHandle, timerId);
        PumpMessages();
    }

    void TearDown() override {
        DestroyWindow(mainWindowHandle);
        PumpMessages();
    }
};
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ProgramEnvironment);
    return RUN_ALL_TESTS();
}
