#include "app/MainWindow.h"

#include "actors/Scheduler.h"
#include "gfx/Clock.h"
#include "gfx/QuietSettings.h"
#include "app/ForegroundWatcher.h"
#include "app/TrayIcon.h"
#include "sign/SignWindow.h"
#include "windows/HandleRegistry.h"

#include <cstdlib>

char mainWindowTitle[STRING_BUFFER_SIZE];
char mainWindowClassName[STRING_BUFFER_SIZE];
HINSTANCE appInstance = nullptr;
HWND mainWindowHandle = nullptr;
HCURSOR spriteCursor = nullptr;
UINT_PTR timerId = 0;

namespace {
constexpr UINT MAIN_ICON = 107;
constexpr UINT SMALL_ICON = 5000;
constexpr UINT MAIN_MENU = 109;
constexpr int QUIET_READ_TICKS = 20;

int ticksSinceQuietRead = 0;

// About once a second: the settings change rarely, and the tick must stay cheap.
void ReadQuietSettingsNowAndThen() {
    ticksSinceQuietRead = ticksSinceQuietRead + 1;
    if (ticksSinceQuietRead >= QUIET_READ_TICKS) {
        ticksSinceQuietRead = 0;
        ReadQuietSettings();
    }
}

void ShutDown(HWND window) {
    while (!handleRegistry.Empty()) {
        const HWND first = handleRegistry.FirstWindow();
        DestroyWindow(first);
        if (handleRegistry.FirstWindow() == first) {
            // Its WM_DESTROY never came (the window was already gone): drop the entry so
            // that the loop ends.
            delete handleRegistry.Find(first);
            handleRegistry.Remove(first);
        }
    }
    if (timerId != 0) {
        KillTimer(window, timerId);
        timerId = 0;
    }
    SetTrayIcon(window, false);
    PostQuitMessage(0);
}
}  // namespace

void RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(MAIN_ICON));
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(SMALL_ICON));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(MAIN_MENU);
    windowClass.lpszClassName = mainWindowClassName;
    RegisterClassExA(&windowClass);
}

bool CreateMainWindow(HINSTANCE instance, int) {
    appInstance = instance;
    mainWindowHandle =
        CreateWindowExA(0, mainWindowClassName, mainWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    return mainWindowHandle != nullptr;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsTaskbarCreatedMessage(message)) {
        // A restarted taskbar comes up empty; without the icon nobody could exit.
        SetTrayIcon(window, true);
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            SetTrayIcon(window, true);
            timerId = SetTimer(window, TICK_TIMER_ID, TICK_PERIOD_MS, nullptr);
            srand(static_cast<unsigned>(CurrentTime()));
            ReadQuietSettings();
            ticksSinceQuietRead = 0;
            return 0;
        case WM_TIMER:
            if (wParam == timerId) {
                RunTick();
            }
            return 0;
        case WM_DESTROY:
            ShutDown(window);
            return 0;
        case WM_SETTINGCHANGE:
            // A figure must stop at once when the user turns animations off.
            ReadAnimationSetting();
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_TRAY_NOTIFY:
            HandleTrayNotify(window, lParam);
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void RunTick() {
    ReadQuietSettingsNowAndThen();
    HWND candidate = GetForegroundWindow();
    handleRegistry.Walk([&candidate](HWND, ScreenWindow* object) {
        object->Tick();
        if (candidate == object->Window()) {
            candidate = nullptr;
            return;
        }
        LONG_PTR target = 0;
        ScreenWindow* sign = nullptr;
        if (object->QueryProperty(PROP_TARGET, target, sign) &&
            reinterpret_cast<HWND>(target) == candidate) {
            // Only signs answer PROP_TARGET.
            ScheduleWalker(static_cast<SignWindow*>(sign), candidate);
            candidate = nullptr;
        }
    });
    if (candidate && IsSignableWindow(candidate)) {
        CreateSignFor(candidate);
    }
}
