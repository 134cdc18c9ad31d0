// A real run: the main window's 50 ms timer and the message loop drive the figures, one
// after the other, and every frame step is stamped as it happens. Most frames are held for
// 3 ticks, so the ideal interval between two steps is 150 ms.
#include "Bench.h"

#include <cstdio>
#include <map>

#include "Stopwatch.h"
#include "actors/Scheduler.h"
#include "actors/Walker.h"
#include "app/MainWindow.h"
#include "support/TestSupport.h"

namespace {
constexpr double TICK_SECONDS = TICK_PERIOD_MS / 1000.0;
constexpr int32_t USUAL_HOLD_TICKS = 3;

struct LastStep {
    int32_t frame = 0;
    RectI window;
    double at = 0.0;
    int32_t holdTicks = 0;
};

struct Cadence {
    // Between steps whose earlier frame was held for the usual 3 ticks.
    std::vector<double> usualIntervals;
    double allSeconds = 0.0;
    double allIdealSeconds = 0.0;
};

// After each tick: every walker whose frame or window changed has taken a frame step.
void StampSteps(std::map<HWND, LastStep>& last, double now, Cadence& cadence) {
    std::map<HWND, LastStep> seen;
    handleRegistry.Walk([&](HWND window, ScreenWindow* object) {
        const auto* walker = dynamic_cast<const Walker*>(object);
        if (!walker || walker->WindowRect() == RectI{}) {
            return;  // not a walker, or nothing shown yet
        }
        LastStep step{walker->Current(), walker->WindowRect(), now, walker->Countdown()};
        const auto before = last.find(window);
        if (before == last.end()) {
            seen[window] = step;
            return;
        }
        if (step.frame == before->second.frame && step.window == before->second.window) {
            seen[window] = before->second;
            return;
        }
        const double interval = now - before->second.at;
        cadence.allSeconds += interval;
        cadence.allIdealSeconds += before->second.holdTicks * TICK_SECONDS;
        if (before->second.holdTicks == USUAL_HOLD_TICKS) {
            cadence.usualIntervals.push_back(interval);
        }
        seen[window] = step;
    });
    last.swap(seen);
}
}  // namespace

void MeasureFrameCadence(const BenchOptions& options, BenchReport& report) {
    // Near the left edge, so that the walks in and out are short.
    TestWindowOptions targetOptions;
    targetOptions.title = "Bench cadence target";
    targetOptions.x = 122 + 60;
    targetOptions.y = 250;
    const HWND target = CreateTestWindow(targetOptions);
    BringForward(target);
    busySign = nullptr;
    lastLaunchTime = 0;

    const size_t wanted = options.quick ? 8 : 600;
    const double mostSeconds = options.quick ? 60.0 : 600.0;
    std::map<HWND, LastStep> last;
    Cadence cadence;
    const Stopwatch clock;
    timerId = SetTimer(mainWindowHandle, TICK_TIMER_ID, TICK_PERIOD_MS, nullptr);
    MSG message;
    while (cadence.usualIntervals.size() < wanted && clock.Seconds() < mostSeconds &&
           GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (message.message == WM_TIMER && message.hwnd == mainWindowHandle) {
            StampSteps(last, clock.Seconds(), cadence);
            if (!busySign) {
                lastLaunchTime = 0;  // the next figure sets out at once
            }
        }
    }
    KillTimer(mainWindowHandle, timerId);
    timerId = 0;
    DestroyAllSprites();
    DestroyWindow(target);
    PumpMessages();

    if (cadence.usualIntervals.empty()) {
        std::printf("  cadence: no frame steps\n");
        return;
    }
    char name[64];
    std::snprintf(name, sizeof(name), "mean interval, 3-tick frames (%u)",
                  static_cast<unsigned>(cadence.usualIntervals.size()));
    report.Add({"cadence", name, Mean(cadence.usualIntervals) * 1e3,
                USUAL_HOLD_TICKS * TICK_SECONDS * 1e3, "ms", "3 ticks of 50 ms"});
    report.Add({"cadence", "95th percentile interval, 3-tick frames",
                Percentile(cadence.usualIntervals, 0.95) * 1e3,
                USUAL_HOLD_TICKS * TICK_SECONDS * 1e3, "ms", "3 ticks of 50 ms"});
    report.Add({"cadence", "all frame steps, time per tick held",
                cadence.allSeconds / (cadence.allIdealSeconds / TICK_SECONDS) * 1e3,
                TICK_SECONDS * 1e3, "ms", "one 50 ms tick"});
}
