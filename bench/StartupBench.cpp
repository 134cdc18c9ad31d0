// The real program from its start to its first sign on the screen, with a sample window in
// front, against a bare program from its start to its first window plus the two 50 ms ticks
// a sign needs before it shows (one makes it, the next places it).
#include "Bench.h"

#include <cstdio>

#include "Stopwatch.h"

namespace {
constexpr double TICKS_BEFORE_FIRST_SIGN = 2 * 0.050;

template <typename Condition>
bool WaitFor(double seconds, Condition&& condition) {
    const Stopwatch waited;
    while (!condition()) {
        if (waited.Seconds() > seconds) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

HWND VisibleWindowOf(const char* className, DWORD processId) {
    for (HWND window : WindowsOfProcess(className, processId)) {
        if (IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

// Seconds from the start of a sample window's program to its window on the screen, and
// from the start of the real program to its first sign on that window; false when either
// did not come.
bool TimeOneStart(double& sampleSeconds, double& programSeconds) {
    ChildProcess sample;
    Stopwatch watch;
    if (!sample.Start("SampleWindow.exe", "\"Bench sample\" 300 200 400 300")) {
        return false;
    }
    HWND sampleWindow = nullptr;
    const bool sampleShown = WaitFor(30.0, [&] {
        sampleWindow = VisibleWindowOf("TarvolenSampleWindow", sample.ProcessId());
        return sampleWindow != nullptr;
    });
    sampleSeconds = watch.Seconds();
    if (!sampleShown) {
        return false;
    }
    BringForward(sampleWindow);

    ChildProcess program;
    watch.Restart();
    bool signShown = false;
    if (program.Start("Tarvolen.exe", "")) {
        signShown = WaitFor(30.0, [&] {
            return VisibleWindowOf("TarvolenStrollkin", program.ProcessId()) != nullptr;
        });
        programSeconds = watch.Seconds();
        const HWND mainWindow = FindWindowA("TARVOLENV10", "Tarvolen");
        if (mainWindow) {
            PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        }
        program.Finish(10000);
    }
    PostMessageA(sampleWindow, WM_CLOSE, 0, 0);
    sample.Finish(10000);
    return signShown;
}
}  // namespace

void MeasureStartup(const BenchOptions& options, BenchReport& report) {
    std::vector<double> samples;
    std::vector<double> programs;
    const int starts = options.quick ? 1 : 7;
    for (int i = 0; i < starts; ++i) {
        double sample = 0.0;
        double program = 0.0;
        if (TimeOneStart(sample, program)) {
            samples.push_back(sample);
            programs.push_back(program);
        }
    }
    if (programs.empty()) {
        std::printf("  startup: the program showed no sign\n");
        return;
    }
    report.Add({"startup", "exe start to first sign (median)", Median(programs) * 1e3,
                (Median(samples) + TICKS_BEFORE_FIRST_SIGN) * 1e3, "ms",
                "bare exe start to its window, plus two 50 ms ticks"});
}
