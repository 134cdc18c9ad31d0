// The benchmark sections. Each one measures its figures beside their floors and adds both to
// the report.
#pragma once

#include <windows.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "BenchReport.h"

struct BenchOptions {
    // A smoke run: tiny counts, only to see that every section still works.
    bool quick = false;
};

// The real program started beside a sample window, until its first sign shows. Runs
// before StartProgramHere (tests/support/TestSupport.h): a main window in this process would stop
// the program's start.
void MeasureStartup(const BenchOptions& options, BenchReport& report);
void MeasureTickCost(const BenchOptions& options, BenchReport& report);
void MeasureRenderCost(const BenchOptions& options, BenchReport& report);
void MeasureMemory(const BenchOptions& options, BenchReport& report);
// From a figure's creation to its first frame, while its pictures load.
void MeasureFigureStart(const BenchOptions& options, BenchReport& report);
// A real run on the 50 ms timer and the message loop.
void MeasureFrameCadence(const BenchOptions& options, BenchReport& report);

// Child mode: shows this many target windows until told to quit, as another program's.
int HostTargetWindows(int count);
constexpr const char* HOST_TARGETS_ARGUMENT = "--host-targets";
constexpr const char* BENCH_TARGET_CLASS = "TarvolenBenchTarget";

// A program in the same directory as this one, started with the arguments.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const char* exeName, const std::string& arguments);
    // Waits for the end; kills the process when it does not come in time.
    void Finish(DWORD timeoutMs);
    DWORD ThreadId() const { return info.dwThreadId; }
    DWORD ProcessId() const { return info.dwProcessId; }

private:
    PROCESS_INFORMATION info = {};
};

// Top-level windows of a class that belong to the process, in z-order.
std::vector<HWND> WindowsOfProcess(const char* className, DWORD processId);

// The sign hanging on a window, or null.
HWND SignOf(HWND target);
// Destroys every figure out, leaving the signs.
void DestroyFigures();
class Actor;
class SignWindow;
// Registers and creates a figure sent to the sign (a sparkle placed where the ladder figure
// leaves it); deletes it and answers false when its window cannot be made.
bool StartFigure(Actor* figure, const SignWindow& sign, bool isSparkle);
// A moment before signs come up with the new face, so that the face change takes place.
time_t BeforeTheNewFace();
// Sets the foreground and waits until it has moved there, also to another process.
bool BringForward(HWND window);
// Creates and places the sign of a window brought to the front, launching no figure.
HWND HangSignOn(HWND target);
// On one monitor of the screen's size at 96 and then at 192 DPI, a target window at (x, 250)
// with its sign, handed over with the suffix of the figures' names ("" or " at 2x"); all is
// taken down after each. False when a target got no sign.
bool AtEachScale(const char* title, int x,
                 const std::function<void(const SignWindow& sign, const char* at)>& measure);
