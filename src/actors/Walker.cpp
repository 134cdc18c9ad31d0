#include "actors/Walker.h"

#include "actors/Scheduler.h"
#include "gfx/Clock.h"
#include "sign/SignWindow.h"
#include "windows/HandleRegistry.h"

namespace {
// The figure's origin stands this far above the sign's top; the frame offsets do the rest.
constexpr int32_t ORIGIN_ABOVE_SIGN = 2;
}  // namespace

Walker::Walker(HWND signWindow, HWND targetWindow) : Actor(signWindow, targetWindow) {}

int Walker::HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    const int result = Actor::HandleMessage(handle, message, wParam, lParam);
    if (message == WM_CREATE) {
        TakeStartPosition(handle);
    } else if (message == WM_DESTROY) {
        ReleaseSign();
    }
    return result;
}

void Walker::TakeStartPosition(HWND handle) {
    const auto* signObject = dynamic_cast<const SignWindow*>(ObjectForWindow(sign));
    const FrameBitmap* first = FrameAt(0);
    if (!signObject || !first) {
        // Ends through the usual destruction, so the scheduler is freed all the same; a
        // tick that comes before the close must not draw it at a position it never got.
        phase = PHASE_CLOSING;
        PostMessageA(handle, WM_SPRITE_CLOSE, 0, 0);
        return;
    }
    signPosition = signObject->PlacedPosition();
    SetOrigin(monitor.bounds.left - first->Width(),
              static_cast<int32_t>(signPosition.y - Scaled(ORIGIN_ABOVE_SIGN)));
}

void Walker::ReleaseSign() {
    // Posted: the sign must not change under the tick that is closing this figure.
    PostMessageA(sign, WM_SIGN_CANCEL_CHANGE, 0, 0);
    lastLaunchTime = CurrentTime();
    busySign = nullptr;
}

bool Walker::FrameDue(int32_t& next) {
    countdown = countdown - 1;
    if (countdown > 0) {
        return false;
    }
    next = current + step;
    countdown = STEP_TICKS;
    return true;
}

int32_t Walker::Cycle(int32_t next, int32_t first, int32_t end) {
    return next >= end ? first : next;
}

bool Walker::StepToward(double& x, double stopX) const {
    if (x + Scaled(WALK_STEP) >= stopX) {
        x = stopX;
        return true;
    }
    x = x + Scaled(WALK_STEP);
    return false;
}

bool Walker::StepOutLeft(double& x) const {
    // Judged by where the frame stood a step ago, as the window spans that place too; by the
    // figure's own position, not its window, which never moves when no picture loaded.
    const FrameBitmap* frame = FrameAt(current);
    if (!frame) {
        return false;
    }
    const RectI before = FrameScreenRect(*frame, PointD{x + Scaled(WALK_STEP), origin.y});
    if (before.x + before.width > monitor.bounds.left) {
        x = x - Scaled(WALK_STEP);
        return true;
    }
    return false;
}

int32_t Walker::EndScript() {
    PostMessageA(window, WM_SPRITE_CLOSE, 0, 0);
    return -1;
}
