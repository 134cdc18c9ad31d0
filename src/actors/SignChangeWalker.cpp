#include "actors/SignChangeWalker.h"

#include <iterator>

namespace {
// Where the ladder stands: frames 21 to 28 then cover the sign's face exactly.
constexpr double STOP_LEFT_OF_SIGN = 88.0;

constexpr int32_t WALK_IN_END = 4;
constexpr int32_t FRAME_SET_DOWN = 4;
constexpr int32_t FRAME_PAUSE = 5;
constexpr int32_t FRAME_BEGIN_CHANGE = 21;
constexpr int32_t FRAME_COMMIT_CHANGE = 28;
constexpr int32_t FRAME_SHOULDERED = 42;
constexpr int32_t WALK_OUT_FIRST = 43;

constexpr int32_t ACT_TICKS = 4;
constexpr int32_t PAUSE_TICKS = 10;

const FrameOffset SignChangeOffsets[] = {
    {0, 203},   // 0
    {0, 203},   // 1
    {0, 203},   // 2
    {0, 203},   // 3
    {4, 207},   // 4
    {4, 211},   // 5
    {4, 191},   // 6
    {47, 117},  // 7
    {62, 96},   // 8
    {73, 90},   // 9
    {117, 57},  // 10
    {117, 57},  // 11
    {117, 57},  // 12
    {117, 57},  // 13
    {117, 57},  // 14
    {117, 57},  // 15
    {117, 57},  // 16
    {117, 57},  // 17
    {117, 57},  // 18
    {117, 57},  // 19
    {117, 57},  // 20
    {88, 2},    // 21
    {88, 2},    // 22
    {88, 2},    // 23
    {88, 2},    // 24
    {88, 2},    // 25
    {88, 2},    // 26
    {88, 2},    // 27
    {88, 2},    // 28
    {117, 85},  // 29
    {117, 85},  // 30
    {117, 85},  // 31
    {117, 85},  // 32
    {117, 85},  // 33
    {117, 85},  // 34
    {117, 85},  // 35
    {117, 85},  // 36
    {117, 85},  // 37
    {73, 90},   // 38
    {62, 96},   // 39
    {47, 117},  // 40
    {4, 191},   // 41
    {4, 207},   // 42
    {0, 203},   // 43
    {0, 203},   // 44
    {0, 203},   // 45
    {0, 203},   // 46
};

// The frames at the top of the ladder carry their own outline, so the window takes it on.
const int32_t SignChangeRegions[] = {
    -1,    // 0
    -1,    // 1
    -1,    // 2
    -1,    // 3
    -1,    // 4
    -1,    // 5
    -1,    // 6
    -1,    // 7
    -1,    // 8
    -1,    // 9
    -1,    // 10
    -1,    // 11
    -1,    // 12
    -1,    // 13
    -1,    // 14
    -1,    // 15
    -1,    // 16
    -1,    // 17
    -1,    // 18
    -1,    // 19
    -1,    // 20
    -1,    // 21
    5003,  // 22
    5004,  // 23
    5005,  // 24
    5006,  // 25
    5007,  // 26
    -1,    // 27
    -1,    // 28
    5008,  // 29
    5009,  // 30
    5009,  // 31
    5009,  // 32
    5009,  // 33
    5009,  // 34
    5009,  // 35
    5009,  // 36
    5009,  // 37
    5010,  // 38
    5011,  // 39
    -1,    // 40
    -1,    // 41
    -1,    // 42
    -1,    // 43
    -1,    // 44
    -1,    // 45
    -1,    // 46
};

static_assert(std::size(SignChangeOffsets) == SignChangeWalker::FRAME_COUNT);
static_assert(std::size(SignChangeRegions) == SignChangeWalker::FRAME_COUNT);
}  // namespace

SignChangeWalker::SignChangeWalker(HWND signWindow, HWND targetWindow)
    : Walker(signWindow, targetWindow) {}

SignChangeWalker::~SignChangeWalker() {
    UnloadAll();
}

int32_t SignChangeWalker::LoadFrames() {
    LoadScriptFrames(FIRST_BITMAP, FRAME_COUNT, SignChangeOffsets, SignChangeRegions);
    return 0;
}

int32_t SignChangeWalker::NextFrame(double& x, double&) {
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
            } else if (next == FRAME_BEGIN_CHANGE) {
                // Sent, so the sign shows only its rim before this frame draws the face.
                SendMessageA(sign, WM_SIGN_BEGIN_CHANGE, 0, 0);
            } else if (next == FRAME_COMMIT_CHANGE) {
                SendMessageA(sign, WM_SIGN_COMMIT_CHANGE, 0, 0);
            } else if (next >= FRAME_SHOULDERED) {
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
