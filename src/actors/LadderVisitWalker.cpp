#include "actors/LadderVisitWalker.h"

#include "actors/SparkleActor.h"

#include <iterator>
#include <new>

namespace {
// The same stand as the face change: the ladder leans on the sign.
constexpr double STOP_LEFT_OF_SIGN = 88.0;

constexpr int32_t WALK_IN_END = 4;
constexpr int32_t FRAME_SET_DOWN = 4;
constexpr int32_t FRAME_PAUSE = 5;
constexpr int32_t FRAME_LADDER_DOWN = 44;
constexpr int32_t FRAME_LONG_PAUSE = 48;
constexpr int32_t FRAME_TURN = 50;
constexpr int32_t WALK_OUT_FIRST = 51;

constexpr int32_t ACT_TICKS = 4;
constexpr int32_t PAUSE_TICKS = 10;
constexpr int32_t LONG_PAUSE_TICKS = 30;

const FrameOffset LadderVisitOffsets[] = {
    {0, 205},   // 0
    {0, 205},   // 1
    {0, 205},   // 2
    {0, 205},   // 3
    {4, 214},   // 4
    {4, 218},   // 5
    {4, 193},   // 6
    {47, 119},  // 7
    {53, 97},   // 8
    {64, 92},   // 9
    {114, 53},  // 10
    {114, 53},  // 11
    {114, 53},  // 12
    {114, 53},  // 13
    {114, 53},  // 14
    {114, 53},  // 15
    {114, 53},  // 16
    {114, 53},  // 17
    {114, 53},  // 18
    {114, 53},  // 19
    {114, 53},  // 20
    {114, 53},  // 21
    {99, 42},   // 22
    {99, 42},   // 23
    {99, 42},   // 24
    {99, 42},   // 25
    {99, 42},   // 26
    {99, 42},   // 27
    {99, 42},   // 28
    {99, 42},   // 29
    {99, 42},   // 30
    {114, 53},  // 31
    {114, 53},  // 32
    {114, 53},  // 33
    {114, 53},  // 34
    {114, 53},  // 35
    {114, 53},  // 36
    {114, 53},  // 37
    {114, 53},  // 38
    {114, 53},  // 39
    {114, 53},  // 40
    {114, 53},  // 41
    {114, 53},  // 42
    {114, 53},  // 43
    {64, 92},   // 44
    {53, 97},   // 45
    {47, 119},  // 46
    {4, 193},   // 47
    {4, 218},   // 48
    {4, 218},   // 49
    {4, 214},   // 50
    {0, 205},   // 51
    {0, 205},   // 52
    {0, 205},   // 53
    {0, 205},   // 54
};

static_assert(std::size(LadderVisitOffsets) == LadderVisitWalker::FRAME_COUNT);
}  // namespace

LadderVisitWalker::LadderVisitWalker(HWND signWindow, HWND targetWindow)
    : Walker(signWindow, targetWindow) {}

LadderVisitWalker::~LadderVisitWalker() {
    UnloadAll();
}

int32_t LadderVisitWalker::LoadFrames() {
    LoadScriptFrames(FIRST_BITMAP, FRAME_COUNT, LadderVisitOffsets);
    return 0;
}

int32_t LadderVisitWalker::NextFrame(double& x, double&) {
    int32_t next = 0;
    if (!FrameDue(next)) {
        return -1;
    }
    switch (phase) {
        case PHASE_WALK_IN:
            next = Cycle(next, 0, WALK_IN_END);
            if (StepToward(x, signPosition.x - Scaled(STOP_LEFT_OF_SIGN))) {
                phase = PHASE_ACT;
                return FRAME_SET_DOWN;
            }
            return next;
        case PHASE_ACT:
            countdown = ACT_TICKS;
            if (next == FRAME_PAUSE) {
                countdown = PAUSE_TICKS;
            } else if (next == FRAME_LADDER_DOWN) {
                LaunchSparkle();
            } else if (next == FRAME_LONG_PAUSE) {
                countdown = LONG_PAUSE_TICKS;
            } else if (next >= FRAME_TURN) {
                phase = PHASE_WALK_OUT;
            }
            return next;
        case PHASE_WALK_OUT:
            next = Cycle(next, WALK_OUT_FIRST, FRAME_COUNT);
            if (!StepOutLeft(x)) {
                phase = PHASE_DONE;
            }
            return next;
        default:
            return EndScript();
    }
}

void LadderVisitWalker::LaunchSparkle() {
    auto* sparkle = new (std::nothrow) SparkleActor(sign, target);
    if (!sparkle) {
        return;
    }
    // It shines on the same sign, so at the same scale and on the same monitor.
    sparkle->SetScale(Scale());
    sparkle->SetMonitor(monitor);
    if (!sparkle->Create(mainWindow)) {
        // Never registered, so nobody else will delete it.
        delete sparkle;
        return;
    }
    sparkle->SetKind(KIND_ACTOR);
    // The figure stands still while acting: this is where it stands now.
    sparkle->SetOrigin(static_cast<int32_t>(previousOrigin.x),
                       static_cast<int32_t>(previousOrigin.y));
}
