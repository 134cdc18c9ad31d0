#include "actors/SparkleActor.h"

#include <iterator>

namespace {
constexpr int32_t GLINT_TICKS = 10;
// Frames shown before it closes: 1, 0, 1, 0, 1, 0, 1.
constexpr int32_t GLINTS = 7;

const FrameOffset SparkleOffsets[] = {
    {70, 10},   // 0
    {150, 40},  // 1
};

static_assert(std::size(SparkleOffsets) == SparkleActor::FRAME_COUNT);
}  // namespace

SparkleActor::SparkleActor(HWND signWindow, HWND targetWindow) : Actor(signWindow, targetWindow) {}

SparkleActor::~SparkleActor() {
    UnloadAll();
}

int32_t SparkleActor::LoadFrames() {
    LoadScriptFrames(FIRST_BITMAP, FRAME_COUNT, SparkleOffsets);
    return 0;
}

int32_t SparkleActor::NextFrame(double&, double&) {
    countdown = countdown - 1;
    if (countdown > 0) {
        return -1;
    }
    countdown = GLINT_TICKS;
    int32_t next = current + 1;
    if (next >= FRAME_COUNT) {
        next = 0;
    }
    const bool glintLeft = changes < GLINTS;
    changes = changes + 1;
    if (!glintLeft) {
        PostMessageA(window, WM_SPRITE_CLOSE, 0, 0);
        return -1;
    }
    return next;
}
