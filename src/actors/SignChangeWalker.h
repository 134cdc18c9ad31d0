// The worker who carries a ladder to the sign, climbs it, takes the old face off, fits the
// new one and walks back out; the sign follows through two sent messages.
#pragma once

#include "actors/Walker.h"

class SignChangeWalker : public Walker {
public:
    static constexpr int32_t PHASE_ACT = 1;
    static constexpr int32_t PHASE_WALK_OUT = 2;
    static constexpr int32_t PHASE_DONE = 3;

    static constexpr int32_t FRAME_COUNT = 47;
    static constexpr int32_t FIRST_BITMAP = 4096;

    SignChangeWalker(HWND sign, HWND target);
    ~SignChangeWalker() override;

    int32_t NextFrame(double& x, double& y) override;
    int32_t LoadFrames() override;
};
