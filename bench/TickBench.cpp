// The tick with 1 to 500 signed windows of another process, against the platform calls per
// sign that a sign's Tick cannot do without: the target's frame as drawn (DWM, else
// GetWindowRect), its style, and whether DWM cloaks it.
#include "Bench.h"

#include <algorithm>
#include <cstdio>

#include "Stopwatch.h"
#include "actors/Scheduler.h"
#include "gfx/Clock.h"
#include "gfx/WindowFrame.h"
#include "app/MainWindow.h"
#include "support/TestSupport.h"

namespace {
LRESULT CALLBACK HostedTargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<HWND> WaitForHostedTargets(const ChildProcess& host, size_t count) {
    std::vector<HWND> targets;
    const Stopwatch waited;
    while (targets.size() < count && waited.Seconds() < 60.0) {
        Sleep(20);
        targets = WindowsOfProcess(BENCH_TARGET_CLASS, host.ProcessId());
    }
    // In the order they were made, which is the reverse of the z-order.
    std::reverse(targets.begin(), targets.end());
    return targets;
}

// Per tick, and per pass of the two calls over the signed windows: the medians of many
// short rounds that take turns, so that both meet the same load on the machine (every call
// is a round trip to the window server here).
void TimeTicks(const std::vector<HWND>& signedTargets, int rounds, double& tickSeconds,
               double& floorSeconds) {
    const int perRound = std::max(1, 250 / static_cast<int>(signedTargets.size()));
    std::vector<double> ticks;
    std::vector<double> floors;
    LONG styles = 0;
    const auto timeTicks = [&] {
        const Stopwatch watch;
        for (int i = 0; i < perRound; ++i) {
            RunTick();
        }
        ticks.push_back(watch.Seconds() / perRound);
    };
    const auto timeFloor = [&] {
        RECT rect;
        const Stopwatch watch;
        for (int i = 0; i < perRound; ++i) {
            for (HWND target : signedTargets) {
                VisibleFrame(target, rect);
                styles |= GetWindowLongA(target, GWL_STYLE);
                styles |= IsCloaked(target) ? WS_DISABLED : 0;
            }
        }
        floors.push_back(watch.Seconds() / perRound);
    };
    for (int round = 0; round < rounds; ++round) {
        if (round % 2 == 0) {
            timeTicks();
            timeFloor();
        } else {
            timeFloor();
            timeTicks();
        }
        PumpMessages();
    }
    if (!(styles & WS_VISIBLE)) {
        std::printf("  (the target windows did not answer)\n");
    }
    tickSeconds = Median(ticks);
    floorSeconds = Median(floors);
}
}  // namespace

int HostTargetWindows(int count) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HostedTargetProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = BENCH_TARGET_CLASS;
    RegisterClassExA(&windowClass);
    for (int i = 0; i < count; ++i) {
        char title[32];
        std::snprintf(title, sizeof(title), "Bench target %d", i + 1);
        // Staggered right of 122, so that every sign shows on the screen.
        CreateWindowExA(0, BENCH_TARGET_CLASS, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        130 + (i % 25) * 24, 10 + (i / 25) * 24 % 480, 260, 160, nullptr, nullptr,
                        windowClass.hInstance, nullptr);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

void MeasureTickCost(const BenchOptions& options, BenchReport& report) {
    const std::vector<size_t> counts =
        options.quick ? std::vector<size_t>{1, 10} : std::vector<size_t>{1, 10, 100, 500};
    ChildProcess host;
    char arguments[32];
    std::snprintf(arguments, sizeof(arguments), "%s %u", HOST_TARGETS_ARGUMENT,
                  static_cast<unsigned>(counts.back()));
    if (!host.Start("Bench.exe", arguments)) {
        std::printf("  tick: could not start the window host\n");
        return;
    }
    const std::vector<HWND> targets = WaitForHostedTargets(host, counts.back());
    if (targets.size() < counts.back()) {
        std::printf("  tick: only %u of %u target windows came up\n",
                    static_cast<unsigned>(targets.size()), static_cast<unsigned>(counts.back()));
        PostThreadMessageA(host.ThreadId(), WM_QUIT, 0, 0);
        return;
    }

    // The clock stands still: the sign in front is asked for a figure on every tick, and
    // the ten seconds since the last launch never pass.
    FakeClock clock(CurrentTime());
    lastLaunchTime = clock.Now();
    busySign = nullptr;
    std::vector<HWND> signedTargets;
    for (size_t count : counts) {
        while (signedTargets.size() < count) {
            const HWND target = targets[signedTargets.size()];
            HangSignOn(target);
            signedTargets.push_back(target);
        }
        BringForward(signedTargets.front());
        RunTicks(2);
        double tick = 0.0;
        double floor = 0.0;
        TimeTicks(signedTargets, options.quick ? 4 : 301, tick, floor);
        char name[48];
        std::snprintf(name, sizeof(name), "%u signed windows", static_cast<unsigned>(count));
        report.Add({"tick", name, tick * 1e6, floor * 1e6, "us per tick",
                    "frame, style and cloak per sign"});
    }

    DestroyAllSprites();
    PostThreadMessageA(host.ThreadId(), WM_QUIT, 0, 0);
    host.Finish(10000);
}
