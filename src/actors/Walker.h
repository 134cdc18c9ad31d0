// A scripted figure: starts just beyond the left screen edge, level with its sign, walks to
// the sign, acts there and leaves. Every script keeps frames on the same tick grid.
#pragma once

#include "actors/Actor.h"

class Walker : public Actor {
public:
    Walker(HWND sign, HWND target);

    // On creation takes its start position from the sign; on destruction lets the sign
    // abandon an unfinished face change and frees the scheduler for the next figure.
    int HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    int32_t Phase() const { return phase; }
    int32_t Countdown() const { return countdown; }
    PointD SignPosition() const { return signPosition; }

protected:
    // Every script starts by walking in.
    static constexpr int32_t PHASE_WALK_IN = 0;
    // No script uses it: a walker that cannot start closes at its first frame step.
    static constexpr int32_t PHASE_CLOSING = -1;
    static constexpr int32_t STEP_TICKS = 3;
    static constexpr double WALK_STEP = 6.0;

    // Counts this tick off the shown frame; true, with the frame after the current one in
    // next, once a new frame is due. The first call is due at once.
    bool FrameDue(int32_t& next);
    // Keeps a walking cycle inside [first, end).
    static int32_t Cycle(int32_t next, int32_t first, int32_t end);
    // A length of the artwork in screen pixels at the figure's scale.
    double Scaled(double length) const { return length * Scale(); }
    // One step right that never passes stopX: true, with x on stopX, when the step would
    // reach or pass it.
    bool StepToward(double& x, double stopX) const;
    // One step left while the figure still reaches onto its monitor, drawn or not; false, x
    // unchanged, once it has left.
    bool StepOutLeft(double& x) const;
    // The script is over: the window closes when the posted message arrives.
    int32_t EndScript();

    int32_t phase = PHASE_WALK_IN;
    int32_t countdown = 0;
    int32_t step = 1;
    PointD signPosition;

private:
    void TakeStartPosition(HWND window);
    void ReleaseSign();
};
