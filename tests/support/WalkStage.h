// A target window in front of everything with its sign placed, and a recorder that runs
// the main tick and writes down every frame each figure shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "actors/Actor.h"
#include "sign/SignWindow.h"
#include "support/TestSupport.h"

// The sign's own width: it hangs this far left of its target.
constexpr int SIGN_WIDTH = 122;

// Calendar moments in local time, as the program's dates are.
time_t LocalTime(int year, int month, int day, int hour = 12);

class WalkStage {
public:
    // A target placed so that its sign hangs at (signX, signY), brought to the front, and
    // the ticks that create and place the sign; no figure is launched during them.
    explicit WalkStage(int signX = 300, int signY = 250, int targetWidth = 300);
    ~WalkStage();
    WalkStage(const WalkStage&) = delete;
    WalkStage& operator=(const WalkStage&) = delete;

    HWND Target() const { return target; }
    SignWindow* Sign() const;
    HWND SignHandle() const { return signHandle; }

private:
    HWND target = nullptr;
    HWND signHandle = nullptr;
};

// One frame step of a figure: a tick on which it showed a new frame.
struct FrameStep {
    int tick = 0;  // counted by the recorder from 1
    int32_t frame = 0;
    PointD origin;
    RectI windowBefore;  // where the window stood before this frame
    RectI window;
    RectI frameRect;        // the frame's own screen rectangle at this origin
    int32_t signState = 0;  // the stage sign's state right after the tick
};

enum class Script { Unknown, SignChange, LadderVisit, Placard, Sparkle };

struct ActorTrace {
    HWND window = nullptr;
    Script script = Script::Unknown;
    int firstSeenTick = 0;
    int closedTick = 0;  // 0 while it is still out
    std::vector<FrameStep> steps;

    // The step that showed this frame for the first time, or null.
    const FrameStep* FirstStepOf(int32_t frame) const;
};

Script ScriptOf(ScreenWindow* object);

class WalkRecorder {
public:
    explicit WalkRecorder(const WalkStage& stage) : stage(stage) {}

    // Runs main ticks until every figure seen so far has closed (and at least one was
    // seen) or maxTicks ran; afterTick runs after each tick with the tick's number.
    void Run(int maxTicks, const std::function<void(int)>& afterTick = {});
    // Runs exactly this many ticks, recording.
    void RunFor(int ticks, const std::function<void(int)>& afterTick = {});

    // The first figure of this script that was seen, or null.
    const ActorTrace* Find(Script script) const;
    const std::vector<ActorTrace>& Traces() const { return traces; }
    int Ticks() const { return ticks; }

private:
    bool TickOnce(const std::function<void(int)>& afterTick);

    const WalkStage& stage;
    std::vector<ActorTrace> traces;
    int ticks = 0;
};

// The C runtime's generator, one call of rand() at a time, to predict the scheduler's draws.
int NextRand(uint32_t& state);
// A seed after which rand() % 100 falls below 34 exactly at the draws marked true.
unsigned SeedForLadderDraws(const std::vector<bool>& ladder);

// True when the window's shape is exactly the REGION resource.
bool WindowHasShape(HWND window, int regionId);

// The walker or sparkle that is out now, of the given script, or null.
Actor* FigureOut(Script script);
int FiguresOut();
