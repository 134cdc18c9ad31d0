#include "actors/PlacardWalker.h"

#include <iterator>

namespace {
// The walking and vanishing frames end this far right of the origin, so at the limit the
// figure's right edge lies on the target's left edge.
constexpr LONG FIGURE_RIGHT_EDGE = 67;

constexpr int32_t WALK_END = 4;
constexpr int32_t FRAME_STAND = 4;
constexpr int32_t FRAME_PLACARD_UP = 9;
constexpr int32_t FRAME_ACT_END = 11;
constexpr int32_t FRAME_WALK_ON = 0;
constexpr int32_t FRAME_VANISH_FIRST = 11;
constexpr int32_t FRAME_VANISH_LAST = 14;

constexpr int32_t STAND_TICKS = 10;
constexpr int32_t ACT_TICKS = 5;
constexpr int32_t PLACARD_TICKS = 20;

const FrameOffset PlacardOffsets[] = {
    {17, 224},  // 0
    {17, 224},  // 1
    {17, 224},  // 2
    {17, 224},  // 3
    {27, 229},  // 4
    {19, 232},  // 5
    {14, 237},  // 6
    {18, 232},  // 7
    {27, 229},  // 8
    {2, 202},   // 9
    {2, 202},   // 10
    {38, 227},  // 11
    {41, 231},  // 12
    {55, 229},  // 13
    {57, 233},  // 14
};

static_assert(std::size(PlacardOffsets) == PlacardWalker::FRAME_COUNT);
}  // namespace

PlacardWalker::PlacardWalker(HWND signWindow, HWND targetWindow)
    : Walker(signWindow, targetWindow) {}

PlacardWalker::~PlacardWalker() {
    UnloadAll();
}

int32_t PlacardWalker::LoadFrames() {
    LoadScriptFrames(FIRST_BITMAP, FRAME_COUNT, PlacardOffsets);
    return 0;
}

int32_t PlacardWalker::NextFrame(double& x, double&) {
    int32_t next = 0;
    if (!FrameDue(next)) {
        return -1;
    }
    switch (phase) {
        case PHASE_WALK_IN:
            next = Cycle(next, 0, WALK_END);
            if (StepToward(x, signPosition.x)) {
                countdown = STAND_TICKS;
                phase = PHASE_ACT;
                return FRAME_STAND;
            }
            return next;
        case PHASE_ACT:
            countdown = ACT_TICKS;
            if (next == FRAME_PLACARD_UP) {
                countdown = PLACARD_TICKS;
            } else if (next >= FRAME_ACT_END) {
                phase = PHASE_WALK_ON;
                return FRAME_WALK_ON;
            }
            return next;
        case PHASE_WALK_ON: {
            next = Cycle(next, 0, WALK_END);
            const double limit = startTargetRect.left - Scaled(FIGURE_RIGHT_EDGE);
            // Tested before the step: the last step may pass the limit, the next one steps
            // back onto it.
            if (limit > x) {
                x = x + Scaled(WALK_STEP);
                return next;
            }
            x = limit;
            phase = PHASE_VANISH;
            return FRAME_VANISH_FIRST;
        }
        case PHASE_VANISH:
            if (next >= FRAME_VANISH_LAST) {
                phase = PHASE_DONE;
            }
            return next;
        default:
            return EndScript();
    }
}
