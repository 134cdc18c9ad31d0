#include "Bench.h"

#include "actors/Actor.h"
#include "actors/Scheduler.h"
#include "gfx/Clock.h"
#include "app/MainWindow.h"
#include "sign/SignWindow.h"
#include "support/TestSupport.h"
#include "windows/HandleRegistry.h"

HWND SignOf(HWND target) {
    HWND sign = nullptr;
    handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
        const auto* found = dynamic_cast<const SignWindow*>(object);
        if (found && found->Target() == target) {
            sign = window;
        }
    });
    return sign;
}

void DestroyFigures() {
    std::vector<HWND> figures;
    handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
        if (dynamic_cast<Actor*>(object)) {
            figures.push_back(window);
        }
    });
    for (HWND figure : figures) {
        DestroyWindow(figure);
    }
    PumpMessages();
}

bool StartFigure(Actor* figure, const SignWindow& sign, bool isSparkle) {
    figure->SetKind(KIND_ACTOR);
    const int32_t scale = sign.Scale();
    figure->SetScale(scale);
    if (!figure->Create(mainWindowHandle)) {
        delete figure;
        return false;
    }
    if (isSparkle) {
        // The ladder stands this far left of the sign; the figure's origin is 2 pixels above.
        constexpr int LADDER_LEFT_OF_SIGN = 88;
        figure->SetOrigin(
            static_cast<int32_t>(sign.PlacedPosition().x) - LADDER_LEFT_OF_SIGN * scale,
            static_cast<int32_t>(sign.PlacedPosition().y) - 2 * scale);
    }
    return true;
}

time_t BeforeTheNewFace() {
    std::tm date = {};
    date.tm_year = 101;
    date.tm_mon = 9;
    date.tm_mday = 15;
    date.tm_hour = 12;
    date.tm_isdst = -1;
    return std::mktime(&date);
}

bool BringForward(HWND window) {
    SetForegroundWindow(window);
    // Another process's window takes the foreground when that process gets round to it.
    for (int i = 0; i < 2000 && GetForegroundWindow() != window; ++i) {
        PumpMessages();
        Sleep(1);
    }
    return GetForegroundWindow() == window;
}

HWND HangSignOn(HWND target) {
    BringForward(target);
    // No figure sets out while the sign comes up.
    const time_t heldLaunch = lastLaunchTime;
    lastLaunchTime = CurrentTime();
    RunTicks(2);
    lastLaunchTime = heldLaunch;
    return SignOf(target);
}

bool AtEachScale(const char* title, int x,
                 const std::function<void(const SignWindow& sign, const char* at)>& measure) {
    for (const UINT dpi : {96u, 192u}) {
        FakeMonitors monitors(
            {{RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, dpi}});
        TestWindowOptions targetOptions;
        targetOptions.title = title;
        targetOptions.x = x;
        targetOptions.y = 250;
        const HWND target = CreateTestWindow(targetOptions);
        const auto* sign = ObjectAs<SignWindow>(HangSignOn(target));
        if (sign) {
            measure(*sign, dpi == 96 ? "" : " at 2x");
        }
        DestroyAllSprites();
        DestroyWindow(target);
        PumpMessages();
        if (!sign) {
            return false;
        }
    }
    return true;
}

ChildProcess::~ChildProcess() {
    Finish(0);
}

bool ChildProcess::Start(const char* exeName, const std::string& arguments) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string program(path);
    program.resize(program.find_last_of("\\/") + 1);
    program += exeName;
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info) != 0;
}

void ChildProcess::Finish(DWORD timeoutMs) {
    if (!info.hProcess) {
        return;
    }
    if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    info = {};
}

std::vector<HWND> WindowsOfProcess(const char* className, DWORD processId) {
    std::vector<HWND> windows;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) {
            windows.push_back(window);
        }
    }
    return windows;
}
