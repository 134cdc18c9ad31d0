// A target window in front with its sign placed, and a recorder that runs the main tick and
// writes down every frame each figure shows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "actors/Actor.h"
#include "sign/SignWindow.h"
#include "support/TestSupport.h"

// Forgets the last launch and the busy sign, so the next tick may send a figure.
void ResetScheduler();
// Calendar moments in local time, as the program's dates are.
time_t LocalTime(int year, int month, int day, int hour = 12);

class WalkStage {
public:
    // A target in front whose sign of this scale hangs at (signX, signY) after the ticks that
    // place it, which launch nothing. Its frame is drawn border pixels inside its window.
    explicit WalkStage(int signX = 300, int signY = 250, int scale = 1, int border = 0,
                       int targetHeight = 200);
    ~WalkStage();
    HWND Target() const { return target; }
    SignWindow* Sign() const;

private:
    HWND target = nullptr;
};

// A tick (counted from 1) on which a figure showed a new frame or moved its window, with the
// stage sign's state right after the tick, before posted messages ran.
struct FrameStep {
    int tick = 0;
    int32_t frame = 0;
    PointD origin;
    RectI window, frameRect;
    int32_t signState = 0;
};

enum class Script { Unknown, SignChange, LadderVisit, Placard, Sparkle };
Script ScriptOf(ScreenWindow* object);

struct ActorTrace {
    HWND window = nullptr;
    Script script = Script::Unknown;
    int firstSeenTick = 0, closedTick = 0;  // 0 while it is still out
    std::vector<FrameStep> steps;
    // The first step that showed each frame; at() fails the test for a frame never shown.
    std::map<int32_t, FrameStep> FirstSteps() const;
};

// Runs main ticks until every figure seen has closed (and one was seen) or maxTicks ran,
// recording each figure; afterTick runs after each tick with its number.
std::vector<ActorTrace> RecordWalks(const WalkStage& stage, int maxTicks,
                                    const std::function<void(int)>& afterTick = {});
const ActorTrace* FindTrace(const std::vector<ActorTrace>& traces, Script script);

// A seed after which the C runtime's rand() % 100 falls below 34 exactly at the draws marked true.
// The first draw is 33 or 34, so that a boundary moved by one changes the first figure's script.
unsigned SeedForLadderDraws(const std::vector<bool>& ladder);

// True when the window's shape is exactly the REGION resource, every length times scale.
bool WindowHasShape(HWND window, int regionId, int scale = 1);

// The figures out now (walkers and sparkles), in handle order, and the first of a script.
std::vector<Actor*> Figures();
Actor* FigureOut(Script script);
